// A skinned window under real input, for skin_window_e2e.py: a frameless 400x300 window from a
// skin with a 40-pixel caption band holding a button, size box borders of 6 and a minimum of
// 200x150, centred on the screen's work area. It logs where it is after every move or size,
// clicks, and the close message, one line each, into the file named first on the command line.
// With "broken" as second argument its skin names a file that does not exist.
#include "ui/render/resource_settings.h"
#include "ui/window/window_impl_base.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace SkinUI;

namespace {

constexpr wchar_t kSkin[] = LR"(<Window size="400,300" caption="0,0,0,40" sizebox="6,6,6,6"
        mininfo="200,150">
  <HorizontalLayout bkcolor="#FF305070">
    <Button name="probeButton" float="true" pos="300,10,0,0" width="40" height="20"
            bkcolor="#FFC0C0C0"/>
  </HorizontalLayout>
</Window>)";

FILE* g_log = nullptr;

void Log(const std::wstring& line)
{
    std::fprintf(g_log, "%ls\n", line.c_str());
    std::fflush(g_log);
}

class ProbeWindow : public WindowImplBase {
public:
    explicit ProbeWindow(bool broken) : m_broken(broken) {}

protected:
    const wchar_t* WindowClassName() const override { return L"SkinUIProbeWindow"; }
    std::wstring SkinFolder() const override { return L""; }
    std::wstring SkinFile() const override { return m_broken ? L"no_such_skin.xml" : kSkin; }
    void HandleClick(NotifyMsg& msg) override
    {
        Log(L"click " + msg.sender->GetName());
        WindowImplBase::HandleClick(msg);
    }
    LRESULT HandleClose(UINT, WPARAM wParam, LPARAM, bool& handled) override
    {
        Log(L"close w=" + std::to_wstring(wParam));
        PostQuitMessage(0);
        handled = false;
        return 0;
    }
    LRESULT HandleOtherMessage(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        if (message == WM_WINDOWPOSCHANGED) LogRect();
        handled = false;
        return 0;
    }

private:
    void LogRect()
    {
        RECT rect = {};
        GetWindowRect(NativeHandle(), &rect);
        Log(L"rect " + std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " +
            std::to_wstring(rect.right) + L" " + std::to_wstring(rect.bottom));
    }

    bool m_broken;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    if (__argc < 2 || !(g_log = _wfopen(__wargv[1], L"w"))) return 2;
    const bool broken = __argc > 2 && std::wstring(__wargv[2]) == L"broken";
    SetModuleInstance(instance);
    SetResourceFolder(L"C:\\");
    ProbeWindow window(broken);
    if (!window.CreateNative(nullptr, L"skin window probe", WS_POPUP, 0, 0, 0, 0, 0)) return 3;
    window.CenterOnOwner();
    window.ShowNative(true, true);
    Log(L"ready");
    const int code = CUIManager::RunMessageLoop();
    Log(L"quit " + std::to_wstring(code));
    return code;
}
