// The list views of the schedule lists: the holiday image list from IDB_HOLIDAY_IMAGES, columns
// from a column table, rows of texts with their holiday image.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "config/handles_win.h"
#include "dialogs/schedule_lists.h"

// IDB_HOLIDAY_IMAGES cut into 16 x 16 images (grow count 2, pure green transparent): image 0
// empty, image 1 the red holiday flag. Null when it cannot be made.
HIMAGELIST holiday_image_list_create();

// A list view's holiday images for the life of its dialog: set as the small image list of a
// list that shares it (LVS_SHAREIMAGELISTS: the list never destroys it), and destroyed with
// the dialog's record, after the window. Taking the list back from a list of many rows while
// the dialog closes would lay all its rows out again at the new row height.
class ListImages {
public:
    void attach(HWND list);

private:
    OwnedImageList images_;
};

// Inserts the columns of the table; fixed widths are the pixel width of the sample text
// plus the extra pixels.
void list_view_add_columns(HWND list, const ListColumn* columns, int count);
// Appends a row: texts[0] (may be empty) with the image, texts[1..count-1] in the subitems,
// and param kept with the row.
void list_view_append_row(HWND list, int image, const char* const* texts, int count,
                          LPARAM param = 0);
// The param of a row; 0 for none.
LPARAM list_view_row_param(HWND list, int row);
// Sizes the columns that fit to their widest text (the sample's width at the least), then
// the columns marked autosize to their contents and header.
void list_view_autosize(HWND list, const ListColumn* columns, int count);
// Widens column i to the width of sample (plus the column's extra) when it is narrower.
void list_view_widen(HWND list, const ListColumn* columns, int i, const char* sample);
