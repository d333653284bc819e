// Tests of the worker's parts: the download job, the installer's command line, what an answer
// offers for continuing an interrupted download, and the package file kept or started over.
#include "app/download_job.h"
#include "app/package_download.h"
#include "app/package_install.h"
#include "app/worker_seams.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

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
