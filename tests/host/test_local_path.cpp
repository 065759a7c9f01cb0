// Which paths from outside may be opened: a file on a local fixed disk only, whatever
// spelling a share, a device or a URL comes in.
#include <gtest/gtest.h>

#include <string>

#include "config/local_path.h"

namespace {

// C: and D: fixed, N: mapped to a share, every other letter removable or missing. Each
// question is noted, so that the letter asked can be checked.
struct Drives {
    std::string asked;
    static DriveKind kind(void* context, char letter) {
        Drives* d = static_cast<Drives*>(context);
        d->asked += letter;
        if (letter == 'C' || letter == 'D') return DriveKind::kFixed;
        if (letter == 'N') return DriveKind::kRemote;
        return DriveKind::kOther;
    }
    DriveQuestion question() {
        DriveQuestion q;
        q.kind = kind;
        q.context = this;
        return q;
    }
};

const char* name_of(PathPlace p) {
    switch (p) {
    case PathPlace::kLocalFixed: return "local";
    case PathPlace::kEmpty: return "empty";
    case PathPlace::kRelative: return "relative";
    case PathPlace::kNetwork: return "network";
    case PathPlace::kDevice: return "device";
    case PathPlace::kUrl: return "url";
    case PathPlace::kNotFixed: return "not fixed";
    case PathPlace::kMalformed: return "malformed";
    }
    return "?";
}

TEST(LocalPath, EverySpelling) {
    const struct {
        const char* path;
        PathPlace want;
    } cases[] = {
        // Local files, in either separator, any letter case, with double-byte names whose
        // second byte is "\" (表, ソ).
        {"C:\\Sounds\\bell.wav", PathPlace::kLocalFixed},
        {"c:/sounds/bell.wav", PathPlace::kLocalFixed},
        {"D:\\表\\ソ.wav", PathPlace::kLocalFixed},
        {"C:\\a\\..\\b\\.\\c.wav", PathPlace::kLocalFixed},
        {"C:\\\\a.wav", PathPlace::kLocalFixed},
        {"C:\\COMX.wav", PathPlace::kLocalFixed},
        {"C:\\console.wav", PathPlace::kLocalFixed},
        {"C:\\com10.wav", PathPlace::kLocalFixed},
        {"C:\\nul2\\a.wav", PathPlace::kLocalFixed},
        {"C:\\表CON", PathPlace::kLocalFixed},
        // Shares: UNC in every spelling, and a drive mapped to one.
        {"\\\\server\\share\\a.wav", PathPlace::kNetwork},
        {"\\\\10.9.9.9\\share\\ring.wav", PathPlace::kNetwork},
        {"//server/share/a.wav", PathPlace::kNetwork},
        {"\\/server/a.wav", PathPlace::kNetwork},
        {"/\\server\\a.wav", PathPlace::kNetwork},
        {"\\\\?\\UNC\\server\\share\\a.wav", PathPlace::kNetwork},
        {"\\\\?\\unc/server/a.wav", PathPlace::kNetwork},
        {"\\\\.\\UNC\\server\\a.wav", PathPlace::kNetwork},
        {"//?/UNC/server/a.wav", PathPlace::kNetwork},
        {"\\\\", PathPlace::kNetwork},
        {"N:\\a.wav", PathPlace::kNetwork},
        {"n:/a.wav", PathPlace::kNetwork},
        // Device and object namespaces, device names, streams.
        {"\\\\?\\C:\\a.wav", PathPlace::kDevice},
        {"\\\\.\\C:\\a.wav", PathPlace::kDevice},
        {"\\\\.\\pipe\\x", PathPlace::kDevice},
        {"\\\\?\\UNCX\\a.wav", PathPlace::kDevice},
        {"\\\\?\\GLOBALROOT\\Device\\Mup\\server\\a.wav", PathPlace::kDevice},
        {"\\??\\UNC\\server\\a.wav", PathPlace::kDevice},
        {"/??/C:/a.wav", PathPlace::kDevice},
        {"C:\\CON", PathPlace::kDevice},
        {"C:\\x\\nul.wav", PathPlace::kDevice},
        {"C:\\com1.wav", PathPlace::kDevice},
        {"C:\\LPT9", PathPlace::kDevice},
        {"C:\\aux .wav", PathPlace::kDevice},
        {"C:\\prn.", PathPlace::kDevice},
        {"C:\\CONIN$", PathPlace::kDevice},
        {"C:\\conout$.wav", PathPlace::kDevice},
        {"C:\\CON\\a.wav", PathPlace::kDevice},
        {"C:\\a.wav:stream", PathPlace::kDevice},
        {"C:\\a.wav::$DATA", PathPlace::kDevice},
        // URLs: the caller turns a file URL into a path first.
        {"file:///C:/a.wav", PathPlace::kUrl},
        {"file://server/share/a.wav", PathPlace::kUrl},
        {"FILE:C:/a.wav", PathPlace::kUrl},
        {"http://example.com/a.wav", PathPlace::kUrl},
        {"smb://server/a.wav", PathPlace::kUrl},
        {"ms-settings:x", PathPlace::kUrl},
        // Relative to a folder that changes.
        {"a.wav", PathPlace::kRelative},
        {"Sounds\\a.wav", PathPlace::kRelative},
        {"..\\a.wav", PathPlace::kRelative},
        {"\\a.wav", PathPlace::kRelative},
        {"/a.wav", PathPlace::kRelative},
        {"C:a.wav", PathPlace::kRelative},
        {"C:", PathPlace::kRelative},
        {"1:\\a.wav", PathPlace::kRelative},
        {"表:\\a.wav", PathPlace::kRelative},
        // Other drives.
        {"E:\\a.wav", PathPlace::kNotFixed},
        {"z:\\a.wav", PathPlace::kNotFixed},
        // Neither.
        {"", PathPlace::kEmpty},
        {"C:\\a\tb.wav", PathPlace::kMalformed},
        {"C:\\a\x7f.wav", PathPlace::kMalformed},
        {"\\\\server\\a\r\n", PathPlace::kMalformed},
        {"C:\\a\x95", PathPlace::kMalformed},  // a lead byte without its second byte
        {"C:\\a*.wav", PathPlace::kMalformed},
        {"C:\\a?.wav", PathPlace::kMalformed},
        {"C:\\\"a\".wav", PathPlace::kMalformed},
        {"C:\\a|b.wav", PathPlace::kMalformed},
    };
    for (const auto& c : cases) {
        Drives d;
        EXPECT_STREQ(name_of(local_path_place(c.path, d.question())), name_of(c.want)) << c.path;
        EXPECT_EQ(local_fixed_file(c.path, d.question()), c.want == PathPlace::kLocalFixed)
            << c.path;
    }
}

TEST(LocalPath, AsksForTheDriveInUpperCaseOnlyForADrivePath) {
    const struct {
        const char* path;
        const char* asked;
    } cases[] = {
        {"c:\\a.wav", "C"},   {"N:\\a.wav", "N"},      {"\\\\server\\a.wav", ""},
        {"C:\\CON", ""},      {"file:///C:/a", ""},    {"C:a.wav", ""},
    };
    for (const auto& c : cases) {
        Drives d;
        local_path_place(c.path, d.question());
        EXPECT_EQ(d.asked, c.asked) << c.path;
    }
}

TEST(LocalPath, WithoutAnAnswerNoDriveIsFixed) {
    EXPECT_EQ(local_path_place("C:\\a.wav", DriveQuestion{}), PathPlace::kNotFixed);
    EXPECT_EQ(local_path_place(nullptr, DriveQuestion{}), PathPlace::kEmpty);
}

}  // namespace
