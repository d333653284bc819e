// CSkinBuilder: turns a skin into a tree of controls. It hands the skin's fonts, images, default
// attribute lists and language strings to the paint manager, applies the root "Window"
// element's attributes to the window, creates one control per element by its name (the
// element table, then plug-in factories, then the window's callback), builds each control's
// children before the control joins its parent and before its own attributes, and applies the
// element's default attribute list before the element's own attributes.
//
// Ownership: a control added to a parent belongs to the parent; the first top-level control of
// a build without a parent belongs to the caller. User interface thread only.
#pragma once

#include "ui/core/control_ui.h"
#include "ui/markup/skin_markup.h"

#include <string>
#include <utility>

namespace SkinUI {

class CUIManager;

// What a window offers the builder for element names it does not know.
class IDialogBuilderCallback {
public:
    // A new control for `elementName`, or null.
    virtual ControlPtr CreateCustomControl(const std::wstring& elementName) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Where a skin comes from and who receives what it makes.
struct SkinSource {
    SkinSource(std::wstring skinName, std::wstring type = {},
               IDialogBuilderCallback* builderCallback = nullptr,
               CUIManager* paintManager = nullptr)
        : skin(std::move(skinName)), resourceType(std::move(type)), callback(builderCallback),
          manager(paintManager)
    {
    }

    // A resource name (a number such as "101") when `resourceType` is set; else a skin text
    // when it begins with "<"; else a skin file name (resource folder or skin archive).
    std::wstring skin;
    // The resource type of a skin in the program's resources ("xml"), remembered for the
    // skins it includes; empty for texts and files.
    std::wstring resourceType;
    IDialogBuilderCallback* callback;  // may be null
    CUIManager* manager;               // may be null: no resources, window attributes or defaults
};

class CSkinBuilder {
public:
    CSkinBuilder() = default;
    CSkinBuilder(const CSkinBuilder&) = delete;
    CSkinBuilder& operator=(const CSkinBuilder&) = delete;

    // Loads and builds `source` without a parent. Returns the first control made at the top
    // level (later top-level controls have no owner and are destroyed), or null when the skin
    // cannot be loaded or built (Error says why) or makes no control.
    ControlPtr Build(const SkinSource& source);
    // Loads and builds `source` into `parent`, which owns what is added; returns the first
    // top-level control, or null. A build that fails part-way leaves what it added.
    CControlUI* BuildInto(const SkinSource& source, CControlUI& parent);

    // Why the last build failed: a load or parse error text of the skin or of a skin it
    // includes; empty after a success.
    const std::wstring& Error() const { return m_error; }
    // The document of the last load.
    const CSkinMarkup& Markup() const { return m_markup; }

private:
    struct Run;

    bool Load(const std::wstring& skin, const std::wstring& resourceType);
    CControlUI* BuildLoaded(Run& run, CControlUI* parent, ControlPtr* topLevel);
    CControlUI* BuildLevel(Run& run, CSkinMarkupNode node, CControlUI* parent,
                           ControlPtr* topLevel);
    void BuildInclude(Run& run, CSkinMarkupNode include, CControlUI* parent);
    CControlUI* BuildElement(Run& run, CSkinMarkupNode node, CControlUI* parent,
                             ControlPtr* topLevel, bool& levelEnds);
    void ApplyElementAttributes(Run& run, CSkinMarkupNode node, CControlUI& control);

    CSkinMarkup m_markup;
    std::wstring m_error;
};

}  // namespace SkinUI
