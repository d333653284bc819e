// The GDI+ flat functions the framework draws with, looked up once at run time in the system
// folder's gdiplus.dll, a GDI+ session, and owners of GDI+ objects.
//
// Never imported: gdiplus.dll is not one of the system's known DLLs, so an import would be
// resolved by the loader, before any of our code runs, from the program's folder first, and a
// "gdiplus.dll" planted beside the downloaded installer would run with its rights. Only the
// SDK's flat declarations are used (for their types); its wrapper classes call them as imports.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

namespace SkinUI {

// The flat functions used, each named as in the SDK; add a function here and it is looked up.
// clang-format off
#define SKINUI_GDIPLUS_FLAT_FUNCTIONS(X) \
    X(GdipCreateFromHDC) X(GdipDeleteGraphics) X(GdipSetSmoothingMode) \
    X(GdipCreatePath) X(GdipClonePath) X(GdipDeletePath) \
    X(GdipAddPathString) X(GdipTransformPath) X(GdipFillPath) \
    X(GdipDrawPath) X(GdipCreateFontFromLogfontW) X(GdipCreateFontFromDC) \
    X(GdipDeleteFont) X(GdipGetFamily) X(GdipCreateFontFamilyFromName) \
    X(GdipDeleteFontFamily) X(GdipCreateStringFormat) X(GdipDeleteStringFormat) \
    X(GdipSetStringFormatAlign) X(GdipSetStringFormatLineAlign) X(GdipSetStringFormatFlags) \
    X(GdipSetStringFormatTrimming) X(GdipCreateMatrix) X(GdipTranslateMatrix) \
    X(GdipDeleteMatrix) X(GdipCreateLineBrushFromRect) X(GdipCreateLineBrushFromRectWithAngle) \
    X(GdipSetLineWrapMode) X(GdipDeleteBrush) X(GdipCreatePen1) \
    X(GdipSetPenLineJoin) X(GdipDeletePen)
// clang-format on

struct GdiplusFunctions {
    decltype(&Gdiplus::GdiplusStartup) GdiplusStartup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown = nullptr;
#define SKINUI_GDIPLUS_MEMBER(name) decltype(&Gdiplus::DllExports::name) name = nullptr;
    SKINUI_GDIPLUS_FLAT_FUNCTIONS(SKINUI_GDIPLUS_MEMBER)
#undef SKINUI_GDIPLUS_MEMBER
};

// The functions of the system's gdiplus.dll, every one of them present; null when the library
// cannot be loaded from the system folder, lacks one of them, or GDI+ is switched off.
const GdiplusFunctions* SystemGdiplus();

// Switches GDI+ off (or on again) so that the callers' fallbacks can be exercised. For tests;
// call on the user interface thread only.
void DisableSystemGdiplus(bool disabled);

// GDI+ started for the lifetime of the object, and shut down with it.
class GdiplusSession {
public:
    explicit GdiplusSession(const GdiplusFunctions& gdiplus);
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Started() const { return m_started; }

private:
    const GdiplusFunctions& m_gdiplus;
    ULONG_PTR m_token = 0;
    bool m_started = false;
};

// Owner of one GDI+ object, deleted by its kind's delete function (which takes `Base`, e.g. a
// line gradient is deleted as a brush).
template <typename T, typename Base = T>
using GdiplusObject = std::unique_ptr<T, Gdiplus::GpStatus(WINGDIPAPI*)(Base*)>;

// The object `create`(args..., &object) makes, owned; null when it fails.
template <typename T, typename Create, typename Base, typename... Args>
GdiplusObject<T, Base>
MakeGdiplusObject(Create create, Gdiplus::GpStatus(WINGDIPAPI* destroy)(Base*), Args... args)
{
    T* object = nullptr;
    if (create(args..., &object) != Gdiplus::Ok) object = nullptr;
    return GdiplusObject<T, Base>(object, destroy);
}

}  // namespace SkinUI
