// The legacy registry key through the registry API. The key is opened with
// full access and closed again on every call.
#include <windows.h>

#include "schedule/legacy_registry.h"

namespace {

const char kKey[] = "Software\\Quorvane\\Zelmar";

class Win32LegacyRegistry : public LegacyRegistry {
public:
    bool read_value(const char* name, void* buf, size_t size, size_t* len) override {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return false;
        DWORD got = static_cast<DWORD>(size);
        const LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE*>(buf), &got);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return false;  // missing, or longer than size
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
