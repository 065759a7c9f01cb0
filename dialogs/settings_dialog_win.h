// The detailed settings dialog (template 211): display options, clock options and the
// background image. OK and 更新 write the settings record; 更新 also asks the owner to apply
// them at once (command 3) while the dialog stays open.
#pragma once

#include <windows.h>

// Modal over owner. 1 after OK (the owner then applies the settings), 0 after ｷｬﾝｾﾙ; what
// 更新 applied before stays applied.
INT_PTR settings_dialog(HWND owner);
