// The display-month dialog (IDD_DISPLAY_MONTH): the month on show is typed or stepped, and every valid
// change is put on show at once.
#pragma once

#include <windows.h>

#include "dialogs/view_state.h"

// Modal over main_window, which is repainted after every change while the dialog is open.
// The view's month on show is changed in place; it stays within January 1980 to December
// 2079. Only a valid OK closes the dialog (Esc does nothing); an invalid one
// says so and puts back the month that was on show at opening.
void display_month_dialog(HWND main_window, ViewState& view);
