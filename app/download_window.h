// VQUpdate_Downloading: the download window (skin "download.xml"), a progress bar and four
// moving pictures. It starts the installStart report and the download-and-install worker, and
// shows what the worker reports. The worker runs on a thread of its own: its progress and the
// switch to the splash are posted here and applied on the user interface thread.
//
// Created on the heap by the options window and never deleted: the worker and the report
// threads read it for as long as the process lives. Closing it ends the process with 0.
#pragma once

#include "app/progress_bands.h"
#include "app/worker_view.h"
#include "ui/window/window_impl_base.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class VQUpdate_AgreementDialg;

namespace SkinUI {
class CProgressUI;
}

class VQUpdate_Downloading : public SkinUI::WindowImplBase, public WorkerView {
public:
    // The current version (reported by both telemetry records) and the options' ticks.
    VQUpdate_Downloading(std::string version, bool desktopShortcut, bool startMenuShortcut,
                         bool userExperience);
    ~VQUpdate_Downloading() override;

    // Creates the native window ("云帆安装", popup, the skin's size), centres it and shows it,
    // activated. False when the window could not be created.
    bool Open();
    // Creates the hidden splash, reports the start, sets the bar and pictures at rest and
    // starts the worker on a detached thread. Called once, after Open, on this thread.
    void startDownload(std::string downloadAddress, std::wstring installDir);

    bool desktopShortcut() const override { return m_desktopShortcut; }
    bool startMenuShortcut() const override { return m_startMenuShortcut; }
    // Worker thread: posted to this window, applied by ApplyProgress / ApplySwitchToSplash.
    void showProgress(const ProgressFrame& frame) override;
    void switchToSplash() override;
    void finish(std::int32_t endTime, std::int32_t startTime) override;
    void fail(WorkerFailure failure) override;

protected:
    const wchar_t* WindowClassName() const override { return L"VQUpdateDownloading"; }
    std::wstring SkinFolder() const override { return L""; }
    std::wstring SkinFile() const override { return L"download.xml"; }
    void OnSkinReady() override;
    // The close message (system close, Alt+F4, Escape) ends the process with 0.
    LRESULT HandleClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // The worker's posted changes.
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void FindControls();
    void PlaceAtRest();
    void Place(Picture picture, const PictureRect& rect);
    void ApplyProgress(int percent);
    void ApplySwitchToSplash();

    const std::string m_version;
    const bool m_desktopShortcut;
    const bool m_startMenuShortcut;
    const bool m_userExperience;  // kept with the window; nothing reads it
    std::unique_ptr<VQUpdate_AgreementDialg> m_splash;
    // Controls of this window's tree (owned by its paint manager); found once the skin is built.
    SkinUI::CProgressUI* m_progress = nullptr;
    std::array<SkinUI::CControlUI*, 4> m_pictures{};  // by Picture
};
