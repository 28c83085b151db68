#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wendmoor {

class CommandProgress;
class Outcome;
struct KeptFiles;
struct LaunchFailure;
struct RestoreResult;

// The texts the windows show in message boxes and progress dialogs, made from the results of
// the core. Every window takes them from here, so they read the same on every system.

inline constexpr char kAppCaption[] = "Wendmoor";
inline constexpr char kAddCaption[] = "Add packages";
inline constexpr char kErrorCaption[] = "Error";

// Lines for a message box, at most a screenful: "... and N more" stands for the rest.
std::string MessageLines(const std::vector<std::string>& lines);

// Which files a command kept, and where; empty when it kept none.
std::string KeptFilesText(const KeptFiles& kept);

// What an install or deinstall could not do and what it kept; empty when it did everything and
// kept nothing. `cancelled`: the player asked it to stop.
std::string CommandReport(bool install, const Outcome& outcome, const KeptFiles& kept,
                          bool cancelled);

// The progress dialog's lines while a command runs.
struct ProgressView {
    std::string text;
    int permille = 0;  // how far, 0..1000
};
ProgressView CommandProgressView(bool install, const std::string& package,
                                 const CommandProgress& progress, bool waitingForLock);
// Asked before an install that would change a shared map other installed packages use.
inline constexpr char kSharedMapCaption[] = "Change a shared map?";
std::string SharedMapQuestionText(const std::string& package,
                                  const std::vector<std::string>& users);

// Start-up and the options' OK: settings that cannot be used, folders that cannot be saved.
std::string UnusableSettingsText(const std::vector<std::string>& lines);
std::string UnsavedFoldersText(const std::vector<std::string>& lines);

// A command that needs a selected game.
inline constexpr char kChooseGameForAdd[] =
    "Choose a game first: packages are added to its missions folder.";
inline constexpr char kChooseGameForBackups[] =
    "Choose a game first: the backups are listed game by game.";
inline constexpr char kAskGameForAdd[] = "Add the packages to the missions folder of:";

// The "Error" box of a start that failed: the system's reason, then " 'file'  in  'folder'".
std::string ShellErrorText(const LaunchFailure& failure, const std::string& file,
                           const std::string& directory);

// The options dialog refuses a folder too long to be stored.
inline constexpr char kPathTooLongCaption[] = "Path too long";
std::string PathTooLongText(const std::string& folder, std::size_t longest);

// The file choosers: a file type that matches the name in any letter case ("Zeus.exe" ->
// "Zeus.exe ([Zz][Ee][Uu][Ss].[Ee][Xx][Ee])"), the name's own wildcard characters kept literal;
// a chosen folder that is not there.
std::string CaseBlindFileType(const std::string& label, const std::string& name);
std::string PathMissingText(const std::string& path);

// The chooser of one of several folders found for a row.
inline constexpr char kFindGamesCaption[] = "Find games";
std::string FolderPickerQuestion(const std::string& row);
std::string FolderPickerLine(const std::string& folder, const std::string& origin);

// "Add packages": a same-named file with other bytes, and the files not added.
std::string SameNameQuestionText(const std::string& existingName, const std::string& keptName);
std::string NotAddedText(const std::vector<std::string>& lines);
// A file not added because the missions folder holds its very bytes, as `name`.
std::string AlreadyThereLine(const std::string& file, const std::string& name);
std::string AddingText(const std::string& file);

// The backups dialog.
std::string BackupsCaption(const std::string& game);
inline constexpr char kBackupsIntro[] =
    "Your own files that installs replaced and deinstalls deleted, newest first:";
inline constexpr char kForceQuestionCaption[] = "Replace changed files?";
std::string ForceQuestionText(const std::vector<std::string>& conflicts);
std::string RestoreReport(const std::string& backup, const RestoreResult& result);
// A size for a column: "512 bytes", "1.5 KB", "12.0 MB".
std::string SizeText(std::uint64_t bytes);

}  // namespace wendmoor
