#include "platform/StopRequest.h"

#include <csignal>

namespace wendmoor {

namespace {

volatile std::sig_atomic_t sectionDepth = 0;
volatile std::sig_atomic_t pendingSignal = 0;
volatile std::sig_atomic_t pastNoReturn = 0;
volatile std::sig_atomic_t reportDepth = 0;
// A command past its point of no return ended under a ReportBeforeStop: a signal waits for
// the report too.
volatile std::sig_atomic_t holding = 0;

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void DieOf(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnStopSignal(int signal) {
    if (sectionDepth > 0 || holding != 0) {
        pendingSignal = signal;
        return;
    }
    DieOf(signal);
}

}  // namespace

void InstallStopHandlers() {
    for (const int signal : kStopSignals) {
        struct sigaction action {};
        // An ignored signal (nohup, a shell's background job) stays ignored.
        if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
        action = {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

bool StopRequested() {
    return pendingSignal != 0 && pastNoReturn == 0;
}

void PastPointOfNoReturn() {
    if (sectionDepth > 0) pastNoReturn = 1;
}

WritingSection::WritingSection() {
    sectionDepth = sectionDepth + 1;
}

WritingSection::~WritingSection() {
    sectionDepth = sectionDepth - 1;
    if (sectionDepth != 0) return;
    if (reportDepth > 0 && (pendingSignal != 0 || pastNoReturn != 0)) holding = 1;
    pastNoReturn = 0;
    if (pendingSignal != 0 && holding == 0) DieOf(pendingSignal);
}

ReportBeforeStop::ReportBeforeStop() {
    reportDepth = reportDepth + 1;
}

ReportBeforeStop::~ReportBeforeStop() {
    reportDepth = reportDepth - 1;
    if (reportDepth != 0) return;
    holding = 0;
    if (sectionDepth == 0 && pendingSignal != 0) DieOf(pendingSignal);
}

}  // namespace wendmoor
