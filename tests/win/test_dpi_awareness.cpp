// The program declares itself aware of each monitor's DPI (of the system DPI where the system
// knows no more), so the system never stretches its window as a bitmap; the month view's text
// sizes itself from the window alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/month_layout.h"

namespace {

std::string manifest() {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC r = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    if (!r) return "";
    HGLOBAL g = LoadResource(self, r);
    const char* p = g ? static_cast<const char*>(LockResource(g)) : nullptr;
    return p ? std::string(p, SizeofResource(self, r)) : "";
}

TEST(DpiAwareness, ManifestDeclaresIt) {
    const std::string m = manifest();
    ASSERT_FALSE(m.empty());
    const struct {
        const char* what;
        const char* text;
    } wants[] = {
        {"common controls 6",
         "name=\"Microsoft.Windows.Common-Controls\"\n                        version=\"6.0.0.0\""},
        {"settings namespace", "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">"},
        {"system DPI aware",
         "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"},
        {"aware of each monitor's DPI",
         "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"},
    };
    for (const auto& w : wants) EXPECT_NE(m.find(w.text), std::string::npos) << w.what;
}

TEST(DpiAwareness, MonthTextFollowsTheWindowNotTheDpi) {
    // The same client size gives the same font at any DPI: there is no DPI in the layout.
    struct Case {
        int w, h, day_font;
    } cases[] = {{340, 340, -28}, {510, 510, -42}, {680, 680, -56}};
    for (const Case& c : cases) {
        const MonthFrame f = month_frame({0, 0, c.w, c.h}, 0, 0);
        EXPECT_EQ(f.day_font_height, c.day_font) << c.w;
    }
}

}  // namespace
