// Work that talks to the network, on a thread of its own, so that the window, its dialogs
// and its alarms never wait: when the work is done the task posts a message to the window
// (lParam: the task), whose handler calls worker_task_finish to take the result. The work
// gets a stop flag that worker_task_cancel sets; it must touch nothing the window's thread
// uses.
#pragma once

#include <windows.h>

#include <functional>

#include "schedule/dav_http.h"

struct WorkerTask;

// Starts work; nullptr when no thread could be made (nothing runs, nothing is posted).
WorkerTask* worker_task_start(HWND window, UINT message, std::function<void(const CancelFlag&)> work);

// Asks the work to stop at its next request.
void worker_task_cancel(WorkerTask* task);

// Waits up to wait_ms for the work to end. When it ended, frees the task and returns true;
// otherwise the task is left to the thread, which frees it when the work ends (its message
// is then not posted), and false tells the caller the work is still running. A message the
// task posted before it was finished must then be ignored: the handler takes only the task
// it is waiting for.
bool worker_task_finish(WorkerTask* task, DWORD wait_ms = INFINITE);
