// The skin builder: the element table, the order of building (children, joining the parent,
// default list, own attributes), resources and window attributes through the paint manager,
// cover elements, Include with its count and its bound, plug-in factories and the callback.
#include "tests/ui/core/test_window.h"
#include "ui/controls/button_ui.h"
#include "ui/core/ui_manager.h"
#include "ui/layouts/container_ui.h"
#include "ui/markup/skin_builder.h"
#include "ui/render/resource_settings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

using namespace SkinUI;
using SkinUI::Testing::TestWindow;

namespace {

// A container that writes what the builder does to it into a shared log.
class LoggingContainer : public CContainerUI {
public:
    explicit LoggingContainer(std::vector<std::wstring>& log) : m_log(log) {}
    std::wstring GetClassName() const override { return L"Logging"; }
    CControlUI* AddChild(ControlPtr control) override
    {
        m_log.push_back(GetName() + L" adds " + control->GetName());
        return CContainerUI::AddChild(std::move(control));
    }
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override
    {
        m_log.push_back(GetName() + L" " + name + L"=" + value +
                        (GetWindowManager() ? L" (managed)" : L""));
        CContainerUI::ApplyAttribute(name, value);
    }

private:
    std::vector<std::wstring>& m_log;
};

// Makes "Logging" elements and records every name it is asked for.
class LoggingCallback : public IDialogBuilderCallback {
public:
    ControlPtr CreateCustomControl(const std::wstring& elementName) override
    {
        asked.push_back(elementName);
        if (elementName != L"Logging") return nullptr;
        log.push_back(L"made");
        return MakeControl<LoggingContainer>(log);
    }
    std::vector<std::wstring> asked;
    std::vector<std::wstring> log;
};

IContainerUI& ContainerOf(CControlUI* control)
{
    auto* container = dynamic_cast<IContainerUI*>(control);
    EXPECT_NE(container, nullptr);
    return *container;
}

std::vector<std::wstring> ChildNames(CControlUI* control)
{
    std::vector<std::wstring> names;
    IContainerUI& container = ContainerOf(control);
    for (int i = 0; i < container.ChildCount(); ++i)
        names.push_back(container.ChildAt(i)->GetName());
    return names;
}

// A folder of skin files for Include, set as the resource folder.
class SkinFolder {
public:
    SkinFolder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"skin_builder_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_path.c_str(), nullptr);
        SetSkinArchive(L"", false);
        SetResourceFolder(m_path);
    }
    ~SkinFolder()
    {
        for (const std::wstring& file : m_files) DeleteFileW(file.c_str());
        RemoveDirectoryW(m_path.c_str());
    }
    void Write(const std::wstring& name, const std::string& text)
    {
        m_files.push_back(ResourceFolder() + name);
        std::ofstream(m_files.back().c_str(), std::ios::binary) << text;
    }

private:
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

}  // namespace

