#pragma once
// Files that only ever appear complete: written under a name of their own that nothing
// else had, then moved onto the real name in one step.
#include <cstdio>
#include <string>

namespace vimbrel {

// Opens a new file for writing in binary. Fails (nullptr, errno EEXIST) when anything
// already has that name, a link included, so nothing pre-existing is ever written through.
// Other processes may delete the file while it is open.
std::FILE* CreateNewFile(const std::string& path);

// Moves the file `from` to the name `to` in one step; with `replace` an existing file
// there is replaced unless it is read-only, without it the move fails when `to` exists.
// Never replaces a folder.
// False on failure, with errno set.
bool MoveFileInto(const std::string& from, const std::string& to, bool replace);

}  // namespace vimbrel
