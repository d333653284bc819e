// CSkinBuilder; see skin_builder.h. The resource elements are read in skin_resources.cpp, the
// element table lives in skin_elements.cpp.
#include "ui/markup/skin_builder.h"

#include "ui/core/attribute_values.h"
#include "ui/core/ui_manager.h"
#include "ui/layouts/container_ui.h"
#include "ui/markup/skin_elements.h"
#include "ui/markup/skin_file.h"
#include "ui/markup/skin_resources.h"
#include "ui/render/resource_files.h"

#include <cwchar>
#include <optional>

namespace SkinUI {

// One build with everything it includes: what the builders share, and the first failure,
// which ends the whole build.
struct CSkinBuilder::Run {
    explicit Run(const SkinSource& source)
        : callback(source.callback), manager(source.manager), resourceType(source.resourceType)
    {
    }

    IDialogBuilderCallback* callback;
    CUIManager* manager;
    std::wstring resourceType;  // of the outermost skin, for the skins it includes
    int depth = 0;              // elements and includes entered, across included skins
    std::wstring error;

    bool Failed() const { return !error.empty(); }
    // Enters one more level; false (and the build fails) beyond kMaxSkinDepth.
    bool Enter()
    {
        if (++depth <= kMaxSkinDepth) return true;
        error = kSkinNestedTooDeeply;
        return false;
    }
    void Leave() { --depth; }
};

namespace {

// The longest Include source read.
constexpr std::size_t kMaxIncludeSource = 499;

bool NameIs(const wchar_t* name, const wchar_t* expected)
{
    return _wcsicmp(name, expected) == 0;
}

bool IsResourceElement(const wchar_t* name)
{
    return NameIs(name, L"Image") || NameIs(name, L"Font") || NameIs(name, L"Default") ||
           NameIs(name, L"MultiLanguage");
}

// The element table first, then the plug-ins in loading order, then the window's callback.
ControlPtr CreateControl(const std::wstring& name, IDialogBuilderCallback* callback)
{
    if (ControlPtr control = CreateSkinElement(name)) return control;
    for (PluginControlFactory factory : CUIManager::PluginFactories()) {
        if (CControlUI* control = factory(name.c_str())) return ControlPtr(control);
    }
    return callback ? callback->CreateCustomControl(name) : nullptr;
}

void ApplyWindowAttributes(CUIManager& manager, CSkinMarkupNode root)
{
    if (!manager.PaintWindow() || !NameIs(root.Name(), L"Window")) return;
    for (std::size_t i = 0; i < root.AttributeCount(); ++i)
        manager.ApplyWindowAttribute(root.AttributeName(i), root.AttributeValue(i));
}

}  // namespace

ControlPtr CSkinBuilder::Build(const SkinSource& source)
{
    Run run(source);
    ControlPtr first;
    if (!Load(source.skin, source.resourceType)) return nullptr;
    BuildLoaded(run, nullptr, &first);
    m_error = run.error;
    if (run.Failed()) return nullptr;
    return first;
}

CControlUI* CSkinBuilder::BuildInto(const SkinSource& source, CControlUI& parent)
{
    Run run(source);
    if (!Load(source.skin, source.resourceType)) return nullptr;
    CControlUI* first = BuildLoaded(run, &parent, nullptr);
    m_error = run.error;
    return run.Failed() ? nullptr : first;
}

bool CSkinBuilder::Load(const std::wstring& skin, const std::wstring& resourceType)
{
    bool loaded = false;
    if (!resourceType.empty()) {
        std::optional<Bytes> bytes = ReadProgramResource(skin, resourceType);
        loaded = bytes ? m_markup.LoadSkinBytes(bytes->data(), bytes->size(), SkinEncoding::Utf8)
                       : m_markup.FailLoad(SkinLoadError::OpenFile);
    } else if (!skin.empty() && skin[0] == L'<') {
        loaded = m_markup.LoadSkinText(skin);
    } else {
        loaded = LoadSkinFile(m_markup, skin);
    }
    m_error = m_markup.ParseError();
    return loaded;
}

// The resources and window attributes of the loaded skin, then the controls of its root's
// children.
CControlUI* CSkinBuilder::BuildLoaded(Run& run, CControlUI* parent, ControlPtr* topLevel)
{
    const CSkinMarkupNode root = m_markup.Root();
    if (run.manager) {
        ApplySkinResources(*run.manager, root);
        ApplyWindowAttributes(*run.manager, root);
    }
    return BuildLevel(run, root.FirstChild(), parent, topLevel);
}

// The elements from `node` on, in order; returns the first control made at this level.
CControlUI* CSkinBuilder::BuildLevel(Run& run, CSkinMarkupNode node, CControlUI* parent,
                                     ControlPtr* topLevel)
{
    CControlUI* first = nullptr;
    for (; node.IsValid() && !run.Failed(); node = node.NextSibling()) {
        const wchar_t* name = node.Name();
        if (IsResourceElement(name)) continue;
        if (NameIs(name, L"Include")) {
            BuildInclude(run, node, parent);
            continue;
        }
        if (NameIs(name, L"TreeNode")) continue;  // trees read their own nodes
        bool levelEnds = false;
        CControlUI* made = BuildElement(run, node, parent, topLevel, levelEnds);
        if (levelEnds) return nullptr;
        if (!first) first = made;
    }
    return first;
}

// The included skin is loaded once and built `count` times into the current parent.
void CSkinBuilder::BuildInclude(Run& run, CSkinMarkupNode include, CControlUI* parent)
{
    const int count = ParseInt(include.AttributeValue(L"count"), 1);
    const std::wstring source =
        std::wstring(include.AttributeValue(L"source")).substr(0, kMaxIncludeSource);
    if (!run.Enter()) return;
    CSkinBuilder included;
    // A source that cannot be loaded adds nothing.
    if (included.Load(source, run.resourceType)) {
        for (int i = 0; i < count && !run.Failed(); ++i) included.BuildLoaded(run, parent, nullptr);
    }
    run.Leave();
}

// One control with its subtree: made, its children built, joined to the parent (or kept as the
// first top-level control), its attributes applied. Returns it, or null when none was made or
// the parent refused it; `levelEnds` when the parent holds no children.
CControlUI* CSkinBuilder::BuildElement(Run& run, CSkinMarkupNode node, CControlUI* parent,
                                       ControlPtr* topLevel, bool& levelEnds)
{
    ControlPtr control = CreateControl(node.Name(), run.callback);
    if (!control) return nullptr;
    CControlUI* made = control.get();
    if (node.HasChildren()) {
        if (!run.Enter()) return nullptr;
        BuildLevel(run, node.FirstChild(), made, nullptr);
        run.Leave();
        if (run.Failed()) return nullptr;
    }
    if (parent && std::wcscmp(node.AttributeValue(L"cover"), L"true") == 0) {
        parent->SetOverlay(std::move(control));
    } else if (parent) {
        auto* container = dynamic_cast<IContainerUI*>(parent);
        if (!container) {
            levelEnds = true;
            return nullptr;
        }
        if (!container->AddChild(std::move(control))) return nullptr;  // destroyed
    }
    ApplyElementAttributes(run, node, *made);
    if (!parent && topLevel && !*topLevel) *topLevel = std::move(control);
    return made;
}

// With a manager the control has it while the attributes apply (so what they do reaches the
// window at once), its kind's default list first; afterwards it gets back the manager it had
// (none while a tree is being built: the window's AttachRoot gives the whole tree its manager).
void CSkinBuilder::ApplyElementAttributes(Run& run, CSkinMarkupNode node, CControlUI& control)
{
    CUIManager* before = control.GetWindowManager();
    if (run.manager) {
        control.SetWindowManager(run.manager, control.GetParent(), false);
        if (const std::wstring* defaults = run.manager->DefaultAttributes(node.Name()))
            control.ApplyAttributeList(*defaults);
    }
    for (std::size_t i = 0; i < node.AttributeCount(); ++i)
        control.ApplyAttribute(node.AttributeName(i), node.AttributeValue(i));
    if (run.manager) control.SetWindowManager(before, control.GetParent(), false);
}

}  // namespace SkinUI