TEST(SkinBuilder, ElementNamesIgnoreCaseAndUnknownElementsAreSkippedWithTheirChildren)
{
    CSkinBuilder builder;
    ControlPtr root = builder.Build({LR"(<Window><hbox name="row">
        <BUTTON name="b"/><Unknown name="u"><Button name="lost"/></Unknown><label name="l"/>
        <control name="c"/><VerticalLayout name="v"/></hbox><Button name="second"/></Window>)"});
    ASSERT_TRUE(root) << builder.Error();
    EXPECT_EQ(root->GetClassName(), L"HorizontalLayout");
    EXPECT_EQ(root->GetName(), L"row");
    const std::vector<std::wstring> expected = {L"b", L"l", L"c", L"v"};
    EXPECT_EQ(ChildNames(root.get()), expected);
    IContainerUI& row = ContainerOf(root.get());
    EXPECT_EQ(row.ChildAt(0)->GetClassName(), L"Button");
    EXPECT_EQ(row.ChildAt(1)->GetClassName(), L"Label");
    EXPECT_EQ(row.ChildAt(3)->GetClassName(), L"VerticalLayout");
    EXPECT_EQ(row.ChildAt(0)->GetParent(), root.get());
    EXPECT_TRUE(builder.Error().empty());
}

TEST(SkinBuilder, AttributesApplyInDocumentOrderRepeatsTwiceAndOnlyTheFirst64)
{
    std::wstring many;
    for (int i = 0; i < 64; ++i) many += L" a" + std::to_wstring(i) + L"=\"v\"";
    CSkinBuilder builder;
    ControlPtr root = builder.Build({L"<Window><Label text=\"one\" name=\"l\"pos=\"1,2,3,4\" "
                                     L"text=\"two\"" +
                                     many + L" tooltip=\"65th\"/></Window>"});
    ASSERT_TRUE(root) << builder.Error();
    EXPECT_EQ(root->GetText(), L"two") << "the repeated attribute applied twice, in order";
    EXPECT_EQ(root->GetName(), L"l") << "an attribute run without white space is two";
    EXPECT_EQ(root->GetToolTip(), L"") << "the 65th attribute is not applied";
}

TEST(SkinBuilder, ChildrenAreBuiltBeforeTheControlJoinsItsParentAndBeforeItsAttributes)
{
    LoggingCallback callback;
    CSkinBuilder builder;
    ControlPtr root =
        builder.Build({LR"(<Window><Logging name="outer" inset="1,1,1,1"><Logging name="inner"/>
             <Logging name="second"/></Logging></Window>)",
                       L"", &callback});
    ASSERT_TRUE(root) << builder.Error();
    const std::vector<std::wstring> expected = {
        L"made",   L"made",         L" adds ",      L" name=inner",         L"made",
        L" adds ", L" name=second", L" name=outer", L"outer inset=1,1,1,1",
    };
    EXPECT_EQ(callback.log, expected);
    EXPECT_EQ(ChildNames(root.get()), (std::vector<std::wstring>{L"inner", L"second"}));
}

TEST(SkinBuilder, DefaultListsApplyBeforeTheElementsOwnAttributesWithTheManager)
{
    TestWindow window(10, 10, 300, 200);
    window.manager().SetDefaultAttributes(L"Logging", L"name=\"fromDefault\" text=\"default\"");
    LoggingCallback callback;
    CSkinBuilder builder;
    ControlPtr root = builder.Build(
        {LR"(<Window><Default name="Button" value="text=&quot;plain&quot; tooltip=&quot;tip&quot;"/>
             <Logging text="own"><Button text="mine"/><Button name="x"/></Logging></Window>)",
         L"", &callback, &window.manager()});
    ASSERT_TRUE(root) << builder.Error();
    const std::vector<std::wstring> expected = {
        L"made",
        L" adds ",
        L" adds ",
        L" name=fromDefault (managed)",
        L"fromDefault text=default (managed)",
        L"fromDefault text=own (managed)",
    };
    EXPECT_EQ(callback.log, expected);
    EXPECT_EQ(root->GetText(), L"own");
    EXPECT_EQ(root->GetWindowManager(), nullptr) << "the manager is taken away again";
    IContainerUI& container = ContainerOf(root.get());
    EXPECT_EQ(container.ChildAt(0)->GetText(), L"mine") << "the element overrides its default";
    EXPECT_EQ(container.ChildAt(0)->GetToolTip(), L"tip");
    EXPECT_EQ(container.ChildAt(1)->GetText(), L"plain");
    EXPECT_EQ(container.ChildAt(1)->GetWindowManager(), nullptr);
}

