// Checks and preparation of the install sequence.
#include "app/install_preparation.h"

#include "app/client_processes.h"
#include "app/install_folder.h"

Preparation prepareInstall(bool agreed, const std::wstring& folder)
{
    if (!agreed) return Preparation::NotAgreed;
    createFolderChainAnsi(folder);
    if (!pathExists(folder)) return Preparation::FolderMissing;
    const bool folderReady = isDirectory(folder);
    terminateClientProcesses();
    if (folderReady) return Preparation::Ready;
    // A path naming an existing file passes the walk; the download must not go into it.
    if (!createFolderChainWide(folder) || !isDirectory(folder))
        return Preparation::FolderNotCreated;
    return Preparation::Ready;
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
