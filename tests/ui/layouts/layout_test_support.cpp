// Helpers of the layout tests; see layout_test_support.h.
#include "tests/ui/layouts/layout_test_support.h"

#include "ui/layouts/horizontal_layout_ui.h"

namespace SkinUI::Testing {

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

CControlUI& AddPlain(CContainerUI& parent, int width, int height)
{
    ControlPtr child = MakeControl<CControlUI>();
    child->SetRequestedWidth(width);
    child->SetRequestedHeight(height);
    return *parent.AddChild(std::move(child));
}

CControlUI& AddFloating(CContainerUI& parent, const RECT& rect)
{
    ControlPtr child = MakeControl<CControlUI>();
    child->SetFloat(true);
    child->SetFixedOffset(rect.left, rect.top);
    child->SetRequestedWidth(rect.right - rect.left);
    child->SetRequestedHeight(rect.bottom - rect.top);
    return *parent.AddChild(std::move(child));
}

namespace {

struct SkinChild {
    const wchar_t* name;
    int x, y, width, height;
    bool visible;
};

// The floating children of the options skin, in document order (the text "安装到:" is the
// second child and is laid out by the layout).
const SkinChild kOptionsChildren[] = {
    {L"buttionClose", 1065, 20, 18, 18, true},
    {L"installpath", 520, 165, 444, 45, true},
    {L"installpathEdit", 984, 170, 35, 29, true},
    {L"chkDesktopOption", 520, 240, 30, 30, true},
    {L"chkDesktopOptionText", 560, 240, 200, 23, true},
    {L"chkMenuOption", 780, 240, 30, 30, true},
    {L"chkMenuOptionText", 820, 240, 200, 23, true},
    {L"chkTaskOption", 520, 300, 30, 30, true},
    {L"chkTaskOptionText", 560, 300, 300, 30, true},
    {L"chkOption", 780, 300, 30, 30, false},
    {L"chkOptionText", 820, 300, 240, 30, false},
    {L"chkAgreeOption", 520, 385, 20, 20, true},
    {L"chkAgreeOptionText", 555, 380, 150, 30, true},
    {L"userAgree", 715, 380, 80, 30, true},
    {L"with", 795, 380, 60, 30, true},
    {L"privAgree", 855, 380, 80, 30, true},
    {L"buttonInstall", 830, 440, 186, 57, true},
};

void AddSkinChild(CContainerUI& layout, const SkinChild& skin)
{
    ControlPtr child = MakeControl<CControlUI>();
    // As the skin writes them: "pos" with a right and bottom of 0, then the size.
    child->ApplyAttribute(L"name", skin.name);
    child->ApplyAttribute(L"float", L"true");
    child->ApplyAttribute(L"pos",
                          std::to_wstring(skin.x) + L"," + std::to_wstring(skin.y) + L",0,0");
    child->ApplyAttribute(L"width", std::to_wstring(skin.width));
    child->ApplyAttribute(L"height", std::to_wstring(skin.height));
    if (!skin.visible) child->ApplyAttribute(L"visible", L"false");
    layout.AddChild(std::move(child));
}

}  // namespace

OptionsTree MakeOptionsTree()
{
    OptionsTree tree;
    tree.root = MakeControl<CHorizontalLayoutUI>();
    tree.layout = AsContainer(tree.root.get());
    tree.layout->ApplyAttribute(L"hole", L"true");
    AddSkinChild(*tree.layout, kOptionsChildren[0]);
    ControlPtr text = MakeControl<CControlUI>();
    text->ApplyAttribute(L"padding", L"451,125,0,0");
    text->ApplyAttribute(L"width", L"90");
    text->ApplyAttribute(L"height", L"27");
    tree.text = tree.layout->AddChild(std::move(text));
    for (size_t i = 1; i < std::size(kOptionsChildren); ++i)
        AddSkinChild(*tree.layout, kOptionsChildren[i]);
    return tree;
}

}  // namespace SkinUI::Testing

namespace SkinUI::Testing {

void LifeLog::Watch(CControlUI& control)
{
    control.OnInit.Add(MakeDelegate(this, &LifeLog::OnInit));
    control.OnDestroy.Add(MakeDelegate(this, &LifeLog::OnDestroy));
}

bool LifeLog::OnInit(void* control)
{
    events.push_back(L"init " + static_cast<CControlUI*>(control)->GetName());
    return true;
}

bool LifeLog::OnDestroy(void* control)
{
    events.push_back(L"destroy " + static_cast<CControlUI*>(control)->GetName());
    return true;
}

}  // namespace SkinUI::Testing
