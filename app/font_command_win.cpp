#include "app/font_command_win.h"

#include <cstring>

#include "app/app_win.h"
#include "app/save_notice_win.h"
#include "config/cp932.h"
#include "config/handles_win.h"
#include "config/settings.h"
#include "dialogs/font_dialog_win.h"

namespace {

int screen_logpixels_y() {
    WindowDC dc(nullptr);
    return dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
}

LOGFONTA dialog_logfont(const FontChoice& c) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = font_dialog_height(screen_logpixels_y());
    lf.lfWeight = c.weight;
    lf.lfItalic = static_cast<BYTE>(c.italic);
    lf.lfCharSet = static_cast<BYTE>(c.charset);
    cp932_copy(lf.lfFaceName, sizeof lf.lfFaceName, c.face);
    return lf;
}

}  // namespace

void choose_font(HWND hwnd) {
    const FontChoice before = font_choice_of(settings);
    LOGFONTA lf = dialog_logfont(before);
    if (!font_dialog(hwnd, app_instance(), &lf)) {
        font_apply(hwnd, before);
        return;
    }
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    font_apply(hwnd, font_choice(lf.lfCharSet, lf.lfWeight, lf.lfItalic, lf.lfFaceName));
    report_save_result(hwnd, settings_save());
}
