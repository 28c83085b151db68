#pragma once

namespace wendmoor {

// Where the controls of the options dialog and the About box stand, in dialog units: every
// window places them from here, as the main window from MainWindowTemplate.h.
struct UnitRect {
    int x, y, width, height;
};

// The options dialog: the rows above, a bar with OK and Cancel below that stays in view.
inline constexpr int kOptionsWidth = 362;
inline constexpr int kOptionsRowsHeight = 366;
inline constexpr int kOptionsBarHeight = 20;
// A row's parts, their y counted from the row's boxY (OptionsRow).
inline constexpr UnitRect kOptionsRowBox{5, 0, 350, 30};
inline constexpr UnitRect kOptionsRowNote{150, -1, 195, 9};
inline constexpr UnitRect kOptionsRowField{11, 11, 315, 15};
inline constexpr UnitRect kOptionsRowBrowse{331, 11, 20, 14};
// The bar's controls, their y counted from the bar's top.
inline constexpr UnitRect kOptionsCancelButton{5, 3, 50, 14};
inline constexpr UnitRect kOptionsFindButton{60, 3, 50, 14};
inline constexpr UnitRect kOptionsFindStatus{115, 3, 185, 14};
inline constexpr UnitRect kOptionsOkButton{305, 3, 50, 14};

// The About box, in its tab order.
inline constexpr int kAboutWidth = 192;
inline constexpr int kAboutHeight = 106;
inline constexpr UnitRect kAboutIcon{10, 10, 20, 20};
inline constexpr UnitRect kAboutVersionText{40, 10, 138, 20};
inline constexpr UnitRect kAboutOkButton{70, 80, 50, 14};
inline constexpr UnitRect kAboutAuthorsText{40, 40, 140, 10};
inline constexpr UnitRect kAboutReadmeText{40, 55, 140, 10};
inline constexpr UnitRect kAboutLicenceText{40, 66, 140, 10};

}  // namespace wendmoor
