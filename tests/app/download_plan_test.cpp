// Tests of the download's plan, which needs no system: the address split and the package's file
// name, the progress percentage and the pictures' bands.
#include "app/download_address.h"
#include "app/progress_bands.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(DownloadAddress, SplitsOriginRemotePathAndFileName)
{
    const auto plain = splitDownloadAddress("http://host/a/b/setup.exe");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->origin, "http://host");
    EXPECT_EQ(plain->remotePath, "/a/b/setup.exe");
    EXPECT_EQ(plain->fileName, "setup.exe");

    const auto withPort = splitDownloadAddress("http://host:8080/pkg.exe");
    ASSERT_TRUE(withPort);
    EXPECT_EQ(withPort->origin, "http://host:8080");
    EXPECT_EQ(withPort->remotePath, "/pkg.exe");

    // The query stays in the request and out of the file name, even with a "/" in it.
    const auto withQuery = splitDownloadAddress("http://host/dir/pkg.exe?x=1/2#top");
    ASSERT_TRUE(withQuery);
    EXPECT_EQ(withQuery->remotePath, "/dir/pkg.exe?x=1/2#top");
    EXPECT_EQ(withQuery->fileName, "pkg.exe");

    // One-letter host: the path search starts just past it.
    const auto shortHost = splitDownloadAddress("http://h/p.exe");
    ASSERT_TRUE(shortHost);
    EXPECT_EQ(shortHost->origin, "http://h");
}

TEST(DownloadAddress, RefusesOtherSchemesMissingPathsAndEmptyNames)
{
    for (const char* address :
         {"https://host/pkg.exe", "HTTP://host/pkg.exe", "ftp://host/pkg.exe", "http://host",
          "http://host/", "http://host/dir/", "http://host/dir/?x=1", "http:///pkg.exe", "http://",
          "", "host/pkg.exe"})
        EXPECT_FALSE(splitDownloadAddress(address)) << address;
}

TEST(DownloadAddress, FileNameMustBeAPlainName)
{
    for (const wchar_t* name : {L"setup.exe", L"pkg", L"a b.exe", L"安装包.exe", L"..x", L"x..",
                                L"console.exe", L"COM10.exe", L"COM0", L"nulls.exe"})
        EXPECT_TRUE(isPlainFileName(name)) << name;
    for (const wchar_t* name :
         {L"", L".", L"..", L"a\\..\\..\\evil.exe", L"C:evil.exe", L"a*.exe", L"a?.exe", L"a\"b",
          L"a<b", L"a>b", L"a|b", L"a/b", L"a\tb", L"a\x7f", L"a\nb"})
        EXPECT_FALSE(isPlainFileName(name)) << name;
    // Device names, which name the device in any folder.
    for (const wchar_t* name : {L"CON", L"nul.exe", L"Aux.txt", L"prn", L"com1.exe", L"LPT9"})
        EXPECT_FALSE(isPlainFileName(name)) << name;
}

TEST(ProgressBands, PercentIsTruncatedAndNeedsALength)
{
    EXPECT_EQ(progressPercent(0, 1000), 0);
    EXPECT_EQ(progressPercent(249, 1000), 24);
    EXPECT_EQ(progressPercent(250, 1000), 25);
    EXPECT_EQ(progressPercent(1000, 1000), 100);
    EXPECT_EQ(progressPercent(1010, 1000), 101);
    EXPECT_EQ(progressPercent(5'000'000'000ULL, 10'000'000'000ULL), 50);  // beyond 32 bits
    EXPECT_FALSE(progressPercent(10, 0));
}

struct Expected {
    int percent;
    std::vector<PictureMove> moves;
};

void expectFrame(const Expected& expected)
{
    const ProgressFrame frame = progressFrame(expected.percent);
    EXPECT_EQ(frame.percent, expected.percent);
    ASSERT_EQ(frame.moveCount, static_cast<int>(expected.moves.size())) << expected.percent;
    for (std::size_t i = 0; i < expected.moves.size(); ++i) {
        const PictureMove& got = frame.moves[i];
        const PictureMove& want = expected.moves[i];
        EXPECT_EQ(got.picture, want.picture) << expected.percent << " move " << i;
        EXPECT_EQ(got.rect.left, want.rect.left) << expected.percent << " move " << i;
        EXPECT_EQ(got.rect.top, want.rect.top) << expected.percent << " move " << i;
        EXPECT_EQ(got.rect.right, want.rect.right) << expected.percent << " move " << i;
        EXPECT_EQ(got.rect.bottom, want.rect.bottom) << expected.percent << " move " << i;
    }
}

TEST(ProgressBands, PicturesMoveByBandAndStopAbove100)
{
    using P = Picture;
    const Expected table[] = {
        {0, {{P::Game, {225, 105, 369, 201}}}},
        {24, {{P::Game, {225, 81, 369, 177}}}},
        {25, {{P::Game, {225, 55, 369, 151}}, {P::Video, {450, 98, 546, 194}}}},
        {49, {{P::Game, {225, 79, 369, 175}}, {P::Video, {450, 74, 546, 170}}}},
        {50, {{P::Video, {450, 48, 546, 144}}, {P::Screen, {645, 98, 765, 194}}}},
        {74, {{P::Video, {450, 72, 546, 168}}, {P::Screen, {645, 74, 765, 170}}}},
        {75, {{P::Screen, {645, 48, 765, 144}}, {P::Audio, {870, 98, 945, 199}}}},
        {100, {{P::Screen, {645, 73, 765, 169}}, {P::Audio, {870, 73, 945, 174}}}},
        {101, {}},
        {-1, {}},
    };
    for (const Expected& expected : table) expectFrame(expected);
}

TEST(ProgressBands, EachPictureStartsItsRiseAtItsRestPosition)
{
    const std::pair<int, Picture> starts[] = {
        {0, Picture::Game}, {25, Picture::Video}, {50, Picture::Screen}, {75, Picture::Audio}};
    for (const auto& [percent, picture] : starts) {
        const ProgressFrame frame = progressFrame(percent);
        const PictureMove& rising = frame.moves[static_cast<std::size_t>(frame.moveCount - 1)];
        ASSERT_EQ(rising.picture, picture);
        EXPECT_EQ(rising.rect.top, restPosition(picture).top) << percent;
        EXPECT_EQ(rising.rect.bottom, restPosition(picture).bottom) << percent;
    }
}

}  // namespace
