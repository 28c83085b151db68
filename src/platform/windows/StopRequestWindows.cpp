// Stop requests on Windows: Ctrl+C, Ctrl+Break and closing the console window reach a console
// program as console control events, on a thread of their own, instead of as signals.
#include <atomic>

#include "platform/StopRequest.h"
#include "platform/windows/WindowsApi.h"

namespace wendmoor {

namespace {

std::atomic<int> sectionDepth{0};
std::atomic<bool> pendingStop{false};
std::atomic<bool> pastNoReturn{false};
std::atomic<int> reportDepth{0};
// A command past its point of no return ended under a ReportBeforeStop: a stop waits for the
// report too.
std::atomic<bool> holding{false};

// What the system's own handler ends a process with on Ctrl+C.
constexpr UINT kStoppedExitCode = 0xC000013A;  // STATUS_CONTROL_C_EXIT

[[noreturn]] void Die() {
    ExitProcess(kStoppedExitCode);
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    // Noted first, so a section that ends meanwhile sees it and ends the process.
    pendingStop = true;
    // Outside a section the system's handler ends the process at once, as usual.
    if (sectionDepth.load() == 0 && !holding.load()) return FALSE;
    // Closing the console, logging off and shutting down end the process as soon as this
    // handler returns; it waits instead (the system allows a few seconds), so the section can
    // discard what it wrote and end the process itself.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        for (;;) Sleep(INFINITE);
    }
    return TRUE;
}

}  // namespace

// A window program has no console and gets none of these events; it learns of the end of the
// session from its window messages.
void InstallStopHandlers() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool StopRequested() {
    return pendingStop.load() && !pastNoReturn.load();
}

void PastPointOfNoReturn() {
    if (sectionDepth.load() > 0) pastNoReturn = true;
}

WritingSection::WritingSection() {
    ++sectionDepth;
}

WritingSection::~WritingSection() {
    if (--sectionDepth != 0) return;
    if (reportDepth.load() > 0 && (pendingStop.load() || pastNoReturn.load())) holding = true;
    pastNoReturn = false;
    if (pendingStop.load() && !holding.load()) Die();
}

ReportBeforeStop::ReportBeforeStop() {
    ++reportDepth;
}

ReportBeforeStop::~ReportBeforeStop() {
    if (--reportDepth != 0) return;
    holding = false;
    if (sectionDepth.load() == 0 && pendingStop.load()) Die();
}

}  // namespace wendmoor
