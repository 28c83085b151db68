#pragma once

#include <array>

#include "ui/DialogTemplate.h"

namespace wendmoor {

// The main window's layout in dialog units, with every text it shows: the one table both
// windows are built from. Entries stand in the tab order, group frames first so they lie
// beneath what they frame. The layout is the window's smallest size; when the window grows,
// the lists and "Zipfile Content" take the room.
inline constexpr int kMainWindowWidth = 407;
inline constexpr int kMainWindowHeight = 346;
inline constexpr char kMainWindowTitle[] = "Wendmoor";

// The letters of the content lines, for the mouse as for a screen reader.
inline constexpr char kContentLegend[] =
    "What the selected package holds, one line for each file, with a letter for its kind: M map, "
    "S saved game, A adventure file, E episode or campaign file, C campaign file, Z any other "
    "file.";

inline const std::array<TemplateControl, 17> kMainWindowControls = {{
    {TemplateKind::Group, "groupSelectGame", "Select Game", 5, 0, 245, 25, 0, 0, 0, 0},
    {TemplateKind::Group, "groupInstalled", "I&nstalled Missions", 5, 30, 170, 205, 0, 1, 0, 1},
    {TemplateKind::Group, "groupAvailable", "A&vailable Missions", 230, 30, 170, 205, 1, 1, 0, 1},
    {TemplateKind::Group, "groupContent", "Zip&file Content", 5, 240, 395, 100, 0, 2, 1, 1},
    {TemplateKind::DefaultButton, "byeButton", "&Bye Bye ...", 360, 10, 40, 14, 2, 0, 0, 0},
    {TemplateKind::Button, "installButton", "<- &Install", 180, 95, 45, 35, 1, 0, 0, 0},
    {TemplateKind::Button, "deinstallButton", "&Deinstall ->", 180, 137, 45, 35, 1, 0, 0, 0},
    {TemplateKind::List, "installedList", "", 10, 40, 160, 190, 0, 1, 0, 1, "Installed missions",
     "The selected game's installed mission packages. Enter or a double-click deinstalls the "
     "selected one."},
    {TemplateKind::List, "availableList", "", 235, 40, 160, 190, 1, 1, 0, 1, "Available missions",
     "The mission packages in the selected game's missions folder that are not installed. Enter "
     "or a double-click installs the selected one."},
    {TemplateKind::Button, "optionsButton", "&Options", 315, 10, 40, 15, 2, 0, 0, 0},
    {TemplateKind::GameChoice, "pharaoButton", "&Pharao", 70, 10, 55, 10, 0, 0, 0, 0, "", "", 2},
    {TemplateKind::GameChoice, "zeusButton", "&Zeus", 130, 10, 55, 10, 0, 0, 0, 0, "", "", 3},
    {TemplateKind::GameChoice, "emperorButton", "D&EK", 190, 10, 55, 10, 0, 0, 0, 0, "", "", 4},
    {TemplateKind::List, "contentList", "", 10, 250, 385, 85, 0, 2, 1, 1, "Zipfile content",
     kContentLegend, 0, kContentLegend},
    {TemplateKind::GameChoice, "caesar3Button", "&Caesar III", 10, 10, 55, 10, 0, 0, 0, 0, "", "",
     1},
    {TemplateKind::Button, "helpButton", "&Help", 270, 10, 40, 15, 2, 0, 0, 0},
    {TemplateKind::Button, "startButton", "&Start", 180, 34, 45, 35, 1, 0, 0, 0},
}};

// The window's context menu (Shift+F10 opens it too); About stands where a Windows window has
// its system menu item.
// Each has a shortcut of its own and stands in the accessibility tree as a button of the window,
// which a popup menu does not.
struct WindowCommand {
    const char* objectName;
    const char* text;
    const char* shortcut;
};
inline constexpr WindowCommand kBackupsCommand{"backupsCommand", "&Backups...", "Ctrl+B"};
inline constexpr WindowCommand kAddPackagesCommand{"addPackagesCommand", "&Add packages...",
                                                   "Ctrl+N"};
inline constexpr WindowCommand kAboutCommand{"aboutCommand", "Inf&o über QARN...", "Ctrl+I"};
inline constexpr char kMainWindowDescription[] =
    "Right-click the window or press Shift+F10 for Backups (Ctrl+B), Add packages (Ctrl+N) and "
    "About (Ctrl+I).";
// Shown in "Zipfile Content" while another Wendmoor process holds the game folders.
inline constexpr char kWaitingForLockText[] = "waiting for another Wendmoor command to finish ...";

}  // namespace wendmoor
