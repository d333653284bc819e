// The support log file itself, under Wine: where it goes (the temporary folder, wide paths),
// that each run replaces it, what a line looks like, that lines written from many threads stay
// whole, and that a log that cannot be created is harmless.
#include "app/support_log.h"
#include "tests/app/installer_test_support.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <thread>
#include <vector>

using namespace InstallerTesting;

namespace {

// The temporary folder as GetTempPathW sees it (TMP comes first) set to a folder of the
// test; the log is closed again afterwards (an open that fails leaves it closed) so the
// scratch folder can go.
class SupportLogTest : public testing::Test {
protected:
    void useTemporaryFolder(const std::wstring& folder)
    {
        SetEnvironmentVariableW(L"TMP", (folder + L"\\").c_str());
    }
    std::wstring logIn(const std::wstring& folder) const { return folder + L"\\VQUpdate.log"; }

    void TearDown() override
    {
        useTemporaryFolder(m_scratch / L"missing");
        openSupportLog();
        SetEnvironmentVariableW(L"TMP", m_savedTmp.empty() ? nullptr : m_savedTmp.c_str());
    }

    ScratchFolder m_scratch;

private:
    std::wstring savedTmp() const
    {
        wchar_t value[MAX_PATH + 1] = {};
        const DWORD length = GetEnvironmentVariableW(L"TMP", value, MAX_PATH + 1);
        return length > 0 && length <= MAX_PATH ? value : L"";
    }

    const std::wstring m_savedTmp = savedTmp();
};

// The log's lines without their line ends, checking that each carries the timestamp.
std::vector<std::string> logLines(const std::wstring& path)
{
    static const std::regex stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} .*)");
    std::vector<std::string> lines;
    std::istringstream text(readTextFile(path));
    for (std::string line; std::getline(text, line);) {
        EXPECT_FALSE(line.empty() || line.back() != '\r') << "no CR LF after: " << line;
        if (!line.empty()) line.pop_back();
        EXPECT_TRUE(std::regex_match(line, stamp)) << line;
        lines.push_back(line.substr(line.find(' ', 11) + 1));
    }
    return lines;
}

}  // namespace

TEST_F(SupportLogTest, ReplacesTheLogInAWideTemporaryFolderWithOneUtf8LinePerEvent)
{
    // Thai letters have no form in code page 936: only the wide path reaches this folder.
    const std::wstring folder = m_scratch / L"日志 \u0e01\u0e02";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    writeTextFile(logIn(folder), "the previous run's log\r\n");
    useTemporaryFolder(folder);

    openSupportLog();
    logLine("folder " + logText(folder));
    logLine("two\r\nparts\n");
    logLine("");

    const std::vector<std::string> lines = logLines(logIn(folder));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "folder " + utf8(folder));
    EXPECT_EQ(lines[1], "two  parts ") << "a line break inside an event must not split it";
    EXPECT_EQ(lines[2], "");
}

TEST_F(SupportLogTest, LinesFromManyThreadsStayWholeAndNoneIsLost)
{
    useTemporaryFolder(m_scratch.path());
    openSupportLog();
    const int threads = 8, linesEach = 300;
    const std::string padding(200, 'x');
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t) {
        writers.emplace_back([t, &padding] {
            for (int i = 0; i < linesEach; ++i)
                logLine("thread " + std::to_string(t) + " line " + std::to_string(i) + " " +
                        padding);
        });
    }
    for (auto& writer : writers) writer.join();

    std::vector<int> next(threads, 0);
    static const std::regex event(R"(thread (\d) line (\d+) x{200})");
    for (const std::string& line : logLines(logIn(m_scratch.path()))) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, event)) << "a torn line: " << line;
        const int t = std::stoi(match[1]);
        EXPECT_EQ(std::stoi(match[2]), next[t]++) << "thread " << t << " lost or reordered";
    }
    EXPECT_EQ(next, std::vector<int>(threads, linesEach));
}

TEST_F(SupportLogTest, ALogThatCannotBeCreatedIsSkippedAndClosesThePreviousOne)
{
    useTemporaryFolder(m_scratch.path());
    openSupportLog();
    logLine("first run");

    // The log's name taken by a folder, then a temporary folder that does not exist.
    const std::wstring taken = m_scratch / L"taken";
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(logIn(taken).c_str(), nullptr));
    for (const std::wstring& folder : {taken, m_scratch / L"missing"}) {
        useTemporaryFolder(folder);
        openSupportLog();
        logLine("nowhere to go");
    }

    EXPECT_EQ(logLines(logIn(m_scratch.path())), std::vector<std::string>{"first run"});
    EXPECT_EQ(GetFileAttributesW(logIn(m_scratch / L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(logIn(taken).c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}
