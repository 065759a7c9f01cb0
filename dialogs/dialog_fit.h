// How a dialog fits the work area of its monitor: a dialog taller than the work area gives up
// height from the one part of it that can do with less (the schedule dialog's entry list),
// the controls below that part moving up by as much, never below the least that part keeps;
// and every dialog is moved, not resized, so that it lies within the work area (its top-left
// corner inside when it is still larger).
#pragma once

#include "dialogs/alarm_layout.h"  // ScreenRect

// Pixels the stretchable part (part_h tall, keeping at least min_part_h) gives up so that a
// dialog dialog_h tall fits a work area work_h tall; 0 when it fits already.
int dialog_shrink(int dialog_h, int work_h, int part_h, int min_part_h);

// The dialog's rectangle moved into the work area.
ScreenRect dialog_within(const ScreenRect& dialog, const ScreenRect& work);
