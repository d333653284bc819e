// ControlScene; see control_scene.h.
#include "tests/ui/controls/control_scene.h"

#include <cstdio>

namespace SkinUI::Testing {

std::wstring ColorImage(uint32_t argb)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"color='#%08X'", static_cast<unsigned>(argb));
    return text;
}

ControlScene::ControlScene(int width, int height) : window(40, 40, width, height)
{
    ControlPtr root = MakeControl<CContainerUI>();
    root->SetBkColor(0xFF000000);
    m_root = static_cast<CContainerUI*>(root.get());
    window.manager().AttachRoot(std::move(root));
    window.PaintNow();  // "windowinit" goes out before the recorder listens
    window.manager().AddReceiver(&notes);
}

void ControlScene::Send(CControlUI& control, EventKind kind, POINT mouse, WPARAM wParam,
                        wchar_t key)
{
    ControlEvent event;
    event.kind = kind;
    event.sender = &control;
    event.timestamp = GetTickCount();
    event.mouse = mouse;
    event.wParam = wParam;
    event.key = key;
    control.DispatchEvent(event);
}

void ControlScene::Click(CControlUI& control, POINT mouse)
{
    Send(control, EventKind::ButtonDown, mouse);
    Send(control, EventKind::ButtonUp, mouse);
}

uint32_t ControlScene::Pixel(int x, int y)
{
    window.PaintNow();
    const DibSection& frame = window.manager().OffscreenPixels();
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return 0xFFFFFFFF;
    return frame.pixels[static_cast<size_t>(y) * frame.width + x] & 0x00FFFFFF;
}

}  // namespace SkinUI::Testing
