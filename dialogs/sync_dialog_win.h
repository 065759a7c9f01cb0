// The sync settings dialog (IDD_SYNC): the calendar's address (a calendar, or a server whose
// calendars 探す lists for the user to choose from), the user name and the password, and
// whether and how often the program syncs by itself. The password goes to the Windows
// Credential Manager, never to the settings record. The search runs on a thread of its own:
// the dialog never waits for the network.
#pragma once

#include <windows.h>

#include "config/sync_settings.h"

// Modal over owner. On OK the settings record is changed (the caller saves it) and the
// password stored for the address's server (removed with an empty password, and from a
// server no longer used); true then. Cancel changes nothing.
bool sync_settings_dialog(HWND owner, SyncSettings* settings);