TEST(SkinBuilder, TheWindowElementAndResourcesReachTheManager)
{
    TestWindow window(10, 10, 300, 200);
    CUIManager& manager = window.manager();
    CSkinBuilder builder;
    ControlPtr root = builder.Build({LR"(<?xml version="1.0" encoding="utf-8"?>
        <window size="320,240" caption="0,0,0,57" sizebox="4,5,6,7" roundcorner="8,9"
                mininfo="100,80" tag="mine"> <!-- the window -->
          <FONT ID="2" NAME="Arial" SIZE="20" BOLD="TRUE" default="True"/>
          <Font id="-1" name="Ignored"/><Font id="5"/>
          <MultiLanguage id="7" value="seven"/><MultiLanguage id="8"/>
          <Default value="text=&quot;lost&quot;"/>
          <Control name="only"/>
        </window>)",
                                     L"", nullptr, &manager});
    ASSERT_TRUE(root) << builder.Error();
    EXPECT_EQ(root->GetName(), L"only");
    RECT client = {};
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, 320) << "the size applies at once while no root is attached";
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(manager.CaptionRect().bottom, 57);
    EXPECT_EQ(manager.SizeBox().left, 4);
    EXPECT_EQ(manager.SizeBox().bottom, 7);
    EXPECT_EQ(manager.RoundCorner().cx, 8);
    EXPECT_EQ(manager.MinInfo().cy, 80);
    ASSERT_NE(manager.FindWindowCustomAttribute(L"tag"), nullptr);
    EXPECT_EQ(*manager.FindWindowCustomAttribute(L"tag"), L"mine");

    const FontInfo& font = manager.Fonts().FontInfoByNumber(2);
    EXPECT_EQ(font.face, L"Arial");
    EXPECT_EQ(font.size, 20);
    EXPECT_TRUE(font.bold);
    EXPECT_EQ(manager.Fonts().FontInfoByNumber(-1).face, L"Arial") << "the default font";
    EXPECT_EQ(&manager.Fonts().FontInfoByNumber(5), &manager.Fonts().FontInfoByNumber(-1))
        << "a font without a face is not defined";
    ASSERT_NE(manager.Strings().Find(7), nullptr);
    EXPECT_EQ(*manager.Strings().Find(7), L"seven");
    EXPECT_EQ(manager.Strings().Find(8), nullptr);
}

TEST(SkinBuilder, WindowAttributesNeedAPaintWindowAndARootNamedWindow)
{
    CUIManager detached;
    CSkinBuilder builder;
    EXPECT_TRUE(builder.Build(
        {L"<Window caption=\"0,0,0,9\"><Control/></Window>", L"", nullptr, &detached}));
    EXPECT_EQ(detached.CaptionRect().bottom, 0);
    TestWindow window(10, 10, 300, 200);
    EXPECT_TRUE(builder.Build(
        {L"<Dialog caption=\"0,0,0,9\"><Control/></Dialog>", L"", nullptr, &window.manager()}));
    EXPECT_EQ(window.manager().CaptionRect().bottom, 0);
}

TEST(SkinBuilder, CoverMakesTheOverlayAndAParentWithoutChildrenEndsItsLevel)
{
    CSkinBuilder builder;
    ControlPtr root = builder.Build({LR"(<Window><HorizontalLayout>
        <Button name="over" cover="true"/><Button name="kept" cover="True"/>
        <Button name="leaf"><Label name="a"/><Label name="b"/></Button>
        </HorizontalLayout></Window>)"});
    ASSERT_TRUE(root) << builder.Error();
    ASSERT_NE(root->GetOverlay(), nullptr);
    EXPECT_EQ(root->GetOverlay()->GetName(), L"over");
    EXPECT_EQ(root->GetOverlay()->GetParent(), root.get());
    EXPECT_EQ(ChildNames(root.get()), (std::vector<std::wstring>{L"kept", L"leaf"}))
        << "only the exact text true covers; a button holds no children";
}

TEST(SkinBuilder, IncludeBuildsItsSourceCountTimesIntoTheCurrentParent)
{
    SkinFolder folder;
    folder.Write(L"row.xml", R"(<Window><Font id="3" name="Arial" size="30"/>
                               <Button name="b"/><Label name="l"/></Window>)");
    TestWindow window(10, 10, 300, 200);
    CSkinBuilder builder;
    ControlPtr root = builder.Build(
        {LR"(<Window><VerticalLayout><Control name="first"/><Include source="row.xml" count="3"/>
             <Include source="missing.xml"/><Include source="row.xml"/><Control name="last"/>
             </VerticalLayout></Window>)",
         L"", nullptr, &window.manager()});
    ASSERT_TRUE(root) << builder.Error();
    const std::vector<std::wstring> expected = {L"first", L"b", L"l", L"b", L"l",
                                                L"b",     L"l", L"b", L"l", L"last"};
    EXPECT_EQ(ChildNames(root.get()), expected) << "a source that does not load adds nothing";
    EXPECT_EQ(window.manager().Fonts().FontInfoByNumber(3).size, 30)
        << "an included skin's resources reach the manager";

    CSkinBuilder topLevel;
    ControlPtr included = topLevel.Build({L"<Window><Include source=\"row.xml\"/></Window>"});
    EXPECT_FALSE(included) << "included controls need a parent";
    EXPECT_TRUE(topLevel.Error().empty());
}

