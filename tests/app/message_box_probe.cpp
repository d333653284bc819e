// Test helper: prints one JSON line per visible top-level dialog window of the running Wine
// session (title, message text, whether it has an owner, the ids of its buttons), so the test
// driver can check a message box that X tools cannot read.
#include "utf8_text.h"  // a stand-alone program, built without the project include path

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The static control that holds a message box's text.
const int kMessageTextId = 0xFFFF;

std::string jsonText(const std::wstring& text)
{
    std::string out = "\"";
    for (char c : utf8(text)) {
        // Control characters (line breaks, tabs) would make the line invalid JSON.
        if (static_cast<unsigned char>(c) < 0x20) {
            out += ' ';
            continue;
        }
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

std::wstring windowText(HWND window)
{
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

std::wstring className(HWND window)
{
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return buffer;
}

BOOL CALLBACK collectButton(HWND child, LPARAM param)
{
    if (className(child) == L"Button" && IsWindowVisible(child))
        reinterpret_cast<std::vector<int>*>(param)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

BOOL CALLBACK printDialog(HWND window, LPARAM)
{
    if (!IsWindowVisible(window) || className(window) != L"#32770") return TRUE;
    wchar_t text[1024] = {};
    GetDlgItemTextW(window, kMessageTextId, text, 1024);
    std::vector<int> buttons;
    EnumChildWindows(window, collectButton, reinterpret_cast<LPARAM>(&buttons));

    std::string line =
        "{\"title\":" + jsonText(windowText(window)) + ",\"text\":" + jsonText(text) +
        ",\"owned\":" + (GetWindow(window, GW_OWNER) ? "true" : "false") + ",\"buttons\":[";
    for (std::size_t i = 0; i < buttons.size(); ++i)
        line += (i ? "," : "") + std::to_string(buttons[i]);
    std::printf("%s]}\n", line.c_str());
    return TRUE;
}

}  // namespace

int main()
{
    EnumWindows(printDialog, 0);
    return 0;
}
