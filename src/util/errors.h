#pragma once
// Exception types shared by the subsystems. The application's handler drops
// ERegistryException silently and shows every other one.
#include <stdexcept>
#include <string>

namespace vimbrel {

// A registry key could not be opened, or a value could not be read or written.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be read or written ("Error writing to C:\x").
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A folder could not be created ("Unable to create directory").
class EFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vimbrel
