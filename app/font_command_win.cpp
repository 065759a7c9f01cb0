#include "app/font_command_win.h"

#include "app/app_win.h"
#include "app/save_notice_win.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "dialogs/font_dialog_win.h"

namespace {

int screen_logpixels_y() {
    WindowDC dc(nullptr);
    return dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
}

}  // namespace

void choose_font(Settings* settings, HWND hwnd) {
    const FontChoice before = font_choice_of(*settings);
    FontChoice chosen;
    if (!font_dialog(hwnd, app_instance(), settings, before,
                     font_dialog_height(screen_logpixels_y()), &chosen)) {
        font_apply(settings, hwnd, before);
        return;
    }
    font_apply(settings, hwnd, chosen);
    report_save_result(hwnd, settings_save(*settings));
}
