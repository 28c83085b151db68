#pragma once

#include <span>
#include <string>
#include <vector>

namespace wendmoor {

// A control of a dialog's template: what it is, its texts and where it stands in dialog units.
// Every window is built from such tables, the Qt window and the Windows one alike.
struct TemplateControl {
    enum class Kind {
        Group,
        Button,
        DefaultButton,
        GameChoice,
        List,
        Label,
        Link,
        Icon,
        Field,
        Note
    };
    Kind kind;
    std::string objectName;
    std::string text;  // "&" marks the mnemonic
    int x, y, width, height;
    // How the control follows a larger page, in halves of the extra width and height: it moves
    // right by moveX halves and grows by growX halves, and so on.
    int moveX = 0, growX = 0, moveY = 0, growY = 0;
    std::string accessibleName = {};
    std::string accessibleDescription = {};
    int id = 0;  // a GameId for a game choice
    std::string toolTip = {};
};
using TemplateKind = TemplateControl::Kind;

struct UnitRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const UnitRect&) const = default;
};

// Dialog units as Windows defines them, so the layouts keep their proportions with any font: a
// horizontal unit is a quarter of the font's average character width (that of "A".."Z"
// "a".."z", rounded as Windows rounds it), a vertical unit an eighth of its height.
class DialogUnits {
  public:
    static DialogUnits FromFont(int alphabetWidth, int lineHeight);
    DialogUnits(int baseUnitX, int baseUnitY);
    int X(int du) const;
    int Y(int du) const;
    // The corners are converted, as MapDialogRect does, so neighbouring controls meet exactly.
    UnitRect Rect(int x, int y, int width, int height) const;

  private:
    int baseX_;
    int baseY_;
};

bool Inside(const UnitRect& inner, const UnitRect& outer);

// Where a control placed at `rect` (pixels) stands when its page is `extraX` wider and `extraY`
// taller than the template.
UnitRect Grown(const UnitRect& rect, const TemplateControl& control, int extraX, int extraY);

// The About box: 192 by 106 units.
inline constexpr int kAboutWidth = 192;
inline constexpr int kAboutHeight = 106;
std::span<const TemplateControl> AboutControls();

// The options dialog: the rows' page, and the bar below it that stays in view.
inline constexpr int kOptionsWidth = 362;
inline constexpr int kOptionsRowsHeight = 366;
inline constexpr int kOptionsBarHeight = 20;
// Each row's frame and note first, so they lie beneath; then the fields and their "..." buttons
// in the tab order. A control's id is its row.
const std::vector<TemplateControl>& OptionsRowControls();
// Cancel and OK; "Find games" and what it found only with the finder.
std::vector<TemplateControl> OptionsBarControls(bool finder);

}  // namespace wendmoor
