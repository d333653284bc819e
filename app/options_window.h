// VQUpdate_MainWindow: the install options window, the installer's main window. It shows the
// install folder with its browse button, the option boxes and the agreement links (skin
// "options.xml"); its install button checks and prepares the folder, ends the running client
// and opens the download window. Closing it by any route ends the process with 0.
//
// Created on the heap by start-up and never deleted. User interface thread only.
#pragma once

#include "app/once_gate.h"
#include "ui/window/window_impl_base.h"

#include <string>

namespace SkinUI {
class COptionUI;
}

class VQUpdate_MainWindow : public SkinUI::WindowImplBase {
public:
    // The install info of the handshake (UTF-8), kept unchanged.
    VQUpdate_MainWindow(std::string currentVersion, std::string downloadUrl, std::string privacyUrl,
                        std::string agreementUrl);

    // Creates the native window as start-up opens it ("云帆更新", popup, the skin's size),
    // centres it on its monitor's work area and shows it, activated. False when the window
    // could not be created.
    bool Open();

    // Clicks are handled here first (see ClickStep); every notification then goes to the base,
    // unless the install sequence stopped at one of its messages.
    void OnNotify(SkinUI::NotifyMsg& msg) override;

protected:
    const wchar_t* WindowClassName() const override { return L"VQUpdateMainWin"; }
    std::wstring SkinFolder() const override { return L""; }
    std::wstring SkinFile() const override { return L"options.xml"; }
    // The icon needs the native window, which exists once the skin is attached.
    void OnSkinReady() override;
    // The close message (system close, Alt+F4, Escape) ends the process with 0.
    LRESULT HandleClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    // Runs the click steps in order; false when the notification must not go on to the base.
    bool HandleOptionsClick(const std::wstring& sender);
    // The caption beside a box toggles the box, with its "selectchanged".
    void ToggleBoxOfCaption(const std::wstring& sender);
    // The check box (or option) of that name, if the skin has one.
    SkinUI::COptionUI* Box(const wchar_t* name);
    bool IsBoxTicked(const wchar_t* name);
    // The install sequence; false when it stopped at one of its messages before the end.
    bool Install();
    void BrowseForFolder();
    // Hands the installation over to the download window; false when that window could not
    // be created (nothing has started then).
    bool OpenDownloadWindow(const std::wstring& folder);

    const std::string m_currentVersion;
    const std::string m_downloadUrl;
    const std::string m_privacyUrl;
    const std::string m_agreementUrl;
    OnceGate m_installGate;
};
