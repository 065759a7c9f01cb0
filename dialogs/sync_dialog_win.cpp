#include "dialogs/sync_dialog_win.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "config/utf16_win.h"
#include "config/window_messages_win.h"
#include "dialogs/dialog_frame_win.h"
#include "dialogs/message_box_win.h"
#include "dialogs/sync_dialog.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "schedule/credentials_win.h"
#include "schedule/sync_notice.h"
#include "schedule/dav_discovery.h"
#include "schedule/dav_xml_win.h"
#include "schedule/http_client_win.h"
#include "schedule/worker_task_win.h"

namespace {

std::wstring field_wide(HWND dlg, int id) {
    HWND c = GetDlgItem(dlg, id);
    const int n = c ? GetWindowTextLengthW(c) : 0;
    if (n <= 0) return std::wstring();
    std::wstring w((size_t)n + 1, L'\0');
    const int got = GetWindowTextW(c, &w[0], n + 1);
    w.resize(got > 0 ? (size_t)got : 0);
    return w;
}

std::string field_utf8(HWND dlg, int id) { return utf8_of(field_wide(dlg, id)); }

std::string field_ansi(HWND dlg, int id) {
    char text[16] = "";
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

// What a search hands back; shared with its thread, which may outlive the dialog.
struct Search {
    HttpClientSettings http;
    std::string address;
    DavDiscovery found;
};

struct SyncDialog : DialogRecord<bool> {
    static constexpr int kTemplate = IDD_SYNC;
    SyncSettings* settings = nullptr;
    bool plain_confirmed = false;  // for the address as last asked
    std::string confirmed_address;
    WorkerTask* task = nullptr;
    std::shared_ptr<Search> search;
    std::vector<std::string> calendars;  // URLs of the list's rows

    INT_PTR init(HWND dlg);
    INT_PTR command(HWND dlg, int id, int code);
    INT_PTR message(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
};

struct Fields {
    std::string address, user, password, interval;
    SyncFields view() const { return {address.c_str(), user.c_str(), password.c_str(), interval.c_str()}; }
};

Fields read_fields(HWND dlg) {
    Fields f;
    f.address = field_utf8(dlg, IDC_SYNC_ADDRESS);
    f.user = field_utf8(dlg, IDC_SYNC_USER);
    f.password = field_utf8(dlg, IDC_SYNC_PASSWORD);
    f.interval = field_ansi(dlg, IDC_SYNC_INTERVAL);
    return f;
}

void show_buttons(HWND dlg, const SyncDialog& d) {
    const Fields f = read_fields(dlg);
    EnableWindow(GetDlgItem(dlg, IDOK), sync_ok_enabled(f.view()));
    EnableWindow(GetDlgItem(dlg, IDC_SYNC_FIND), sync_find_enabled(f.view(), d.task != nullptr));
}

INT_PTR SyncDialog::init(HWND dlg) {
    SetDlgItemTextW(dlg, IDC_SYNC_ADDRESS, utf16_of(settings->address).c_str());
    SetDlgItemTextW(dlg, IDC_SYNC_USER, utf16_of(settings->user).c_str());
    if (sync_account_set(*settings)) {
        std::wstring user, password;
        if (credential_load(credential_target(settings->address), &user, &password))
            SetDlgItemTextW(dlg, IDC_SYNC_PASSWORD, password.c_str());
        SecureZeroMemory(&password[0], password.size() * sizeof(wchar_t));
    }
    plain_confirmed = settings->plain_confirmed != 0;
    confirmed_address = settings->address;
    CheckDlgButton(dlg, IDC_SYNC_ENABLED, settings->enabled ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dlg, IDC_SYNC_INTERVAL, EM_LIMITTEXT, kSyncIntervalFieldLimit, 0);
    SetDlgItemInt(dlg, IDC_SYNC_INTERVAL, (UINT)settings->interval, FALSE);
    EnableWindow(GetDlgItem(dlg, IDC_SYNC_CALENDARS), FALSE);
    show_buttons(dlg, *this);
    return TRUE;
}

// Plain http with the password to another machine only after the user's yes, asked once
// per server.
bool plain_allowed(HWND dlg, SyncDialog& d, const std::string& address) {
    DavUrl url;
    if (sync_address_read(address.c_str(), &url) != SyncAddress::kValid) return true;
    const bool confirmed =
        sync_plain_still_confirmed(d.confirmed_address.c_str(), d.plain_confirmed, address.c_str());
    if (!sync_plain_question_needed(url, confirmed)) return true;
    char text[1024];
    std::snprintf(text, sizeof text, kSyncPlainQuestionFormat, url.host.c_str());
    if (message_box(dlg, text, kProgramName, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    d.plain_confirmed = true;
    d.confirmed_address = address;
    return true;
}

bool confirmed_for(const SyncDialog& d, const std::string& address) {
    return sync_plain_still_confirmed(d.confirmed_address.c_str(), d.plain_confirmed, address.c_str());
}

void start_search(HWND dlg, SyncDialog& d) {
    const Fields f = read_fields(dlg);
    if (d.task || !sync_find_enabled(f.view(), false) || !plain_allowed(dlg, d, f.address)) return;
    DavUrl url;
    if (sync_address_read(f.address.c_str(), &url) != SyncAddress::kValid) return;
    auto search = std::make_shared<Search>();
    search->address = dav_url_text(url);
    search->http.user = utf16_of(f.user);
    search->http.password = utf16_of(f.password);
    search->http.plain_confirmed = confirmed_for(d, f.address);
    d.task = worker_task_start(dlg, kSyncSearchDone, [search](const CancelFlag& cancel) {
        search->http.cancel = &cancel;
        WinHttpClient http(search->http);
        DavSession session{&http, xml_parser_win(), DavLimits(), &cancel, search->http.plain_confirmed};
        dav_discover(&session, search->address, &search->found);
    });
    if (!d.task) return;
    d.search = search;
    SetDlgItemTextA(dlg, IDC_SYNC_STATUS, kSyncSearching);
    show_buttons(dlg, d);
}

void show_found(HWND dlg, SyncDialog& d) {
    const DavDiscovery& found = d.search->found;
    HWND list = GetDlgItem(dlg, IDC_SYNC_CALENDARS);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    d.calendars.clear();
    for (const DavCalendar& c : found.calendars) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(utf16_of(sync_calendar_row(c)).c_str()));
        d.calendars.push_back(c.url);
    }
    EnableWindow(list, !d.calendars.empty());
    char text[1024];
    if (found.error == NetError::kNone && !d.calendars.empty())
        std::snprintf(text, sizeof text, kSyncFoundFormat, (int)d.calendars.size());
    else
        std::snprintf(text, sizeof text, kSyncSearchFailedFormat, sync_error_text(found.error, found.status).c_str());
    SetDlgItemTextA(dlg, IDC_SYNC_STATUS, text);
    // One calendar is the one: its address goes into the field at once.
    if (d.calendars.size() == 1) {
        SendMessageW(list, CB_SETCURSEL, 0, 0);
        SetDlgItemTextW(dlg, IDC_SYNC_ADDRESS, utf16_of(d.calendars[0]).c_str());
    }
}

LRESULT on_search_done(HWND dlg, SyncDialog& d, LPARAM lp) {
    // A message of a search no longer waited for is not the current one's.
    if (!d.task || reinterpret_cast<WorkerTask*>(lp) != d.task) return TRUE;
    worker_task_finish(d.task);
    d.task = nullptr;
    show_found(dlg, d);
    d.search.reset();
    show_buttons(dlg, d);
    return TRUE;
}

void on_calendar_chosen(HWND dlg, const SyncDialog& d) {
    const LRESULT row = SendDlgItemMessageW(dlg, IDC_SYNC_CALENDARS, CB_GETCURSEL, 0, 0);
    if (row >= 0 && (size_t)row < d.calendars.size())
        SetDlgItemTextW(dlg, IDC_SYNC_ADDRESS, utf16_of(d.calendars[(size_t)row]).c_str());
}

// The password under the new address's server; the old server's one goes when the server
// changed or the account is removed.
bool store_password(const SyncSettings& old, const std::string& address, const Fields& f) {
    DavUrl url;
    const bool have = sync_address_read(address.c_str(), &url) == SyncAddress::kValid;
    const std::wstring target = have ? credential_target(dav_url_text(url)) : std::wstring();
    if (sync_account_set(old)) {
        const std::wstring old_target = credential_target(old.address);
        if (old_target != target) credential_delete(old_target);
    }
    if (!have) return true;
    if (f.password.empty()) {
        credential_delete(target);
        return true;
    }
    return credential_save(target, utf16_of(f.user), utf16_of(f.password));
}

void on_ok(HWND dlg, SyncDialog& d) {
    Fields f = read_fields(dlg);
    int minutes;
    if (!sync_ok_enabled(f.view()) || !sync_interval_read(f.interval.c_str(), &minutes)) return;
    DavUrl url;
    std::string address;
    if (sync_address_read(f.address.c_str(), &url) == SyncAddress::kValid) address = dav_url_text(url);
    if (!plain_allowed(dlg, d, address)) return;
    if (!store_password(*d.settings, address, f)) {
        message_box(dlg, kSyncPasswordNotSaved, kProgramName, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SecureZeroMemory(&f.password[0], f.password.size());
    SyncSettings& s = *d.settings;
    std::snprintf(s.address, sizeof s.address, "%s", address.c_str());
    std::snprintf(s.user, sizeof s.user, "%s", f.user.c_str());
    s.enabled = IsDlgButtonChecked(dlg, IDC_SYNC_ENABLED) == BST_CHECKED ? 1 : 0;
    s.interval = minutes;
    s.plain_confirmed = !address.empty() && confirmed_for(d, address) ? 1 : 0;
    end_dialog(dlg, d, true);
}

INT_PTR SyncDialog::command(HWND dlg, int id, int code) {
    switch (id) {
    case IDC_SYNC_ADDRESS:
    case IDC_SYNC_USER:
    case IDC_SYNC_PASSWORD:
    case IDC_SYNC_INTERVAL:
        if (code == EN_CHANGE) show_buttons(dlg, *this);
        return TRUE;
    case IDC_SYNC_FIND: start_search(dlg, *this); return TRUE;
    case IDC_SYNC_CALENDARS:
        if (code == CBN_SELCHANGE) on_calendar_chosen(dlg, *this);
        return TRUE;
    case IDOK: on_ok(dlg, *this); return TRUE;
    case IDCANCEL: end_dialog(dlg, *this, false); return TRUE;
    default: return FALSE;
    }
}

INT_PTR SyncDialog::message(HWND dlg, UINT msg, WPARAM, LPARAM lp) {
    switch (msg) {
    case kSyncSearchDone: return on_search_done(dlg, *this, lp);
    case WM_DESTROY:
        // A search still under way is stopped and left to its thread, which ends by itself.
        if (task) {
            worker_task_cancel(task);
            worker_task_finish(task, 0);
            task = nullptr;
        }
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

bool sync_settings_dialog(HWND owner, SyncSettings* settings) {
    if (!settings) return false;
    SyncDialog d;
    d.settings = settings;
    return run_dialog(owner, d);
}
