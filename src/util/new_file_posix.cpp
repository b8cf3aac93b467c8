#include "util/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vimbrel {

std::FILE* CreateNewFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        const int saved = errno;
        ::close(fd);
        ::unlink(path.c_str());
        errno = saved;
    }
    return f;
}

bool MoveFileInto(const std::string& from, const std::string& to, bool replace) {
    if (replace) {
        // A file we could not write in place stays, as it would if written in place.
        if (::access(to.c_str(), W_OK) != 0 && errno != ENOENT) return false;
        // rename() refuses to put a file in a folder's place (EISDIR).
        return ::rename(from.c_str(), to.c_str()) == 0;
    }
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the exclusive rename: a hard link is just as exclusive.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

}  // namespace vimbrel
