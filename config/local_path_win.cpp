#include "config/local_path_win.h"

#include <windows.h>

DriveKind drive_kind_win(void*, char letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    switch (GetDriveTypeA(root)) {
    case DRIVE_FIXED:
        return DriveKind::kFixed;
    case DRIVE_REMOTE:
        return DriveKind::kRemote;
    default:
        return DriveKind::kOther;
    }
}

DriveQuestion drive_question_win() {
    DriveQuestion q;
    q.kind = drive_kind_win;
    return q;
}

bool local_fixed_file_win(const char* path) { return local_fixed_file(path, drive_question_win()); }
