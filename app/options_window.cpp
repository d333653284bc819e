// The install options window: click handling, the install sequence and the folder browse.
#include "app/options_window.h"

#include "app/download_window.h"
#include "app/folder_browse.h"
#include "app/install_preparation.h"
#include "app/installer_popup.h"
#include "app/support_log.h"
#include "app/web_links.h"
#include "service/process_end.h"
#include "ui/controls/option_ui.h"

#include <memory>
#include <string>
#include <utility>

namespace {

const UINT kInstallerIcon = 102;

// The clickable captions and the boxes they toggle.
const struct {
    const wchar_t* caption;
    const wchar_t* box;
} kCaptionedBoxes[] = {
    {L"chkDesktopOptionText", L"chkDesktopOption"}, {L"chkMenuOptionText", L"chkMenuOption"},
    {L"chkTaskOptionText", L"chkTaskOption"},       {L"chkOptionText", L"chkOption"},
    {L"chkAgreeOptionText", L"chkAgreeOption"},
};

// The options window is the program: leaving it leaves the program, with 0 as every way out.
[[noreturn]] void endInstaller(const char* how)
{
    logLine(std::string("end: options window closed by ") + how + ", exit 0");
    endProcess(0);
}

void showMessage(const PreparationMessage& message)
{
    logLine("message box shown: " + logText(message.text));
    MessageBoxW(nullptr, message.text, message.title, MB_OK);
}

const char* yesNo(bool ticked)
{
    return ticked ? "yes" : "no";
}

}  // namespace

VQUpdate_MainWindow::VQUpdate_MainWindow(std::string currentVersion, std::string downloadUrl,
                                         std::string privacyUrl, std::string agreementUrl)
    : m_currentVersion(std::move(currentVersion)), m_downloadUrl(std::move(downloadUrl)),
      m_privacyUrl(std::move(privacyUrl)), m_agreementUrl(std::move(agreementUrl))
{
}

bool VQUpdate_MainWindow::Open()
{
    return openInstallerPopup(*this, L"云帆更新");
}

void VQUpdate_MainWindow::OnNotify(SkinUI::NotifyMsg& msg)
{
    if (msg.type == L"click") {
        const std::wstring sender = msg.sender ? msg.sender->GetName() : std::wstring();
        if (!HandleOptionsClick(sender)) return;
    }
    WindowImplBase::OnNotify(msg);
}

void VQUpdate_MainWindow::OnSkinReady()
{
    AttachIcon(kInstallerIcon);
}

LRESULT VQUpdate_MainWindow::HandleClose(UINT, WPARAM, LPARAM, bool&)
{
    endInstaller("a close message (Escape, Alt+F4)");
}

bool VQUpdate_MainWindow::HandleOptionsClick(const std::wstring& sender)
{
    if (sender == L"buttionClose") endInstaller("its close button");
    ToggleBoxOfCaption(sender);
    if (sender == L"userAgree") openWebAddress(m_agreementUrl);
    if (sender == L"privAgree") openWebAddress(m_privacyUrl);
    if (sender == L"buttonInstall" && !Install()) return false;
    if (sender == L"installpathEdit") BrowseForFolder();
    return true;
}

void VQUpdate_MainWindow::ToggleBoxOfCaption(const std::wstring& sender)
{
    for (const auto& pair : kCaptionedBoxes) {
        SkinUI::COptionUI* box = sender == pair.caption ? Box(pair.box) : nullptr;
        if (box) box->Select(!box->IsSelected(), true);
    }
}

SkinUI::COptionUI* VQUpdate_MainWindow::Box(const wchar_t* name)
{
    SkinUI::CControlUI* control = Manager().ControlByName(name);
    return control ? static_cast<SkinUI::COptionUI*>(control->QueryInterface(L"Option")) : nullptr;
}

bool VQUpdate_MainWindow::IsBoxTicked(const wchar_t* name)
{
    const SkinUI::COptionUI* box = Box(name);
    return box && box->IsSelected();
}

bool VQUpdate_MainWindow::Install()
{
    // A click queued behind one of the messages below, or reaching the hidden window, is
    // dropped: the sequence must not run inside itself or twice.
    if (!m_installGate.open()) return false;
    OnceGate::Pass pass(m_installGate);
    SkinUI::CControlUI* edit = Manager().ControlByName(L"installpath");
    const std::wstring folder = edit ? edit->GetText() : std::wstring();
    logLine("install clicked: folder " + logText(folder) + ", desktop shortcut " +
            yesNo(IsBoxTicked(L"chkDesktopOption")) + ", start menu " +
            yesNo(IsBoxTicked(L"chkMenuOption")) + ", user experience " +
            yesNo(IsBoxTicked(L"chkTaskOption")) + ", agreement " +
            yesNo(IsBoxTicked(L"chkAgreeOption")));
    const Preparation result = prepareInstall(IsBoxTicked(L"chkAgreeOption"), folder);
    if (result != Preparation::Ready) {
        showMessage(preparationMessage(result));
        // After the folder creation failed the click still goes on to the base.
        return result == Preparation::FolderNotCreated;
    }
    ShowNative(false, true);
    if (OpenDownloadWindow(folder))
        pass.succeeded();
    else
        ShowNative(true, true);  // the user gets this window back and may try again
    return true;
}

void VQUpdate_MainWindow::BrowseForFolder()
{
    const std::optional<std::wstring> folder = browseForInstallFolder();
    SkinUI::CControlUI* edit = Manager().ControlByName(L"installpath");
    if (folder && edit) edit->SetText(*folder);
}

bool VQUpdate_MainWindow::OpenDownloadWindow(const std::wstring& folder)
{
    auto download = std::make_unique<VQUpdate_Downloading>(
        m_currentVersion, IsBoxTicked(L"chkDesktopOption"), IsBoxTicked(L"chkMenuOption"),
        IsBoxTicked(L"chkTaskOption"));
    if (!download->Open()) return false;
    // Never deleted from here on: the worker and the report threads use it until the process
    // ends.
    VQUpdate_Downloading* window = download.release();
    window->startDownload(m_downloadUrl, folder);
    SetForegroundWindow(window->NativeHandle());
    return true;
}
