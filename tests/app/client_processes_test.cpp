// Ending the running client and updater: sleeping stand-ins started under chosen names, then
// the termination the install sequence runs. These tests end every process of those names in
// the Wine session, so they run alone (a resource lock in CMake).
#include "app/client_processes.h"
#include "app/install_folder.h"
#include "app/install_preparation.h"
#include "tests/app/installer_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace InstallerTesting;

namespace {

const std::wstring kStandIn = L"client_stand_in.exe";

// Each copy in a folder of its own: file names differing only in case are one file.
std::unique_ptr<RunningCopy> startStandIn(const ScratchFolder& scratch, int index,
                                          const std::wstring& name,
                                          const std::wstring& arguments = L"")
{
    const std::wstring folder = scratch / std::to_wstring(index);
    CreateDirectoryW(folder.c_str(), nullptr);
    return std::make_unique<RunningCopy>(programFolder() + kStandIn, folder + L"\\" + name,
                                         arguments);
}

struct Named {
    std::wstring name;
    bool ended;
};

}  // namespace

TEST(ClientProcesses, NamesContainingTheClientOrUpdaterExactlyAreEnded)
{
    ScratchFolder scratch;
    const std::vector<Named> cases = {
        {L"RADovaza_ZO.exe", true},         {L"xRADovaza_ZO.exe", true}, {L"VOZezadev.exe", true},
        {L"RADovaza_ZO.exe_old.exe", true}, {L"radovaza_zo.exe", false}, {L"vozezadev.exe", false},
        {L"RADovaza_ZO.ex.exe", false},     {L"other.exe", false},
    };
    std::vector<std::unique_ptr<RunningCopy>> copies;
    for (std::size_t i = 0; i < cases.size(); ++i)
        copies.push_back(startStandIn(scratch, static_cast<int>(i), cases[i].name));
    Sleep(500);
    for (const auto& copy : copies) ASSERT_TRUE(copy->running()) << "a stand-in did not start";

    terminateClientProcesses();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(utf8(cases[i].name));
        const long code = copies[i]->exitCode(cases[i].ended ? 10000 : 500);
        if (cases[i].ended)
            EXPECT_EQ(code, 0) << "still running or not ended with 0";
        else
            EXPECT_EQ(code, -1) << "ended although its name does not match";
    }
}

TEST(ClientProcesses, AnInstallerNamedLikeTheClientDoesNotEndItself)
{
    ScratchFolder scratch;
    const auto client = startStandIn(scratch, 0, L"RADovaza_ZO.exe");
    Sleep(500);
    ASSERT_TRUE(client->running());
    const auto installer =
        startStandIn(scratch, 1, L"RADovaza_ZO.exe_setup.exe", L"--terminate-clients");
    EXPECT_EQ(installer->exitCode(20000), 42) << "the installer ended itself";
    EXPECT_EQ(client->exitCode(10000), 0) << "the installer's termination pass did not run";
}

TEST(InstallPreparation, ProcessesAreEndedOnlyOnceTheFolderIsThere)
{
    ScratchFolder scratch;
    const auto client = startStandIn(scratch, 0, L"RADovaza_ZO.exe");
    const auto updater = startStandIn(scratch, 1, L"VOZezadev.exe");
    Sleep(500);

    EXPECT_EQ(prepareInstall(false, scratch / L"target"), Preparation::NotAgreed);
    EXPECT_EQ(prepareInstall(true, missingDrive() + L"\\nowhere"), Preparation::FolderMissing);
    EXPECT_TRUE(client->running() && updater->running()) << "ended before the checks passed";
    EXPECT_FALSE(pathExists(scratch / L"target"));

    EXPECT_EQ(prepareInstall(true, scratch / L"target\\sub"), Preparation::Ready);
    EXPECT_EQ(client->exitCode(10000), 0);
    EXPECT_EQ(updater->exitCode(10000), 0);
}
