#include "ui/DialogTemplate.h"

#include <algorithm>

#include "platform/Version.h"
#include "ui/ControlTexts.h"
#include "ui/OptionsState.h"

namespace wendmoor {

namespace {

// MulDiv for the small values of a layout: the product divided, rounding half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

}  // namespace

DialogUnits DialogUnits::FromFont(int alphabetWidth, int lineHeight) {
    return DialogUnits((alphabetWidth / 26 + 1) / 2, lineHeight);
}

DialogUnits::DialogUnits(int baseUnitX, int baseUnitY)
    : baseX_(std::max(1, baseUnitX)), baseY_(std::max(1, baseUnitY)) {}

int DialogUnits::X(int du) const {
    return MulDiv(du, baseX_, 4);
}

int DialogUnits::Y(int du) const {
    return MulDiv(du, baseY_, 8);
}

UnitRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(x + width) - X(x), Y(y + height) - Y(y)};
}

bool Inside(const UnitRect& inner, const UnitRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

UnitRect Grown(const UnitRect& rect, const TemplateControl& control, int extraX, int extraY) {
    return {rect.x + extraX * control.moveX / 2, rect.y + extraY * control.moveY / 2,
            rect.width + extraX * control.growX / 2, rect.height + extraY * control.growY / 2};
}

std::span<const TemplateControl> AboutControls() {
    // In the tab order.
    static const TemplateControl controls[] = {
        {TemplateKind::Icon, "icon", "", 10, 10, 20, 20},
        {TemplateKind::Label, "version", kAboutVersion + std::string(kVersionText), 40, 10, 138,
         20},
        {TemplateKind::DefaultButton, "okButton", kOkButton, 70, 80, 50, 14},
        {TemplateKind::Label, "contact", kAboutAuthors, 40, 40, 140, 10},
        {TemplateKind::Link, "readme", kAboutReadmeLink, 40, 55, 140, 10, 0, 0, 0, 0,
         kAboutReadmeName},
        {TemplateKind::Label, "licence", kAboutLicence, 40, 66, 140, 10, 0, 0, 0, 0, "", "", 0,
         kAboutLicenceNote},
    };
    return controls;
}

const std::vector<TemplateControl>& OptionsRowControls() {
    static const std::vector<TemplateControl> controls = [] {
        std::vector<TemplateControl> made;
        for (int i = 0; i < static_cast<int>(kOptionsRowCount); ++i) {
            const OptionsRow& row = kOptionsRows[static_cast<std::size_t>(i)];
            const std::string name = row.name;
            made.push_back({TemplateKind::Group, name + "Group", row.title, 5, row.boxY, 350, 30, 0,
                            2, 0, 0, "", "", i});
            // The note stands on the frame's top line at the right, as the title at the left.
            made.push_back({TemplateKind::Note, name + "Origin", "", 150, row.boxY - 1, 195, 9, 0,
                            2, 0, 0, "", "", i});
        }
        for (int i = 0; i < static_cast<int>(kOptionsRowCount); ++i) {
            const OptionsRow& row = kOptionsRows[static_cast<std::size_t>(i)];
            const std::string name = row.name;
            made.push_back({TemplateKind::Field, name + "Field", "", 11, row.boxY + 11, 315, 15, 0,
                            2, 0, 0, row.spokenName, row.title + std::string(kOptionsFieldNote),
                            i});
            made.push_back({TemplateKind::Button, name + "Browse", "...", 331, row.boxY + 11, 20,
                            14, 2, 0, 0, 0, kOptionsBrowseName + std::string(row.spokenName), "",
                            i});
        }
        return made;
    }();
    return controls;
}

std::vector<TemplateControl> OptionsBarControls(bool finder) {
    std::vector<TemplateControl> bar = {
        {TemplateKind::Button, "cancelButton", kCancelButton, 5, 3, 50, 14}};
    if (finder) {
        bar.push_back({TemplateKind::Button, "findGames", kFindGamesButton, 60, 3, 50, 14});
        bar.push_back({TemplateKind::Label, "findStatus", "", 115, 3, 185, 14, 0, 2});
    }
    bar.push_back({TemplateKind::DefaultButton, "okButton", kOkButton, 305, 3, 50, 14, 2});
    return bar;
}

}  // namespace wendmoor
