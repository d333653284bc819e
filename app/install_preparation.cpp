// Checks and preparation of the install sequence.
#include "app/install_preparation.h"

#include "app/client_processes.h"
#include "app/install_folder.h"
#include "app/support_log.h"

#include <string>

namespace {

Preparation logged(Preparation result, const char* what)
{
    logLine(std::string("preparation: ") + what);
    return result;
}

}  // namespace

Preparation prepareInstall(bool agreed, const std::wstring& folder)
{
    if (!agreed) return logged(Preparation::NotAgreed, "the agreement box is not ticked");
    createFolderChainAnsi(folder);
    if (!pathExists(folder)) return logged(Preparation::FolderMissing, "the folder is missing");
    const bool folderReady = isDirectory(folder);
    terminateClientProcesses();
    if (folderReady) return logged(Preparation::Ready, "the folder is ready");
    // A path naming an existing file passes the walk; the download must not go into it.
    if (!createFolderChainWide(folder) || !isDirectory(folder))
        return logged(Preparation::FolderNotCreated, "the path is no folder and none was made");
    return logged(Preparation::Ready, "the folder is ready after a second pass");
}

PreparationMessage preparationMessage(Preparation result)
{
    switch (result) {
    case Preparation::NotAgreed: return {L"请阅读用户隐私协议并勾选", L"警告"};
    case Preparation::FolderMissing: return {L"当路径不存在，请重新设置", L"错误"};
    case Preparation::FolderNotCreated: return {L"安装目录不存在，创建失败", L"错误"};
    case Preparation::Ready: break;
    }
    return {nullptr, nullptr};
}