TEST(SkinBuilder, ASelfIncludingSkinFailsWithAParseErrorInsteadOfOverflowingTheStack)
{
    SkinFolder folder;
    folder.Write(L"self.xml", R"(<Window><HorizontalLayout>
                                <Include source="self.xml" count="3"/></HorizontalLayout></Window>)");
    folder.Write(L"ping.xml", R"(<Window><Include source="pong.xml"/></Window>)");
    folder.Write(L"pong.xml", R"(<Window><Control/><Include source="PING.xml"/></Window>)");
    const auto start = std::chrono::steady_clock::now();
    CSkinBuilder self;
    EXPECT_FALSE(self.Build({L"self.xml"}));
    EXPECT_EQ(self.Error(), L"Elements nested too deeply");
    CSkinBuilder ping;
    ControlPtr parent = MakeControl<CContainerUI>();
    EXPECT_EQ(ping.BuildInto({L"ping.xml"}, *parent), nullptr);
    EXPECT_EQ(ping.Error(), L"Elements nested too deeply");
    // Depth first, the first failure ends everything: no 3^256 builds.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));

    // Deep, but within the bound: 100 nested layouts included once.
    std::string deep;
    for (int i = 0; i < 100; ++i) deep += "<VBox>";
    for (int i = 0; i < 100; ++i) deep += "</VBox>";
    folder.Write(L"deep.xml", "<Window>" + deep + "</Window>");
    CSkinBuilder builder;
    EXPECT_TRUE(builder.Build({L"<Window><VBox><Include source=\"deep.xml\"/></VBox></Window>"}))
        << builder.Error();
}

TEST(SkinBuilder, LoadAndParseFailuresReturnNothingWithTheirText)
{
    SkinFolder folder;
    CSkinBuilder builder;
    EXPECT_FALSE(builder.Build({L"absent.xml"}));
    EXPECT_EQ(builder.Error(), L"Error opening file");
    EXPECT_FALSE(builder.Build({L"<Window><Button></Window>"}));
    EXPECT_EQ(builder.Error(), L"Unmatched closing tag");
    EXPECT_FALSE(builder.Build({L"999", L"xml"})) << "no such resource";
    EXPECT_EQ(builder.Error(), L"Error opening file");
    EXPECT_TRUE(builder.Build({L"<Window><Control/></Window>"}));
    EXPECT_TRUE(builder.Error().empty());
}

TEST(SkinBuilder, AResourceSkinIncludesResourcesOfItsType)
{
    CSkinBuilder builder;
    ControlPtr root = builder.Build({L"101", L"xml"});
    ASSERT_TRUE(root) << builder.Error();
    EXPECT_EQ(root->GetName(), L"fromResource");
    EXPECT_EQ(ChildNames(root.get()), (std::vector<std::wstring>{L"included", L"included"}));
    EXPECT_EQ(ContainerOf(root.get()).ChildAt(0)->GetText(), L"资源") << "read as UTF-8";
}

TEST(SkinBuilder, UnknownNamesGoToThePluginsThenToTheCallback)
{
    ASSERT_TRUE(CUIManager::LoadPlugin(L"builder_test_plugin.dll"));
    LoggingCallback callback;
    CSkinBuilder builder;
    ControlPtr root = builder.Build(
        {LR"(<Window><Container><PluginThing name="p"/><Gadget name="g"/><Button name="b"/>
             </Container></Window>)",
         L"", &callback});
    ASSERT_TRUE(root) << builder.Error();
    EXPECT_EQ(ChildNames(root.get()), (std::vector<std::wstring>{L"p", L"b"}));
    EXPECT_EQ(ContainerOf(root.get()).ChildAt(0)->GetUserData(), L"made by the plug-in");
    EXPECT_EQ(callback.asked, (std::vector<std::wstring>{L"Gadget"}))
        << "neither table kinds nor plug-in kinds reach the callback";
}
