#include "settings/win32/registry_store.h"

#include <vector>

#include "util/errors.h"
#include "util/text.h"

namespace vimbrel::win32 {

WinRegistryStore::WinRegistryStore(HKEY root, const std::string& keyPath) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS)
        key_.reset(key);
}

std::string WinRegistryStore::Read(const std::string& name) {
    if (!key_)
        return {};
    std::vector<char> buffer(256);
    for (;;) {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size());
        LONG rc = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                     &size);
        if (rc == ERROR_MORE_DATA) {
            buffer.resize(size + 1);
            continue;
        }
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        std::string value(buffer.data(), std::min<std::size_t>(size, buffer.size()));
        TrimAtNul(value);
        return value;
    }
}

void WinRegistryStore::Write(const std::string& name, const std::string& value) {
    if (!key_)
        throw ERegistryException("Failed to set data for '" + name + "'");
    if (::RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

}  // namespace vimbrel::win32
