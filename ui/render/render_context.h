// IRenderContext: what the drawing operations consult of a window's paint manager (fonts,
// images, default colours, language strings, the mouse position); BasicRenderContext holds
// them itself for programs without a paint manager (tests, benchmarks, tools).
#pragma once

#include "ui/render/font_table.h"
#include "ui/render/image_cache.h"
#include "ui/render/language_strings.h"

namespace SkinUI {

// The window's default text colours (ARGB).
struct DefaultColors {
    DWORD disabledText = 0xFFA7A6AA;
    DWORD text = 0xFF000000;
    DWORD link = 0xFF0000FF;
    DWORD linkHover = 0xFFD3215F;
    DWORD selectedBackground = 0xFFBAE4FF;
};

class IRenderContext {
public:
    virtual FontTable& Fonts() = 0;
    virtual ImageCache& Images() = 0;
    virtual const DefaultColors& Colors() const = 0;
    virtual const LanguageStrings& Strings() const = 0;
    // The last mouse position in client coordinates, (-1, -1) when unknown.
    virtual POINT MousePosition() const = 0;

protected:
    ~IRenderContext() = default;
};

// A context that owns everything it hands out; the mouse position is set by its user.
class BasicRenderContext final : public IRenderContext {
public:
    FontTable& Fonts() override { return m_fonts; }
    ImageCache& Images() override { return m_images; }
    const DefaultColors& Colors() const override { return m_colors; }
    const LanguageStrings& Strings() const override { return m_strings; }
    POINT MousePosition() const override { return m_mouse; }

    DefaultColors& MutableColors() { return m_colors; }
    LanguageStrings& MutableStrings() { return m_strings; }
    void SetMousePosition(POINT point) { m_mouse = point; }

private:
    FontTable m_fonts;
    ImageCache m_images;
    DefaultColors m_colors;
    LanguageStrings m_strings;
    POINT m_mouse = {-1, -1};
};

}  // namespace SkinUI
