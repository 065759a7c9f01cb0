// Driving modal dialogs from inside the modal loop they run. While a driver lives, a thread
// timer looks for the visible dialog of this thread in front (a message box over its dialog)
// at every tick and runs the next scripted step on it, one step a tick; once the steps are
// used up it either leaves further dialogs alone or answers each with OK. It records what it
// saw (how many dialogs, the last one's caption and owner) and ends a dialog that stays open
// too long, so that a test fails instead of hanging. One driver at a time.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/win/find_window.h"

namespace win_test {

class ModalDriver {
public:
    using Step = std::function<void(HWND dlg)>;
    enum class Then { kLeaveOpen, kPressOk };

    explicit ModalDriver(std::vector<Step> steps = {}, Then then = Then::kLeaveOpen)
        : steps_(std::move(steps)), then_(then) {
        active() = this;
        timer_ = SetTimer(nullptr, 0, kPeriodMs, on_timer);
        EXPECT_NE(timer_, 0u);
    }
    // Every dialog that appears is answered with OK.
    static ModalDriver pressing_ok() { return ModalDriver({}, Then::kPressOk); }

    // A step for the first dialog in front that ready accepts: until one is (a dialog opened
    // by the step before may take a few ticks to show), it waits a tick and tries again.
    static Step when(std::function<bool(HWND)> ready, Step step) {
        return [ready, step](HWND dlg) {
            if (ready(dlg)) {
                step(dlg);
            } else if (ModalDriver* d = active()) {
                if (d->next_ > 0) --d->next_;
            }
        };
    }
    // A step for the dialog with this caption.
    static Step on_dialog(std::string caption, Step step) {
        return when(
            [caption](HWND dlg) {
                char text[256] = "";
                GetWindowTextA(dlg, text, sizeof text);
                return caption == text;
            },
            step);
    }

    ~ModalDriver() {
        KillTimer(nullptr, timer_);
        if (active() == this) active() = nullptr;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Runs call(), which opens a modal dialog, and expects the script to have run to its end
    // without a time-out.
    template <class Call>
    auto run(Call call) -> decltype(call()) {
        auto result = call();
        EXPECT_FALSE(timed_out_);
        EXPECT_EQ(next_, steps_.size()) << "the dialog closed before the script ended";
        return result;
    }

    int dialogs_seen() const { return seen_; }
    HWND last_dialog() const { return current_; }
    const std::string& last_caption() const { return caption_; }
    HWND last_owner() const { return owner_; }
    bool timed_out() const { return timed_out_; }

private:
    static constexpr UINT kPeriodMs = 20;
    static constexpr int kMaxTicksOpen = 250;  // 5 s for one dialog
    static constexpr int kMaxDepth = 8;        // dialogs over dialogs

    static ModalDriver*& active() {
        static ModalDriver* driver = nullptr;
        return driver;
    }
    // A step that pumps messages itself (showing a window and letting it settle) must not run
    // the next step from inside its own call: ticks while a step runs are skipped.
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
        ModalDriver* d = active();
        if (!d || d->in_tick_) return;
        d->in_tick_ = true;
        d->tick();
        d->in_tick_ = false;
    }

    // The dialog in front: one that a dialog of its own (a message box it opened) does not
    // cover. A disabled one waits for the modal dialog it opened, which shows itself only
    // when its loop first goes idle: none is in front yet.
    static HWND front_dialog() {
        WindowQuery q;
        q.thread = GetCurrentThreadId();
        HWND dlg = find_window(q);
        for (int depth = 0; dlg && depth < kMaxDepth; ++depth) {
            q.owner = dlg;
            HWND inner = find_window(q);
            if (!inner) break;
            dlg = inner;
        }
        return dlg && IsWindowEnabled(dlg) ? dlg : nullptr;
    }

    void tick() {
        HWND dlg = front_dialog();
        if (!dlg) return;
        if (dlg != current_) {
            current_ = dlg;
            ticks_open_ = 0;
            ++seen_;
            char text[256] = "";
            GetWindowTextA(dlg, text, sizeof text);
            caption_ = text;
            owner_ = GetWindow(dlg, GW_OWNER);
        }
        if (++ticks_open_ > kMaxTicksOpen) {
            timed_out_ = true;
            EndDialog(dlg, 0);
            return;
        }
        if (next_ < steps_.size()) {
            steps_[next_++](dlg);
        } else if (then_ == Then::kPressOk && answered_ != dlg) {
            answered_ = dlg;
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }
    }

    std::vector<Step> steps_;
    Then then_;
    UINT_PTR timer_ = 0;
    size_t next_ = 0;
    int seen_ = 0;
    int ticks_open_ = 0;
    bool timed_out_ = false;
    bool in_tick_ = false;
    HWND current_ = nullptr;
    HWND answered_ = nullptr;
    HWND owner_ = nullptr;
    std::string caption_;
};

}  // namespace win_test
