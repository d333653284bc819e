// The agreement links under Wine: a recording browser registered for http and https in the
// prefix gets exactly the address opened; anything else opens nothing. The handlers are the
// prefix's own, so this runs as one CTest test under a lock the installer's link test takes too.
#include "app/web_links.h"
#include "tests/app/installer_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

using namespace InstallerTesting;

// Registers the URL recorder as the handler of http and https for the test, and puts the
// previous handlers back afterwards.
class UrlRecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring command = L"\"" + programFolder() + L"url_recorder.exe\" \"%1\"";
        for (const wchar_t* scheme : {L"http", L"https"}) replaceHandler(scheme, command);
        _wputenv_s(L"VQ_URL_RECORD", (m_scratch / L"opened.txt").c_str());
    }
    void TearDown() override
    {
        for (const auto& [key, previous] : m_previous) {
            if (previous.empty())
                RegDeleteKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr);
            else
                RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, previous.c_str(),
                                static_cast<DWORD>((previous.size() + 1) * sizeof(wchar_t)));
        }
    }

    // What the recorder was asked to open, once it has written something or after `wait`.
    std::string opened(std::chrono::milliseconds wait)
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        std::string text;
        while ((text = readTextFile(m_scratch / L"opened.txt")).empty() &&
               std::chrono::steady_clock::now() < deadline)
            Sleep(100);
        return text;
    }

private:
    void replaceHandler(const std::wstring& scheme, const std::wstring& command)
    {
        const std::wstring key = scheme + L"\\shell\\open\\command";
        wchar_t previous[1024] = {};
        DWORD size = sizeof(previous);
        RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, previous,
                     &size);
        m_previous.emplace_back(key, previous);
        ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, command.c_str(),
                                  static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    ScratchFolder m_scratch;
    std::vector<std::pair<std::wstring, std::wstring>> m_previous;
};

TEST_F(UrlRecorderTest, AWebAddressReachesTheBrowserExactly)
{
    const std::string address = "HTTPS://example.com/agreement?lang=zh&v=1.2";
    openWebAddress(address);
    EXPECT_EQ(opened(std::chrono::seconds(15)), address + "\n");
}

TEST_F(UrlRecorderTest, AnythingElseOpensNothing)
{
    // Were it opened, the shell would start the recorder itself, and it would write a line.
    const std::string recorder = utf8(programFolder()) + "url_recorder.exe";
    openWebAddress(recorder);
    openWebAddress("file:///" + recorder);
    openWebAddress("https://example.com/\" \"--flag");
    EXPECT_EQ(opened(std::chrono::seconds(4)), "");
}
