// The installer's three skins, read from the skin archive inside the installer built beside
// the tests and built into windows with a paint manager: the trees the windows rely on, in
// order, placed where the skins put them.
#include "tests/ui/core/test_window.h"
#include "tests/ui/installer_module.h"
#include "ui/core/ui_manager.h"
#include "ui/layouts/container_ui.h"
#include "ui/markup/skin_builder.h"
#include "ui/render/resource_settings.h"
#include "ui/window/skin_archive_resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace SkinUI;
using SkinUI::Testing::NotifyRecorder;
using SkinUI::Testing::TestWindow;

namespace {

class InstallerSkins : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_installer = SkinUITest::LoadInstallerAsData();
        ASSERT_TRUE(m_installer) << "the installer is built beside the tests";
        SetResourceModule(m_installer);
        ASSERT_TRUE(UseSkinArchiveResource(L"101"));
    }
    void TearDown() override
    {
        SetResourceModule(nullptr);
        FreeLibrary(m_installer);
    }

    // Builds `skin` for the window, attaches it and lays it out; returns the root.
    CControlUI* BuildAndLayOut(TestWindow& window, const wchar_t* skin)
    {
        CSkinBuilder builder;
        ControlPtr root = builder.Build({skin, L"", nullptr, &window.manager()});
        EXPECT_TRUE(root) << builder.Error();
        if (!root) return nullptr;
        window.manager().AttachRoot(std::move(root));
        InvalidateRect(window.hwnd(), nullptr, FALSE);
        window.PaintNow();
        return window.manager().Root();
    }

    HMODULE m_installer = nullptr;
};

std::vector<std::wstring> ChildNames(IContainerUI& container)
{
    std::vector<std::wstring> names;
    for (int i = 0; i < container.ChildCount(); ++i)
        names.push_back(container.ChildAt(i)->GetName());
    return names;
}

void ExpectRect(CControlUI* control, RECT expected)
{
    ASSERT_NE(control, nullptr);
    const RECT rect = control->GetRect();
    EXPECT_EQ(rect.left, expected.left) << control->GetName();
    EXPECT_EQ(rect.top, expected.top) << control->GetName();
    EXPECT_EQ(rect.right, expected.right) << control->GetName();
    EXPECT_EQ(rect.bottom, expected.bottom) << control->GetName();
}

RECT ClientRect(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return rect;
}

}  // namespace

TEST_F(InstallerSkins, TheOptionsSkinBuildsEighteenControlsInOrderAndTicksFiveBoxes)
{
    TestWindow window(0, 0, 200, 100);
    NotifyRecorder recorder;
    window.manager().AddReceiver(&recorder);
    CControlUI* root = BuildAndLayOut(window, L"options.xml");
    ASSERT_NE(root, nullptr);
    const auto selectChanged =
        std::count_if(recorder.seen.begin(), recorder.seen.end(),
                      [](const NotifyMsg& m) { return m.type == L"selectchanged"; });
    EXPECT_EQ(selectChanged, 5) << "each box with selected=\"true\" notifies during the build";

    EXPECT_EQ(root->GetClassName(), L"HorizontalLayout");
    EXPECT_EQ(ClientRect(window.hwnd()).right, 1124);
    EXPECT_EQ(ClientRect(window.hwnd()).bottom, 557);
    EXPECT_EQ(window.manager().CaptionRect().bottom, 57);
    auto* layout = dynamic_cast<IContainerUI*>(root);
    ASSERT_NE(layout, nullptr);
    const std::vector<std::wstring> expected = {L"buttionClose",     L"",
                                                L"installpath",      L"installpathEdit",
                                                L"chkDesktopOption", L"chkDesktopOptionText",
                                                L"chkMenuOption",    L"chkMenuOptionText",
                                                L"chkTaskOption",    L"chkTaskOptionText",
                                                L"chkOption",        L"chkOptionText",
                                                L"chkAgreeOption",   L"chkAgreeOptionText",
                                                L"userAgree",        L"with",
                                                L"privAgree",        L"buttonInstall"};
    EXPECT_EQ(ChildNames(*layout), expected);
    const wchar_t* classes[] = {L"Button", L"Text", L"Edit", L"Button", L"CheckBox", L"Button"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(layout->ChildAt(i)->GetClassName(), classes[i]) << i;

    CUIManager& manager = window.manager();
    for (const wchar_t* hidden : {L"chkOption", L"chkOptionText"}) {
        ASSERT_NE(manager.ControlByName(hidden), nullptr);
        EXPECT_FALSE(manager.ControlByName(hidden)->IsVisible()) << hidden;
    }
    EXPECT_TRUE(manager.ControlByName(L"chkAgreeOption")->IsVisible());
    ExpectRect(layout->ChildAt(1), {451, 125, 541, 152});
    EXPECT_EQ(layout->ChildAt(1)->GetText(), L"安装到:");
    ExpectRect(manager.ControlByName(L"buttionClose"), {1065, 20, 1083, 38});
    ExpectRect(manager.ControlByName(L"installpathEdit"), {984, 170, 1019, 199});
    ExpectRect(manager.ControlByName(L"with"), {795, 380, 855, 410});
    ExpectRect(manager.ControlByName(L"buttonInstall"), {830, 440, 1016, 497});
    EXPECT_EQ(manager.ControlByName(L"with")->GetText(), L" 和 ")
        << "the skin's two blanks either side fold to one";
    EXPECT_EQ(manager.ControlByName(L"installpath")->GetText(),
              L"C:\\Program Files (x86)\\ROVuruvodiv");
    const std::wstring* hole = root->FindCustomAttribute(L"hole");
    ASSERT_NE(hole, nullptr);
    EXPECT_EQ(*hole, L"true");
    window.manager().RemoveReceiver(&recorder);
}

TEST_F(InstallerSkins, TheDownloadSkinIsLayeredWithTheBarAndFourPictures)
{
    TestWindow window(0, 0, 200, 100);
    CControlUI* root = BuildAndLayOut(window, L"download.xml");
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(window.manager().IsLayered()) << "an empty layeredimage still makes it layered";
    EXPECT_EQ(ClientRect(window.hwnd()).right, 1217);
    auto* layout = dynamic_cast<IContainerUI*>(root);
    ASSERT_NE(layout, nullptr);
    const std::vector<std::wstring> expected = {L"downloadpro", L"game", L"video", L"screen",
                                                L"audio"};
    EXPECT_EQ(ChildNames(*layout), expected);
    EXPECT_EQ(layout->ChildAt(0)->GetClassName(), L"Progress");
    ExpectRect(layout->ChildAt(0), {0, 135, 1217, 174});
    ExpectRect(window.manager().ControlByName(L"audio"), {590, 90, 640, 160});
}

TEST_F(InstallerSkins, TheSplashSkinIsOneEmptyLayoutAtTheSplashSize)
{
    TestWindow window(0, 0, 200, 100);
    CControlUI* root = BuildAndLayOut(window, L"agreement.xml");
    ASSERT_NE(root, nullptr);
    EXPECT_FALSE(window.manager().IsLayered());
    EXPECT_EQ(ClientRect(window.hwnd()).right, 902);
    EXPECT_EQ(ClientRect(window.hwnd()).bottom, 383);
    auto* layout = dynamic_cast<IContainerUI*>(root);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->ChildCount(), 0);
    ExpectRect(root, {0, 0, 902, 383});
}
