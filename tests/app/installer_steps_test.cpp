// The install sequence's steps that need no window: folder creation and tests, which links
// count as web addresses, the folder-browse dialog and the run-once gate. Real files and
// dialogs under Wine.
#include "app/folder_browse.h"
#include "app/install_folder.h"
#include "app/install_preparation.h"
#include "app/once_gate.h"
#include "app/web_links.h"
#include "tests/app/installer_test_support.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <future>
#include <optional>
#include <utility>

using namespace InstallerTesting;

TEST(InstallFolder, BothPassesCreateEveryMissingLevelBelowAnExistingFolder)
{
    ScratchFolder scratch;
    const std::wstring ansiTarget = scratch / L"安装\\level2\\level3";
    createFolderChainAnsi(ansiTarget);
    EXPECT_TRUE(isDirectory(scratch / L"安装"));
    EXPECT_TRUE(isDirectory(ansiTarget));

    const std::wstring wideTarget = scratch / L"wide\\two\\three";
    EXPECT_TRUE(createFolderChainWide(wideTarget));
    EXPECT_TRUE(isDirectory(wideTarget));
    // Existing levels and a trailing backslash are walked through, not failed on.
    EXPECT_TRUE(createFolderChainWide(wideTarget + L"\\"));
}

TEST(InstallFolder, ExistenceAndDirectoryTestsTellFilesFromFolders)
{
    ScratchFolder scratch;
    writeTextFile(scratch / L"file", "x");
    EXPECT_TRUE(pathExists(scratch / L"file"));
    EXPECT_FALSE(isDirectory(scratch / L"file"));
    EXPECT_TRUE(isDirectory(scratch.path()));
    EXPECT_FALSE(pathExists(scratch / L"none"));
    EXPECT_FALSE(isDirectory(scratch / L"none"));
}

TEST(InstallFolder, APathWithoutAnsiFormIsLeftToTheWidePass)
{
    ScratchFolder scratch;
    // Thai has no form in the Chinese ANSI code page: a substitute would name another folder.
    const std::wstring target = scratch / L"\u0E01\u0E02\\inner";
    createFolderChainAnsi(target);
    EXPECT_FALSE(pathExists(scratch / L"\u0E01\u0E02"));
    EXPECT_TRUE(createFolderChainWide(target));
    EXPECT_TRUE(isDirectory(target));
}

TEST(InstallPreparation, AFolderOnAMissingDriveIsReportedMissing)
{
    const std::wstring folder = missingDrive() + L"\\ROVuruvodiv\\sub";
    EXPECT_EQ(prepareInstall(true, folder), Preparation::FolderMissing);
    EXPECT_FALSE(createFolderChainWide(folder));
    const PreparationMessage message = preparationMessage(Preparation::FolderMissing);
    EXPECT_STREQ(message.text, L"当路径不存在，请重新设置");
    EXPECT_STREQ(message.title, L"错误");
}

TEST(InstallPreparation, AnExistingFileIsNoInstallFolderAndStaysAsItWas)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"ROVuruvodiv";
    writeTextFile(file, "keep me");
    EXPECT_EQ(prepareInstall(true, file), Preparation::FolderNotCreated);
    EXPECT_EQ(readTextFile(file), "keep me");
    const PreparationMessage message = preparationMessage(Preparation::FolderNotCreated);
    EXPECT_STREQ(message.text, L"安装目录不存在，创建失败");
    EXPECT_STREQ(message.title, L"错误");
}

TEST(InstallPreparation, ANewFolderThreeLevelsDownIsReady)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"a\\b\\ROVuruvodiv";
    EXPECT_EQ(prepareInstall(true, folder), Preparation::Ready);
    EXPECT_TRUE(isDirectory(folder));
    EXPECT_EQ(preparationMessage(Preparation::Ready).text, nullptr);
}

TEST(InstallPreparation, WithoutTheAgreementNothingIsCreated)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"new";
    EXPECT_EQ(prepareInstall(false, folder), Preparation::NotAgreed);
    EXPECT_FALSE(pathExists(folder));
    const PreparationMessage message = preparationMessage(Preparation::NotAgreed);
    EXPECT_STREQ(message.text, L"请阅读用户隐私协议并勾选");
    EXPECT_STREQ(message.title, L"警告");
}

