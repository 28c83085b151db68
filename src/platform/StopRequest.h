#pragma once

namespace wendmoor {

// Ctrl+C, SIGTERM and SIGHUP during a command must not leave temporary files in the game
// folders. While a WritingSection stands, such a signal only asks the command to stop: the
// writing code checks StopRequested() between entries and between chunks, discards what it
// has written, and when the outermost section ends the process dies of the same signal, as it
// would have at once. Outside a section the signal acts at once, as usual.
void InstallStopHandlers();

bool StopRequested();

class WritingSection {
  public:
    WritingSection();
    ~WritingSection();
    WritingSection(const WritingSection&) = delete;
    WritingSection& operator=(const WritingSection&) = delete;
};

}  // namespace wendmoor
