// Pieces of the main window procedure, shared by its source files.
#pragma once

#include <windows.h>

struct LocalTime;

// main_window.cpp
void repaint(HWND hwnd);                 // invalidate all with erase, then paint now
void place_main_window(HWND hwnd);       // from the window set in the settings
void apply_z_order(HWND hwnd);           // topmost when `front` is 8
int screen_width();
int screen_height();

// main_menus.cpp
void menus_build();                      // menu bar holding menu 210, check marks
void menus_show_checks();               // items 143 and 146 from `front` and `titlebar`
void menus_attach(HWND hwnd);            // the menu bar, or none without a title bar
void menus_destroy(HWND hwnd);
void menus_show_hidden_state(bool hidden);  // item 141's text and the greyed items
void show_main_popup(HWND hwnd, POINT screen_pt);

// main_commands.cpp: false when id is not one of the window's commands.
bool main_command(HWND hwnd, int id);
void save_position(HWND hwnd);

// main_mouse.cpp
LRESULT on_mouse_move(HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_lbutton_down(HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_lbutton_up(HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_rbutton_down(HWND hwnd, WPARAM wp, LPARAM lp);
LRESULT on_rbutton_up(HWND hwnd, WPARAM wp, LPARAM lp);

// main_tick.cpp: one tick; returns the index of the alarm it found due, or -1.
int main_tick(HWND hwnd);

// main_paint.cpp
void main_paint(HWND hwnd);
// Draws month button which (0 left, 1 right) in its rectangle, pressed or not; with no dc
// it draws straight onto the main window.
void draw_arrow_button(HDC dc, int which, int pressed);
