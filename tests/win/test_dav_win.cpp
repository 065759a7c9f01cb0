// The Win32 edge of the calendar sync: XmlLite reads the same answers as the host's parser
// and refuses the same documents; the password goes to the Credential Manager and back; the
// worker reports by a message and can be left to end on its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "schedule/credentials_win.h"
#include "schedule/dav_multistatus.h"
#include "schedule/dav_xml_win.h"
#include "schedule/worker_task_win.h"
#include "tests/host/dav_samples.h"

namespace {

TEST(DavXmlWin, SamplesThroughXmlLite) {
    for (const auto& s : dav_samples::samples()) {
        DavMultistatus ms;
        const DavReadResult r = dav_read_multistatus(xml_parser_win(), s.xml.data(), s.xml.size(), DavLimits(), &ms);
        EXPECT_EQ(dav_samples::differs(s, r, ms), "") << s.name;
    }
}

TEST(DavXmlWin, EntityExpansionRefused) {
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\">";
    for (int i = 1; i < 10; ++i)
        bomb += "<!ENTITY " + std::string(1, (char)('a' + i)) + " \"&" + std::string(1, (char)('a' + i - 1)) +
                ";&" + std::string(1, (char)('a' + i - 1)) + ";\">";
    bomb += "]><multistatus xmlns=\"DAV:\"><response><href>&j;</href></response></multistatus>";
    DavMultistatus ms;
    EXPECT_EQ(dav_read_multistatus(xml_parser_win(), bomb.data(), bomb.size(), DavLimits(), &ms),
              DavReadResult::kMalformed);
}

TEST(CredentialsWin, RoundTrip) {
    EXPECT_EQ(credential_target("https://Dav.Example.com:8443/users/alice/cal/?x"),
              L"Zelmar CalDAV https://dav.example.com:8443");
    EXPECT_EQ(credential_target("http://127.0.0.1/"), L"Zelmar CalDAV http://127.0.0.1");
    const std::wstring target = credential_target("https://zelmar-test.invalid/");
    credential_delete(target);
    std::wstring user = L"x", password = L"y";
    EXPECT_FALSE(credential_load(target, &user, &password));
    EXPECT_TRUE(user.empty() && password.empty());
    const std::wstring name = L"\u5C71\u7530 taro";  // a user name in Japanese
    const std::wstring secret = std::wstring(200, L'p') + L"\u79D8";
    ASSERT_TRUE(credential_save(target, name, secret));
    ASSERT_TRUE(credential_load(target, &user, &password));
    EXPECT_EQ(user, name);
    EXPECT_EQ(password, secret);
    ASSERT_TRUE(credential_save(target, name, L"changed"));
    ASSERT_TRUE(credential_load(target, &user, &password));
    EXPECT_EQ(password, L"changed");
    EXPECT_FALSE(credential_save(target, name, std::wstring(2000, L'x')));  // past the store's limit
    EXPECT_TRUE(credential_delete(target));
    EXPECT_FALSE(credential_load(target, &user, &password));
}

constexpr UINT kDone = WM_APP + 7;

// Pumps messages until the task's message arrives; returns its task.
WorkerTask* wait_message(HWND hwnd) {
    MSG m;
    const ULONGLONG end = GetTickCount64() + 10000;
    while (GetTickCount64() < end) {
        if (PeekMessageW(&m, hwnd, kDone, kDone, PM_REMOVE)) return reinterpret_cast<WorkerTask*>(m.lParam);
        Sleep(5);
    }
    return nullptr;
}

TEST(WorkerTaskWin, ReportsByMessage) {
    HWND hwnd = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    DWORD worker_thread = 0;
    bool saw_cancel = true;
    WorkerTask* t = worker_task_start(hwnd, kDone, [&](const CancelFlag& cancel) {
        worker_thread = GetCurrentThreadId();
        saw_cancel = cancel.load();
    });
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(wait_message(hwnd), t);
    EXPECT_TRUE(worker_task_finish(t, 0));
    EXPECT_NE(worker_thread, 0u);
    EXPECT_NE(worker_thread, GetCurrentThreadId());
    EXPECT_FALSE(saw_cancel);
    DestroyWindow(hwnd);
}

TEST(WorkerTaskWin, CancelledAndLeftToEnd) {
    HWND hwnd = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Ends {  // set when what the work held is let go
        HANDLE e = nullptr;
        ~Ends() {
            if (e) SetEvent(e);
        }
    };
    auto held = std::make_shared<Ends>();
    held->e = ended;
    bool* saw_cancel = new bool(false);
    WorkerTask* t = worker_task_start(hwnd, kDone, [go, held, saw_cancel](const CancelFlag& cancel) {
        WaitForSingleObject(go, INFINITE);
        *saw_cancel = cancel.load();
    });
    held.reset();
    ASSERT_NE(t, nullptr);
    worker_task_cancel(t);
    EXPECT_FALSE(worker_task_finish(t, 50));  // still running: the thread frees it
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(ended, 10000), (DWORD)WAIT_OBJECT_0);
    EXPECT_TRUE(*saw_cancel);
    Sleep(50);
    MSG m;
    EXPECT_FALSE(PeekMessageW(&m, hwnd, kDone, kDone, PM_REMOVE));  // given up: nothing posted
    delete saw_cancel;
    CloseHandle(go);
    CloseHandle(ended);
    DestroyWindow(hwnd);
}

}  // namespace
