#include "desktop/win32/browse_folder.h"

#include "util/win32/com_handles.h"
#include "util/win32/handles.h"
#include "util/win32/modal.h"

namespace vimbrel::win32 {

bool TBrowseForFolderDialog::Execute() {
    BROWSEINFOA info = {};
    info.hwndOwner = ::GetActiveWindow();
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName_;
    info.lpszTitle = prompt_.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = nullptr;
    ModalScope modal;
    CoTaskMemPtr<ITEMIDLIST> item(::SHBrowseForFolderA(&info));
    if (!item)
        return false;
    char buffer[MAX_PATH] = {};
    path_ = ::SHGetPathFromIDListA(item.get(), buffer) ? buffer : "";
    return true;
}

}  // namespace vimbrel::win32
