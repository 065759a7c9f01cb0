// The dialogs the main window opens, all from dialogs/.
#pragma once

#include <windows.h>

#include "dialogs/about_box_win.h"
#include "dialogs/day_contents_win.h"
#include "dialogs/display_month_win.h"
#include "dialogs/message_box_win.h"
#include "dialogs/recent_schedule_win.h"
#include "dialogs/schedule_dialog_win.h"
#include "dialogs/settings_dialog_win.h"
#include "dialogs/view_state.h"
