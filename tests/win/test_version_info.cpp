// The version from its one definition: the version resources of the program and of the
// image plug-in, and the version text of IDS_VERSION, all say the same.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "resources/version.h"
#include "tests/win/win_scratch.h"

namespace {

struct VersionInfo {
    bool ok = false;
    VS_FIXEDFILEINFO fixed{};
    std::string file_version, original_name, description;
};

std::string string_value(std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT size = 0;
    const std::string key = std::string("\\StringFileInfo\\041103a4\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &size) || !value) return "";
    return value;
}

VersionInfo version_of(const std::string& path) {
    VersionInfo v;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return v;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return v;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT n = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &n) || n < sizeof *fixed) return v;
    v.fixed = *fixed;
    v.file_version = string_value(block, "FileVersion");
    v.original_name = string_value(block, "OriginalFilename");
    v.description = string_value(block, "FileDescription");
    v.ok = true;
    return v;
}

}  // namespace

TEST(VersionInfo, ProgramAndPluginCarryTheOneVersion) {
    struct Case {
        const char* file;
        const char* original_name;
        DWORD type;
    };
    const Case cases[] = {
        {"Zelmar.exe", "Zelmar.exe", VFT_APP},
        {"ZIMAGE.SPI", "ZIMAGE.SPI", VFT_DLL},
    };
    const DWORD version = MAKELONG(ZELMAR_VERSION_MINOR, ZELMAR_VERSION_MAJOR);
    for (const Case& c : cases) {
        const VersionInfo v = version_of(win_test::exe_dir() + c.file);
        ASSERT_TRUE(v.ok) << c.file;
        EXPECT_EQ(v.fixed.dwFileVersionMS, version) << c.file;
        EXPECT_EQ(v.fixed.dwProductVersionMS, version) << c.file;
        EXPECT_EQ(v.fixed.dwFileVersionLS, 0u) << c.file;
        EXPECT_EQ(v.fixed.dwFileType, c.type) << c.file;
        EXPECT_EQ(v.file_version, ZELMAR_VERSION_TEXT) << c.file;
        EXPECT_EQ(v.original_name, c.original_name) << c.file;
        // A Japanese text: it names the program as every other one does.
        EXPECT_EQ(v.description.compare(0, 11, "Tavelspore "), 0) << c.file << ": " << v.description;
    }
}

TEST(VersionInfo, StringTenEndsInTheVersion) {
    char text[256] = "";
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_VERSION, text, sizeof text), 0);
    EXPECT_EQ(std::string(text), std::string("Zelmar.exe Version ") + ZELMAR_VERSION_TEXT);
}

// The manifest is a plain file the resource script embeds; its assembly version must follow.
TEST(VersionInfo, ManifestCarriesTheVersion) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC r = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(r, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(self, r)));
    ASSERT_NE(data, nullptr);
    const std::string manifest(data, SizeofResource(self, r));
    const std::string identity = std::string("name=\"Tarse.Zelmar\" version=\"") + ZELMAR_VERSION_TEXT + ".0.0\"";
    EXPECT_NE(manifest.find(identity), std::string::npos) << manifest.substr(0, 300);
}
