// Tests of the worker's parts: the download address split and the package's file name, the
// progress percentage and the pictures' bands, the installer's command line, what an answer
// offers for continuing an interrupted download, and the package file kept or started over.
#include "app/download_address.h"
#include "app/download_job.h"
#include "app/package_download.h"
#include "app/package_install.h"
#include "app/progress_bands.h"
#include "app/worker_seams.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>

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

TEST(DownloadJob, SavesIntoTheInstallFolderOrIsUnusable)
{
    const auto job = makeDownloadJob("http://host:81/x/setup.exe?v=2", L"C:\\A B", 7, nullptr);
    EXPECT_TRUE(job.usable());
    EXPECT_EQ(job.origin, "http://host:81");
    EXPECT_EQ(job.remotePath, "/x/setup.exe?v=2");
    EXPECT_EQ(job.packagePath, L"C:\\A B/setup.exe");
    EXPECT_EQ(job.startTime, 7);

    for (const char* address : {"http://host/a\\..\\..\\evil.exe", "http://host/dir/..",
                                "https://host/setup.exe", "http://host"})
        EXPECT_FALSE(makeDownloadJob(address, L"C:\\A", 0, nullptr).usable()) << address;
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

TEST(PackageInstall, CommandLineIsThePackagePathThenTheSilentSwitchAndTheFolder)
{
    EXPECT_EQ(installerCommandLine(L"C:\\Program Files (x86)\\ROVuruvodiv/setup.exe",
                                   L"C:\\Program Files (x86)\\ROVuruvodiv"),
              L"C:\\Program Files (x86)\\ROVuruvodiv/setup.exe /S /D=C:\\Program Files "
              L"(x86)\\ROVuruvodiv");
}

TEST(DownloadResume, OnlyAByteRangeAnswerWithAStrongValidatorCanBeContinued)
{
    EXPECT_EQ(resumeValidator("bytes", "\"v1\"", "Tue, 01 Dec 2026 10:00:00 GMT"), "\"v1\"");
    EXPECT_EQ(resumeValidator("Bytes", "", "Tue, 01 Dec 2026 10:00:00 GMT"),
              "Tue, 01 Dec 2026 10:00:00 GMT");
    // A weak tag cannot go into If-Range: the date stands in for it, or nothing does.
    EXPECT_EQ(resumeValidator("bytes", "W/\"v1\"", "Tue, 01 Dec 2026 10:00:00 GMT"),
              "Tue, 01 Dec 2026 10:00:00 GMT");
    EXPECT_EQ(resumeValidator("bytes", "W/\"v1\"", ""), "");
    EXPECT_EQ(resumeValidator("bytes", "", ""), "");
    for (const char* acceptRanges : {"", "none", "bytes ", "items"})
        EXPECT_EQ(resumeValidator(acceptRanges, "\"v1\"", "date"), "") << acceptRanges;

    PartialPackage partial{900, 1000, "\"v1\""};
    EXPECT_TRUE(partial.resumable());
    for (const PartialPackage& stuck :
         {PartialPackage{0, 1000, "\"v1\""}, PartialPackage{1000, 1000, "\"v1\""},
          PartialPackage{900, 0, "\"v1\""}, PartialPackage{900, 1000, ""}})
        EXPECT_FALSE(stuck.resumable()) << stuck.received << "/" << stuck.total;
}

TEST(DownloadResume, A206ContinuesThePackageOnlyFromItsEndToTheSameTotal)
{
    const PartialPackage partial{900, 1000, "\"v1\""};
    EXPECT_TRUE(continuesPackage("bytes 900-999/1000", partial));
    for (const char* range :
         {"bytes 0-999/1000", "bytes 901-999/1000", "bytes 899-999/1000", "bytes 900-998/1000",
          "bytes 900-1000/1001", "bytes 900-999/*", "bytes */1000", "bytes 900-999/1000 ",
          "bytes=900-999/1000", "items 900-999/1000", "bytes -900-999/1000", "", "bytes 900-999",
          "bytes 900-99999999999999999999999/1000"})
        EXPECT_FALSE(continuesPackage(range, partial)) << range;

    EXPECT_EQ(announcedLength("268435456"), 268435456u);
    EXPECT_EQ(announcedLength("5000000000"), 5000000000u);
    for (const char* length : {"", "-1", "12a", " 12", "0x10"})
        EXPECT_EQ(announcedLength(length), 0u) << length;
}

std::string fileBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring tempPackagePath()
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"vq-package-file-test-" +
           std::to_wstring(GetCurrentProcessId()) + L"-安装包.exe";
}

TEST(PackageFile, ContinuesOnlyAFileOfTheKeptLengthAndRestartsEmpty)
{
    const std::wstring path = tempPackagePath();
    auto created = openPackageFile(path, 0);
    ASSERT_TRUE(created);
    ASSERT_TRUE(created->write("first", 5));
    ASSERT_TRUE(created->close());

    // A file that does not hold exactly the kept bytes is not continued.
    EXPECT_FALSE(openPackageFile(path, 4));
    EXPECT_FALSE(openPackageFile(path, 6));
    EXPECT_FALSE(openPackageFile(path + L".missing", 5));

    auto continued = openPackageFile(path, 5);
    ASSERT_TRUE(continued);
    ASSERT_TRUE(continued->write("-second", 7));
    ASSERT_TRUE(continued->close());
    EXPECT_EQ(fileBytes(path), "first-second");

    auto restarted = openPackageFile(path, 12);
    ASSERT_TRUE(restarted);
    ASSERT_TRUE(restarted->restart());
    ASSERT_TRUE(restarted->write("whole", 5));
    ASSERT_TRUE(restarted->close());
    EXPECT_EQ(fileBytes(path), "whole");

    // Creating truncates whatever was there.
    auto recreated = openPackageFile(path, 0);
    ASSERT_TRUE(recreated);
    ASSERT_TRUE(recreated->close());
    EXPECT_EQ(fileBytes(path), "");
    DeleteFileW(path.c_str());
}

}  // namespace
