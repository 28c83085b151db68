#include "ui/WindowTexts.h"

#include <cctype>
#include <cstdio>

#include "archive/CommandProgress.h"
#include "backups/BackupRestore.h"
#include "backups/BackupStore.h"
#include "platform/Launcher.h"
#include "platform/Outcome.h"

namespace wendmoor {

namespace {

constexpr std::size_t kMostLines = 15;

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1e6);
    return text;
}

// Joins two parts of a message with an empty line between them.
void AppendPart(std::string& text, const std::string& part) {
    if (part.empty()) return;
    if (!text.empty()) text += '\n';
    text += part;
}

}  // namespace

std::string MessageLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < kMostLines; ++i) text += lines[i] + '\n';
    if (lines.size() > kMostLines) {
        text += "... and " + std::to_string(lines.size() - kMostLines) + " more\n";
    }
    return text;
}

std::string KeptFilesText(const KeptFiles& kept) {
    if (kept.files.empty()) return {};
    return "Before these files were replaced or deleted, what they held was kept in\n" +
           kept.folder + "\n\n" + MessageLines(kept.files) +
           "\nTo put it back, right-click the window and choose \"Backups...\".\n";
}

std::string CommandReport(bool install, const Outcome& outcome, const KeptFiles& kept,
                          bool cancelled) {
    std::string text;
    if (cancelled && !outcome.Ok()) {
        // A cancel that came in time stops before the first rename; what else failed before
        // it does not matter then, as nothing was replaced.
        text = "Cancelled: nothing was replaced.\n";
    } else if (!outcome.Ok()) {
        text = std::string(install ? "Not everything could be installed:\n\n"
                                   : "Not everything could be deinstalled:\n\n") +
               MessageLines(outcome.Lines());
    }
    AppendPart(text, KeptFilesText(kept));
    return text;
}

ProgressView CommandProgressView(bool install, const std::string& package,
                                 const CommandProgress& progress, bool waitingForLock) {
    ProgressView view;
    if (progress.CancelRequested()) {
        view.text = "Cancelling the install of " + package +
                    ": nothing is replaced, the files written so far are removed ...";
    } else {
        view.text = (install ? "Installing " : "Deinstalling ") + package;
    }
    // Every step of both commands counts alike: the files done of all files, and the bytes of
    // the package's files while they are written or deleted; the bar follows the bytes.
    const int done = progress.FilesDone();
    const int total = progress.FilesTotal();
    const bool bytes = !progress.BackingUp() && progress.BytesTotal() > 0;
    view.text += waitingForLock         ? "\nWaiting for another Wendmoor command to finish: "
                 : progress.BackingUp() ? "\nBacking up your files it replaces: "
                 : install              ? "\nWriting the package's files: "
                                        : "\nDeleting the package's files: ";
    view.text += std::to_string(done) + " of " + std::to_string(total) + " files done";
    if (bytes) {
        view.text += ", " + Megabytes(progress.BytesDone()) + " of " +
                     Megabytes(progress.BytesTotal()) + " MB";
        view.permille = static_cast<int>(1000 * progress.BytesDone() / progress.BytesTotal());
    } else if (total > 0) {
        view.permille = 1000 * done / total;
    }
    view.text += '\n' + progress.CurrentFile();
    return view;
}

std::string SharedMapQuestionText(const std::string& package,
                                  const std::vector<std::string>& users) {
    return package + " has a map of the same name as these installed packages, with other " +
           "content:\n\n" + MessageLines(users) +
           "\nThey would use the new map. The one in place now is kept in a backup.\n" +
           "Install anyway?";
}

std::string UnusableSettingsText(const std::vector<std::string>& lines) {
    return "These settings cannot be used and stay empty:\n\n" + MessageLines(lines);
}

std::string UnsavedFoldersText(const std::vector<std::string>& lines) {
    return "These folders could not be saved; Wendmoor uses them until it closes:\n\n" +
           MessageLines(lines);
}

std::string ShellErrorText(const LaunchFailure& failure, const std::string& file,
                           const std::string& directory) {
    std::string reason = failure.reason;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    if (!reason.empty()) reason += '\n';
    return reason + " '" + file + "'  in  '" + directory + "'";
}

std::string PathTooLongText(const std::string& folder, std::size_t longest) {
    return "This folder's path is " + std::to_string(folder.size()) +
           " bytes long; a folder may have at most " + std::to_string(longest) +
           " bytes. Please choose one with a shorter path.\n\n" + folder;
}

std::string CaseBlindFileType(const std::string& label, const std::string& name) {
    std::string wildcard;
    for (const char c : name) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (lower != upper) {
            wildcard += std::string{'[', upper, lower, ']'};
        } else if (c == '*' || c == '?' || c == '[' || c == ']') {
            wildcard += std::string{'[', c, ']'};
        } else {
            wildcard += c;
        }
    }
    return label + " (" + wildcard + ")";
}

std::string PathMissingText(const std::string& path) {
    return path + "\nPath does not exist.";
}

std::string FolderPickerQuestion(const std::string& row) {
    return "Several folders were found for \"" + row + "\".\nWhich one shall it be?";
}

std::string FolderPickerLine(const std::string& folder, const std::string& origin) {
    return folder + "    (" + origin + ')';
}

std::string SameNameQuestionText(const std::string& existingName, const std::string& keptName) {
    return "The missions folder holds \"" + existingName +
           "\" already, with other content.\nKeep both (the new one as \"" + keptName +
           "\") or skip the new one?";
}

std::string NotAddedText(const std::vector<std::string>& lines) {
    return "Not added:\n" + MessageLines(lines);
}

std::string AlreadyThereLine(const std::string& file, const std::string& name) {
    return file + ": the missions folder has it already, as " + name;
}

std::string AddingText(const std::string& file) {
    return "Adding " + file;
}

std::string BackupsCaption(const std::string& game) {
    return "Backups of " + game;
}

std::string ForceQuestionText(const std::vector<std::string>& conflicts) {
    return "These files changed since the backup was made:\n\n" + MessageLines(conflicts) +
           "\nReplace them anyway? Their present version is kept in a new backup first.";
}

std::string RestoreReport(const std::string& backup, const RestoreResult& result) {
    std::string text;
    if (!result.restored.empty()) {
        text = "Put back from the backup " + backup + ":\n\n" + MessageLines(result.restored);
    } else if (result.outcome.Ok()) {
        text = "Every file of the backup " + backup + " is in its place already.\n";
    }
    if (!result.outcome.Ok()) {
        AppendPart(text,
                   "Not everything could be put back:\n\n" + MessageLines(result.outcome.Lines()));
    }
    AppendPart(text, KeptFilesText(result.kept));
    return text;
}

std::string SizeText(std::uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " bytes";
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double size = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (size >= 1024 && unit + 1 < std::size(units)) {
        size /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", size, units[unit]);
    return text;
}

}  // namespace wendmoor
