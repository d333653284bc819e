// Test program standing in for the client's installation package and for the programs it
// leaves behind. Every run appends one JSON line {"exe","cmdline","cwd"} to "runs.log" beside
// its own executable. Started under any name other than the three below it acts as the
// installer: it copies itself into the folder after the last " /D=" of its command line as
// "desktoplinkpath.exe", "menupath.exe" and "RADovaza_ZO.exe", then waits and exits as its
// side file "fake-package.txt" (beside it, "exit=N delay=MS", both optional) says.
// Stand-alone program, built without the project include path.
#include "log_append.h"
#include "utf8_text.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <string>

namespace {

const wchar_t* const kMarkers[] = {L"desktoplinkpath.exe", L"menupath.exe", L"RADovaza_ZO.exe"};

std::wstring ownPath()
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return std::wstring(path, length);
}

std::wstring folderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::string jsonString(const std::wstring& text)
{
    std::string out = "\"";
    for (const char c : utf8(text)) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void logRun(const std::wstring& self)
{
    wchar_t cwd[MAX_PATH * 4];
    const DWORD cwdLength = GetCurrentDirectoryW(static_cast<DWORD>(std::size(cwd)), cwd);
    const std::string line = "{\"exe\":" + jsonString(self.substr(self.find_last_of(L"\\/") + 1)) +
                             ",\"cmdline\":" + jsonString(GetCommandLineW()) +
                             ",\"cwd\":" + jsonString(std::wstring(cwd, cwdLength)) + "}\n";
    appendLine(folderOf(self) + L"\\runs.log", line);
}

bool isMarker(const std::wstring& self)
{
    const std::wstring name = self.substr(self.find_last_of(L"\\/") + 1);
    for (const wchar_t* marker : kMarkers)
        if (_wcsicmp(name.c_str(), marker) == 0) return true;
    return false;
}

// Reads "exit=N delay=MS" from the side file.
void readBehaviour(const std::wstring& self, int& exitCode, int& delayMs)
{
    const std::wstring side = folderOf(self) + L"\\fake-package.txt";
    std::FILE* file = _wfopen(side.c_str(), L"rb");
    if (!file) return;
    if (std::fscanf(file, "exit=%d delay=%d", &exitCode, &delayMs) < 1) exitCode = 0;
    std::fclose(file);
}

int actAsInstaller(const std::wstring& self)
{
    const std::wstring commandLine = GetCommandLineW();
    const std::size_t folderAt = commandLine.rfind(L" /D=");
    if (folderAt == std::wstring::npos) return 3;
    const std::wstring folder = commandLine.substr(folderAt + 4);
    for (const wchar_t* marker : kMarkers)
        CopyFileW(self.c_str(), (folder + L"\\" + marker).c_str(), FALSE);
    int exitCode = 0;
    int delayMs = 0;
    readBehaviour(self, exitCode, delayMs);
    Sleep(static_cast<DWORD>(delayMs));
    return exitCode;
}

}  // namespace

int wmain()
{
    const std::wstring self = ownPath();
    logRun(self);
    return isMarker(self) ? 0 : actAsInstaller(self);
}
