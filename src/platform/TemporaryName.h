#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wendmoor {

// Our temporary files and folders are named kTemporaryPrefix, the id of the process that made
// them, "-" and six letters or digits: ".wendmoor-4711-a8Zk3Q". The id tells a later command
// whether the maker may still be at work. No name a package installs has this form (see
// IsSafeFileName), so a sweep that removes only this form never takes a file of the player's.

// Six random letters or digits, the part that keeps one process's names apart.
void PickTemporaryPart(char (&part)[7]);
std::string TemporaryFileName(std::string_view part);
std::string NewTemporaryFileName();

// Left over by a command that was killed: the name has the exact form, the process it names
// runs no more, and the file was last written before this process started. The last test
// keeps a file in writing safe from a process whose id this system cannot see (another
// container) or that was reused since.
bool IsStaleTemporaryName(std::string_view name, std::int64_t modifiedNanoseconds);
// The first two tests alone, for what lies where only our own processes write (the backup
// store), and where removing it twice does no harm.
bool IsLeftByEndedProcess(std::string_view name);

// When this process started, in nanoseconds since the epoch.
std::int64_t ProcessStartNanoseconds();

}  // namespace wendmoor
