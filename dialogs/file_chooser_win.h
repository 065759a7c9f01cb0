// File choosers over the common open-file and save-file dialogs.
#pragma once

#include <windows.h>

#include <cstddef>

// Opens the open-file dialog on the current path (path, size bytes) with the given title
// and filter ("name|pattern|…||", changed in place into the dialog's list) and filter
// index (at least 1). True when a file was chosen: path then holds it, cut to size on a
// character boundary. False on cancel or failure, path unchanged.
// With remembered_dir (not nullptr), a path naming no folder opens it in remembered_dir or
// else in the user's Documents folder (chooser_start_dir).
bool choose_file(HWND owner, const char* title, char* path, size_t size, char* filter,
                 int filter_index, const char* remembered_dir = nullptr);

// choose_file with the title and the filter loaded from string resources.
bool choose_file_from_resources(HWND owner, UINT title_id, char* path, size_t size,
                                UINT filter_id, int filter_index);

// Opens the save-file dialog with the given title, filter and filter index, in the folder of
// the file chosen last (path, "" for none) with that file's name, or default_name. A name
// typed without an extension gets that of the filter entry; a file that exists already is
// replaced only once the dialog has asked. True when a file was chosen: path then holds it.
// False on cancel, on failure, or when the chosen path does not fit size (path unchanged).
// remembered_dir as for choose_file.
bool choose_save_file(HWND owner, const char* title, char* path, size_t size,
                      const char* default_name, char* filter, int filter_index,
                      const char* remembered_dir = nullptr);

// The user's Documents folder (code page 932) into dir; empty when the system names none.
void documents_folder(char* dir, size_t size);
