// How a dialog fits the work area of its monitor: a dialog taller than the work area gives up
// height from the one part of it that can do with less (the schedule dialog's entry list),
// the controls below that part moving up by as much, never below the least that part keeps;
// a dialog still larger than the work area (a template of fixed layout at a large DPI on a
// small screen) is squeezed, its controls drawn together in the direction it exceeds by the
// few per cent it lacks, each keeping its size; and every dialog is moved so that it lies within the work
// area (its top-left corner inside should it still be larger).
#pragma once

#include "dialogs/alarm_layout.h"  // ScreenRect

// Pixels the stretchable part (part_h tall, keeping at least min_part_h) gives up so that a
// dialog dialog_h tall fits a work area work_h tall; 0 when it fits already.
int dialog_shrink(int dialog_h, int work_h, int part_h, int min_part_h);

// The room the client area has in one direction: client less what the dialog (dialog, its
// outer size) exceeds the work area (work) by; client when it fits.
int client_room(int client, int dialog, int work);

// A child's edge at v in a client extent from, put where it lies in the extent to (at most
// from: nothing grows).
int squeezed_edge(int v, int from, int to);

// A child's extent [lo, hi) in one direction squeezed from a client extent from into to: a
// frame (a group box, holding others) has both edges squeezed; any other child keeps its size
// from its squeezed start, so that no text loses room, and gives up only what would cross
// the end of the room.
struct Span {
    int lo, hi;
};
Span squeezed_span(Span s, int from, int to, bool frame);

// The dialog's rectangle moved into the work area.
ScreenRect dialog_within(const ScreenRect& dialog, const ScreenRect& work);
