#pragma once

namespace wendmoor {

// The texts of the dialogs' controls ("&" marks a mnemonic), beside the main window's template
// (MainWindowTemplate.h) and the options rows (OptionsState.h), so every window takes the
// same words from one place.

// The readme Help opens, installed with the program.
inline constexpr char kReadmeFile[] = "qarn_readme.htm";

// The About box.
inline constexpr char kAboutTitle[] = "Info über QARN";
inline constexpr char kAboutVersion[] = "Wendmoor Version ";
inline constexpr char kAboutAuthors[] = "Written by the Wendmoor contributors";
inline constexpr char kAboutReadmeLink[] = "Read me: <a href=\"readme\">qarn_readme.htm</a>";
inline constexpr char kAboutReadmeName[] = "Open the readme";
inline constexpr char kAboutLicence[] = "Licence: GPL-3.0-or-later";
inline constexpr char kAboutLicenceNote[] =
    "Free software: you may pass it on and change it under the GNU General Public License, "
    "version 3 or later. It comes with no warranty.";

// Buttons most dialogs have.
inline constexpr char kOkButton[] = "OK";
inline constexpr char kCancelButton[] = "Cancel";
inline constexpr char kCloseButton[] = "Close";

// The backups dialog.
inline constexpr char kRestoreButton[] = "&Restore";
inline constexpr char kOpenFolderButton[] = "&Open folder";

// The options dialog: what a screen reader says of a row's field and button.
inline constexpr char kOptionsFieldNote[] = ". Changed with the button beside it.";
inline constexpr char kOptionsBrowseName[] = "Browse for the ";
inline constexpr char kFindGamesButton[] = "Find games";

// The progress dialog, the error box's details, the choosers.
inline constexpr char kProgressName[] = "Progress";
inline constexpr char kDetailsName[] = "Details";
inline constexpr char kOpenTitle[] = "Open";
// Qt's chooser matches a pattern in its letter case; the Windows one ignores case and knows no
// brackets, so it shows and uses the plain pattern.
inline constexpr char kZipPackagesFilter[] = "ZIP packages (*.[Zz][Ii][Pp])";
inline constexpr char kAllFilesFilter[] = "All files (*)";
inline constexpr char kWindowsZipPackagesFilter[] = "ZIP packages (*.zip)";
inline constexpr char kWindowsAllFilesFilter[] = "All files (*.*)";
inline constexpr char kKeepBothButton[] = "Keep both";
inline constexpr char kSkipButton[] = "Skip";

}  // namespace wendmoor
