// Whether a path that came from a file (an imported calendar, a settings file) names a file
// on a local fixed disk, so that opening it cannot reach the network: no UNC path in any
// spelling, no device or object namespace, no URL, no drive the platform reports as mapped
// to a share or removable. The path is code page 932; the drive's kind is asked of the
// platform through the function handed in.
#pragma once

#include <cstddef>

enum class DriveKind {
    kFixed,   // a local fixed disk
    kRemote,  // mapped to a network share
    kOther,   // removable, optical, RAM disk, no such drive, unknown
};

// The platform's answer for a drive letter 'A'..'Z' (upper case).
struct DriveQuestion {
    DriveKind (*kind)(void* context, char letter) = nullptr;  // nullptr: no drive is fixed
    void* context = nullptr;
};

enum class PathPlace {
    kLocalFixed,  // "X:\..." on a fixed drive, plain file names only
    kEmpty,
    kRelative,    // "a.wav", "\a.wav", "C:a.wav": resolved against a folder that changes
    kNetwork,     // \\host\share, //host/share, \\?\UNC\..., a drive mapped to a share
    kDevice,      // \\.\..., \\?\..., \??\..., a device name (CON, NUL, COM1...), a stream
    kUrl,         // a scheme such as http: or file: (the caller turns a file URL into a path)
    kNotFixed,    // a drive that is no local fixed disk
    kMalformed,   // control characters, a double-byte character cut short, "*?\"<>|"
};

PathPlace local_path_place(const char* path, const DriveQuestion& drives);

// The one question callers ask: may a file from outside be opened by this path?
inline bool local_fixed_file(const char* path, const DriveQuestion& drives) {
    return local_path_place(path, drives) == PathPlace::kLocalFixed;
}
