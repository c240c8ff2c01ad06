#include "sysinfo/registry_accessor.h"

#include "core/app_error.h"

namespace {

// The masks a read-only open tries, widest first.
constexpr REGSAM kReadOnlyMasks[] = {KEY_READ, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                                     KEY_QUERY_VALUE};

}  // namespace

bool RegistryAccessor::OpenKey(const std::string& path, REGSAM access) {
    key_.Reset(registry_.Open(root_, path, access | view_));
    return key_.Get() != nullptr;
}

bool RegistryAccessor::OpenKeyReadOnly(const std::string& path) {
    for (REGSAM access : kReadOnlyMasks)
        if (OpenKey(path, access))
            return true;
    return false;
}

DWORD RegistryAccessor::KeyCount() { return key_.Get() ? registry_.SubkeyCount(key_.Get()) : 0; }

std::string RegistryAccessor::ReadString(const std::string& name) {
    const platform::RegistryValue value = registry_.Read(key_.Get(), name);
    if (!value.exists || value.data.empty())
        return {};
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        throw AppError::Format("Invalid data type for '%s'", name);
    return value.data.substr(0, value.data.find('\0'));
}

bool RegistryAccessor::ValueExists(const std::string& name) { return registry_.Read(key_.Get(), name).exists; }
