// The splash window: created hidden, shown centred, closed on its own.
#include "app/splash_window.h"

#include "app/installer_popup.h"

namespace {

const UINT kInstallerIcon = 102;

}  // namespace

bool VQUpdate_AgreementDialg::CreateHidden()
{
    if (!createInstallerPopup(*this, L"云帆启动")) return false;
    ShowNative(false, true);
    return true;
}

void VQUpdate_AgreementDialg::ShowCentred()
{
    CenterOnOwner();
    ShowNative(true, true);
}

void VQUpdate_AgreementDialg::OnNotify(SkinUI::NotifyMsg& msg)
{
    if (msg.type == L"click" && msg.sender && msg.sender->GetName() == L"buttionIKnown")
        PostClose(1);
    WindowImplBase::OnNotify(msg);
}

void VQUpdate_AgreementDialg::OnSkinReady()
{
    AttachIcon(kInstallerIcon);
}
