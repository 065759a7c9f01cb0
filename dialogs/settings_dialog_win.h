// The detailed settings dialog (IDD_SETTINGS): display options, clock options and the
// background image. OK and 更新 write the settings record it is handed; 更新 also has its
// owner apply them at once, through the callback it is handed, while the dialog stays open.
#pragma once

#include <windows.h>

#include <cstddef>

struct Settings;

// What 更新 runs after writing the record: fn(context, the dialog), the dialog being the
// window to own anything it says.
struct SettingsApply {
    void (*fn)(void* context, HWND dialog);
    void* context;
};

// The image chooser's filter text of every format the program reads (kImageFilterSize bytes
// at most): fn(context, out, size) writes it once the formats can be read, waiting for
// whatever still loads them. Without fn the chooser lists no formats.
struct ImageFormats {
    void (*fn)(void* context, char* out, size_t size);
    void* context;
};

// Modal over owner on *settings. True after OK (the owner then applies the record), false
// after ｷｬﾝｾﾙ; what 更新 wrote and applied before stays.
bool settings_dialog(HWND owner, Settings* settings, const SettingsApply& apply,
                     const ImageFormats& formats);
