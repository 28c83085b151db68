#pragma once

namespace wendmoor {

// Ctrl+C, SIGTERM and SIGHUP during a command must not leave temporary files in the game
// folders. While a WritingSection stands, such a signal only asks the command to stop: the
// writing code checks StopRequested() between entries and between chunks, discards what it
// has written, and when the outermost section ends the process dies of the same signal, as it
// would have at once. Outside a section the signal acts at once, as usual.
void InstallStopHandlers();

bool StopRequested();

// Called by a command where it starts replacing or deleting the player's files. Stopping
// after that would leave a package in place in part and the player without the word of what
// was kept: from here on StopRequested() stays false until the outermost section ends, so the
// command finishes whatever a signal says.
void PastPointOfNoReturn();

class WritingSection {
  public:
    WritingSection();
    ~WritingSection();
    WritingSection(const WritingSection&) = delete;
    WritingSection& operator=(const WritingSection&) = delete;
};

// Stands around a whole command of a front end that reports its result (the command-line
// tool): a stop signal that arrives while it stands ends the process only when it ends, after
// the report, and still by that signal.
class ReportBeforeStop {
  public:
    ReportBeforeStop();
    ~ReportBeforeStop();
    ReportBeforeStop(const ReportBeforeStop&) = delete;
    ReportBeforeStop& operator=(const ReportBeforeStop&) = delete;
};

}  // namespace wendmoor
