// The download window: the start of the download and the worker's changes on this thread.
#include "app/download_window.h"

#include "app/download_job.h"
#include "app/download_worker.h"
#include "app/installer_popup.h"
#include "app/splash_window.h"
#include "app/support_log.h"
#include "service/install_service.h"
#include "service/process_end.h"
#include "ui/controls/progress_ui.h"

#include <ctime>
#include <thread>
#include <utility>

namespace {

const UINT kInstallerIcon = 102;
// The worker's changes, posted to the window. Private to this window class, clear of the
// paint manager's queue message.
const UINT kWorkerProgress = WM_APP + 0x100;  // wParam: the new percentage
const UINT kWorkerSplash = WM_APP + 0x101;
static_assert(kWorkerProgress != SkinUI::WM_SKIN_ASYNC_NOTIFY &&
              kWorkerSplash != SkinUI::WM_SKIN_ASYNC_NOTIFY);

const struct {
    Picture picture;
    const wchar_t* name;
} kPictureNames[] = {
    {Picture::Game, L"game"},
    {Picture::Video, L"video"},
    {Picture::Screen, L"screen"},
    {Picture::Audio, L"audio"},
};

// Seconds since 1970, low 32 bits, as the telemetry records carry them.
std::int32_t currentTimeSeconds()
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::time(nullptr)));
}

}  // namespace

VQUpdate_Downloading::VQUpdate_Downloading(std::string version, bool desktopShortcut,
                                           bool startMenuShortcut, bool userExperience)
    : m_version(std::move(version)), m_desktopShortcut(desktopShortcut),
      m_startMenuShortcut(startMenuShortcut), m_userExperience(userExperience)
{
}

VQUpdate_Downloading::~VQUpdate_Downloading() = default;

bool VQUpdate_Downloading::Open()
{
    return openInstallerPopup(*this, L"云帆安装");
}

void VQUpdate_Downloading::startDownload(std::string downloadAddress, std::wstring installDir)
{
    logLine("download window shown");
    m_splash = std::make_unique<VQUpdate_AgreementDialg>();
    m_splash->CreateHidden();
    logLine("splash created; the start report and the download begin");
    const std::int32_t startTime = currentTimeSeconds();
    std::thread([version = m_version] { reportInstallStart(version); }).detach();
    DownloadJob job = makeDownloadJob(downloadAddress, installDir, startTime, this);
    SetCurrentDirectoryW(installDir.c_str());
    FindControls();
    if (m_progress) m_progress->SetValue(0);
    PlaceAtRest();
    startDownloadWorker(std::move(job));
}

void VQUpdate_Downloading::showProgress(const ProgressFrame& frame)
{
    // The frame is a function of its percentage alone: only the percentage travels.
    PostToSelf(kWorkerProgress, static_cast<WPARAM>(frame.percent));
}

void VQUpdate_Downloading::switchToSplash()
{
    PostToSelf(kWorkerSplash);
}

void VQUpdate_Downloading::finish(std::int32_t endTime, std::int32_t startTime)
{
    startInstallEndReport(m_version, endTime, startTime);
}

void VQUpdate_Downloading::fail(WorkerFailure failure)
{
    showFailureAndExit(failure);
}

void VQUpdate_Downloading::OnSkinReady()
{
    AttachIcon(kInstallerIcon);
}

LRESULT VQUpdate_Downloading::HandleClose(UINT, WPARAM, LPARAM, bool&)
{
    logLine("end: download window closed by the user, exit 0");
    // The worker and the report threads may be running.
    endProcess(0);
}

LRESULT VQUpdate_Downloading::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM, bool& handled)
{
    if (message == kWorkerProgress)
        ApplyProgress(static_cast<int>(wParam));
    else if (message == kWorkerSplash)
        ApplySwitchToSplash();
    else
        handled = false;
    return 0;
}

void VQUpdate_Downloading::FindControls()
{
    SkinUI::CControlUI* bar = Manager().ControlByName(L"downloadpro");
    m_progress =
        bar ? static_cast<SkinUI::CProgressUI*>(bar->QueryInterface(L"Progress")) : nullptr;
    for (const auto& entry : kPictureNames)
        m_pictures[static_cast<size_t>(entry.picture)] = Manager().ControlByName(entry.name);
}

void VQUpdate_Downloading::PlaceAtRest()
{
    for (const auto& entry : kPictureNames) Place(entry.picture, restPosition(entry.picture));
}

void VQUpdate_Downloading::Place(Picture picture, const PictureRect& rect)
{
    SkinUI::CControlUI* control = m_pictures[static_cast<size_t>(picture)];
    if (control) control->Place(RECT{rect.left, rect.top, rect.right, rect.bottom}, true);
}

void VQUpdate_Downloading::ApplyProgress(int percent)
{
    const ProgressFrame frame = progressFrame(percent);
    if (m_progress) m_progress->SetValue(frame.percent);
    for (int i = 0; i < frame.moveCount; ++i) Place(frame.moves[i].picture, frame.moves[i].rect);
}

void VQUpdate_Downloading::ApplySwitchToSplash()
{
    ShowNative(false, true);
    if (m_splash) m_splash->ShowCentred();
}
