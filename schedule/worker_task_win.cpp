#include "schedule/worker_task_win.h"

struct WorkerTask {
    HWND window;
    UINT message;
    std::function<void(const CancelFlag&)> work;
    CancelFlag cancel{false};
    HANDLE thread = nullptr;
    // Who frees the task: 0 nobody yet; the owner gives it up with 1, the thread ends with 2.
    volatile LONG handover = 0;
};

namespace {

DWORD WINAPI run(void* p) {
    WorkerTask* t = static_cast<WorkerTask*>(p);
    t->work(t->cancel);
    t->work = nullptr;  // what the work held goes with it, on this thread
    if (InterlockedCompareExchange(&t->handover, 2, 0) == 1) {  // given up by the owner
        CloseHandle(t->thread);
        delete t;
        return 0;
    }
    PostMessageW(t->window, t->message, 0, reinterpret_cast<LPARAM>(t));
    return 0;
}

}  // namespace

WorkerTask* worker_task_start(HWND window, UINT message, std::function<void(const CancelFlag&)> work) {
    WorkerTask* t = new WorkerTask;
    t->window = window;
    t->message = message;
    t->work = std::move(work);
    // Made suspended, so that the handle is in the task before the thread can read it.
    t->thread = CreateThread(nullptr, 0, run, t, CREATE_SUSPENDED, nullptr);
    if (!t->thread) {
        delete t;
        return nullptr;
    }
    ResumeThread(t->thread);
    return t;
}

void worker_task_cancel(WorkerTask* task) {
    if (task) task->cancel.store(true);
}

bool worker_task_finish(WorkerTask* task, DWORD wait_ms) {
    if (!task) return true;
    if (WaitForSingleObject(task->thread, wait_ms) != WAIT_OBJECT_0 &&
        InterlockedCompareExchange(&task->handover, 1, 0) == 0)
        return false;  // the thread frees it
    WaitForSingleObject(task->thread, INFINITE);  // ended, or ending after the handover lost
    CloseHandle(task->thread);
    delete task;
    return true;
}