TEST(WebLinks, OnlyHttpAndHttpsAddressesInAnyCaseCount)
{
    EXPECT_TRUE(isWebAddress("http://example.com/privacy"));
    EXPECT_TRUE(isWebAddress("HTTPS://Example.com/a?b=1&c=%20"));
    EXPECT_TRUE(isWebAddress("hTtP://x"));
    EXPECT_FALSE(isWebAddress(""));
    EXPECT_FALSE(isWebAddress("http:/example.com"));
    EXPECT_FALSE(isWebAddress("ftp://example.com"));
    EXPECT_FALSE(isWebAddress("file:///C:/windows/notepad.exe"));
    EXPECT_FALSE(isWebAddress("C:\\windows\\notepad.exe"));
    EXPECT_FALSE(isWebAddress(" http://example.com"));
    EXPECT_FALSE(isWebAddress("https://example.com/\" --evil"));
    EXPECT_FALSE(isWebAddress("http://example.com/a b"));
    EXPECT_FALSE(isWebAddress(std::string("http://example.com/\n", 20)));
}

TEST(FolderBrowse, TheChosenFolderGetsTheClientFolderJoinedAsItStands)
{
    EXPECT_EQ(installFolderIn(L"C:\\Program Files"), L"C:\\Program Files\\ROVuruvodiv");
    EXPECT_EQ(installFolderIn(L"D:\\"), L"D:\\\\ROVuruvodiv");
}

namespace {

// The folder-browse dialog of this process, waited for up to ten seconds.
HWND findBrowseDialog()
{
    for (int i = 0; i < 100; ++i) {
        HWND dialog = FindWindowW(L"#32770", L"选择文件夹");
        DWORD process = 0;
        if (dialog) GetWindowThreadProcessId(dialog, &process);
        if (dialog && process == GetCurrentProcessId() && IsWindowVisible(dialog)) return dialog;
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK findPrompt(HWND child, LPARAM found)
{
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    if (std::wstring(text) == L"请选择您需要的目的文件夹：") *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

// Runs the browse on this thread while `answer` works the dialog from another; returns what
// the browse gave and whether the dialog showed the prompt.
std::pair<std::optional<std::wstring>, bool> browseAndAnswer(void (*answer)(HWND dialog))
{
    auto prompt = std::async(std::launch::async, [answer] {
        HWND dialog = findBrowseDialog();
        if (!dialog) return false;
        bool found = false;
        EnumChildWindows(dialog, findPrompt, reinterpret_cast<LPARAM>(&found));
        answer(dialog);
        return found;
    });
    std::optional<std::wstring> chosen = browseForInstallFolder();
    return {chosen, prompt.get()};
}

class FolderBrowseDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace

TEST_F(FolderBrowseDialog, CancellingGivesNothing)
{
    const auto [chosen, prompted] =
        browseAndAnswer([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_TRUE(prompted);
    EXPECT_FALSE(chosen);
}

TEST_F(FolderBrowseDialog, AChosenFolderAndADriveRootGiveTheirInstallFolders)
{
    const auto [programFiles, prompted] = browseAndAnswer([](HWND dialog) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(L"C:\\Program Files"));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(prompted);
    EXPECT_EQ(programFiles.value_or(L"none"), L"C:\\Program Files\\ROVuruvodiv");

    const auto [root, rootPrompted] = browseAndAnswer([](HWND dialog) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"C:\\"));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(root.value_or(L"none"), L"C:\\\\ROVuruvodiv");
}

TEST(OnceGate, RunsNeitherInsideItselfNorAgainAfterSuccess)
{
    OnceGate gate;
    ASSERT_TRUE(gate.open());
    {
        OnceGate::Pass pass(gate);
        EXPECT_FALSE(gate.open()) << "a click queued behind a message box got in";
    }
    EXPECT_TRUE(gate.open()) << "a failed run must let the user retry";
    {
        OnceGate::Pass pass(gate);
        pass.succeeded();
    }
    EXPECT_FALSE(gate.open()) << "the sequence ran twice";
}
