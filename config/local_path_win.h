// The drive question of local_path.h asked of the system: GetDriveTypeA of the drive's root.
#pragma once

#include "config/local_path.h"

// The kind of drive letter on this machine (context unused).
DriveKind drive_kind_win(void* context, char letter);
DriveQuestion drive_question_win();

// Whether a path from outside names a file on a local fixed disk of this machine.
bool local_fixed_file_win(const char* path);
