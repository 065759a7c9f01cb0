// The legacy registry key through the registry API. The key is opened with
// full access and closed again on every call.
#include <windows.h>

#include "config/handles_win.h"
#include "schedule/legacy_registry.h"

namespace {

const char kKey[] = "Software\\Quorvane\\Zelmar";

class Win32LegacyRegistry : public LegacyRegistry {
public:
    bool read_value(const char* name, void* buf, size_t size, size_t* len) override {
        OwnedRegKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS)
            return false;
        DWORD got = static_cast<DWORD>(size);
        // ERROR_MORE_DATA for a value longer than size: it counts as missing.
        if (RegQueryValueExA(key.get(), name, nullptr, nullptr, static_cast<BYTE*>(buf), &got) !=
            ERROR_SUCCESS)
            return false;
        *len = got;
        return true;
    }
    bool delete_key() override { return RegDeleteKeyA(HKEY_CURRENT_USER, kKey) == ERROR_SUCCESS; }
};

}  // namespace

LegacyRegistry* legacy_registry_win() {
    static Win32LegacyRegistry reg;
    return &reg;
}
