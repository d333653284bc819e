// VQUpdate_AgreementDialg: the splash picture shown while the downloaded package installs
// (skin "agreement.xml"). The download window creates it hidden when the download starts; the
// worker shows it once the package is there. Closing it (Escape, the system close) destroys
// only this window; the installation goes on.
//
// Owned by the window that creates it; user interface thread only.
#pragma once

#include "ui/window/window_impl_base.h"

class VQUpdate_AgreementDialg : public SkinUI::WindowImplBase {
public:
    // Creates the native window ("云帆启动", popup) and hides it at once, so it is never seen
    // before ShowCentred. Returns false when the window could not be created.
    bool CreateHidden();
    // Centres the window on its owner (or its monitor's work area) and shows it, activated.
    void ShowCentred();

    // A click on "buttionIKnown" posts the close message with 1; every notification then goes
    // on to the base.
    void OnNotify(SkinUI::NotifyMsg& msg) override;

protected:
    const wchar_t* WindowClassName() const override { return L"VQUpdateAgreeMent"; }
    std::wstring SkinFolder() const override { return L""; }
    std::wstring SkinFile() const override { return L"agreement.xml"; }
    // The icon needs the native window, which exists once the skin is attached.
    void OnSkinReady() override;
};
