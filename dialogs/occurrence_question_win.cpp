#include "dialogs/occurrence_question_win.h"

#include "dialogs/dialog_frame_win.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace {

struct OccurrenceQuestion : DialogRecord<OccurrenceScope> {
    static constexpr int kTemplate = IDD_OCCURRENCE;
    bool deleting = false;

    INT_PTR init(HWND dlg) {
        SetDlgItemTextA(dlg, IDC_OCC_TEXT, deleting ? kOccurrenceDeleteQuestion : kOccurrenceChangeQuestion);
        SendMessageA(dlg, DM_SETDEFID, IDC_OCC_THIS_DAY, 0);  // Enter answers この日だけ
        return TRUE;  // the focus goes to この日だけ, the default
    }
    INT_PTR command(HWND dlg, int id, int) {
        switch (id) {
        case IDC_OCC_THIS_DAY: end_dialog(dlg, *this, OccurrenceScope::kThisDay); return TRUE;
        case IDC_OCC_ALL: end_dialog(dlg, *this, OccurrenceScope::kAll); return TRUE;
        case IDCANCEL: end_dialog(dlg, *this, OccurrenceScope::kCancel); return TRUE;
        default: return FALSE;
        }
    }
};

}  // namespace

OccurrenceScope ask_occurrence_scope(HWND owner, bool deleting) {
    OccurrenceQuestion q;
    q.deleting = deleting;
    q.result = OccurrenceScope::kCancel;
    return run_dialog(owner, q);
}
