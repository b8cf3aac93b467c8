#include "util/new_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "util/win32/handles.h"

namespace vimbrel {

namespace {

void SetErrnoFromLastError() {
    switch (::GetLastError()) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: errno = EEXIST; break;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND: errno = ENOENT; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: errno = ENOSPC; break;
    default: errno = EACCES; break;
    }
}

}  // namespace

std::FILE* CreateNewFile(const std::string& path) {
    // CREATE_NEW fails on any existing name, links included. Sharing delete lets the
    // interruption handler remove the file while it is being written.
    win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        SetErrnoFromLastError();
        return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file.get()), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        file.reset();
        ::DeleteFileA(path.c_str());
        return nullptr;
    }
    file.release();  // the descriptor owns it now
    std::FILE* f = ::_fdopen(fd, "wb");
    if (!f) {
        ::_close(fd);
        ::DeleteFileA(path.c_str());
    }
    return f;
}

bool MoveFileInto(const std::string& from, const std::string& to, bool replace) {
    // A read-only file stays, as it would if written in place (Wine's MoveFileEx would
    // replace it). MoveFileEx never replaces a folder.
    const DWORD attributes = ::GetFileAttributesA(to.c_str());
    if (replace && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return false;
    }
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (::MoveFileExA(from.c_str(), to.c_str(), flags)) return true;
    SetErrnoFromLastError();
    return false;
}

}  // namespace vimbrel
