#include "widgets/TemplatePage.h"

#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "widgets/ListBoxes.h"

namespace wendmoor {

namespace {

// A group box drawn as a Windows dialog draws it: an etched frame whose top line runs through
// the middle of the title, so the dialog-unit rectangles frame their controls as they were laid
// out (Qt's styles put the title above the frame, which crowds the controls of a 25-unit box).
// It takes no focus; its title's mnemonic moves the focus to the list it frames.
class GroupFrame final : public QGroupBox {
  public:
    GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
        setFocusPolicy(Qt::NoFocus);
    }
    QWidget* buddy = nullptr;

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::Shortcut || buddy == nullptr) return QGroupBox::event(event);
        buddy->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);
        // Etched: a shadow line with a light line one pixel to the lower right.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(frame.adjusted(1, 1, 0, 0));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        if (title().isEmpty()) return;
        // The title stands on the frame's top line, with a little space on either side.
        const int gap = qMax(2, metrics.averageCharWidth() / 3);
        const QRect text(metrics.averageCharWidth() + 1, 0,
                         metrics.size(Qt::TextShowMnemonic, title()).width() + 2 * gap,
                         metrics.height());
        painter.fillRect(text, palette().color(backgroundRole()));
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                         title());
    }
};

// A small temple front on a sandstone tile, drawn here so that the program ships no image files.
QPixmap DrawAppIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / 32.0, size / 32.0);  // drawn on a 32 by 32 grid

    // The tile: sandstone with a darker rim.
    painter.setPen(QPen(QColor(0x8a, 0x5a, 0x2b), 1.0));
    painter.setBrush(QColor(0xe8, 0xc3, 0x7d));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

    // The temple front in marble white with a dark outline.
    const QColor marble(0xfb, 0xf8, 0xf0);
    painter.setPen(QPen(QColor(0x3b, 0x2a, 0x1a), 1.0));
    painter.setBrush(marble);
    painter.drawPolygon(QPolygonF({QPointF(4, 11), QPointF(16, 4), QPointF(28, 11)}));  // pediment
    painter.drawRect(QRectF(5, 11, 22, 2.5));  // entablature
    for (int column = 0; column < 4; ++column) {
        painter.drawRect(QRectF(6.5 + column * 5.5, 13.5, 3, 11));
    }
    painter.drawRect(QRectF(4.5, 24.5, 23, 2.5));  // steps
    painter.drawRect(QRectF(3, 27, 26, 2.5));
    return pixmap;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* MakeLabel(const TemplateControl& control, QWidget* page) {
    auto* label = control.kind == TemplateKind::Link ? new ReadmeLink(page) : new QLabel(page);
    label->setTextFormat(control.kind == TemplateKind::Link ? Qt::RichText : Qt::PlainText);
    label->setText(Text(control.text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* MakeControl(const TemplateControl& control, QWidget* page) {
    switch (control.kind) {
        case TemplateKind::Group:
            return new GroupFrame(Text(control.text), page);
        case TemplateKind::Button:
        case TemplateKind::DefaultButton: {
            auto* button = new QPushButton(Text(control.text), page);
            button->setDefault(control.kind == TemplateKind::DefaultButton);
            return button;
        }
        case TemplateKind::GameChoice:
            return new QRadioButton(Text(control.text), page);
        case TemplateKind::List:
            return new ListBox(page);
        case TemplateKind::Link:
        case TemplateKind::Label:
            return MakeLabel(control, page);
        case TemplateKind::Icon: {
            auto* icon = new QLabel(page);
            icon->setPixmap(DrawAppIcon(QFontMetrics(page->font()).height() * 2));
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return icon;
        }
        case TemplateKind::Field: {
            auto* field = new QLineEdit(page);
            field->setReadOnly(true);
            // Read-only looks read-only: the window's background, no frame of an input field.
            field->setFrame(false);
            field->setBackgroundRole(QPalette::Window);
            return field;
        }
        case TemplateKind::Note: {
            auto* note = new QLabel(page);
            QFont italic = page->font();
            italic.setItalic(true);
            note->setFont(italic);
            note->setAutoFillBackground(true);
            note->setContentsMargins(2, 0, 2, 0);
            return note;
        }
    }
    return nullptr;
}

}  // namespace

TemplatePage::TemplatePage(int width, int height, std::span<const TemplateControl> controls,
                           QWidget* parent)
    : QWidget(parent) {
    const QFontMetrics metrics(font());
    const DialogUnits units = DialogUnits::FromFont(
        metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
        metrics.height());
    setMinimumSize(units.X(width), units.Y(height));
    for (const TemplateControl& control : controls) {
        QWidget* widget = MakeControl(control, this);
        widget->setObjectName(Text(control.objectName));
        widget->setAccessibleName(Text(control.accessibleName));
        widget->setAccessibleDescription(Text(control.accessibleDescription));
        widget->setToolTip(Text(control.toolTip));
        placed_.push_back(
            {widget, units.Rect(control.x, control.y, control.width, control.height), &control});
    }
    // A list has no title of its own: the frame around it lends it its mnemonic.
    for (const Placed& frame : placed_) {
        if (frame.control->kind != TemplateKind::Group) continue;
        for (const Placed& list : placed_) {
            if (list.control->kind == TemplateKind::List && Inside(list.rect, frame.rect))
                static_cast<GroupFrame*>(frame.widget)->buddy = list.widget;
        }
    }
    Arrange();
}

void TemplatePage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void TemplatePage::Arrange() {
    const int extraX = qMax(0, width() - minimumWidth());
    const int extraY = qMax(0, height() - minimumHeight());
    for (const Placed& placed : placed_) {
        const UnitRect grown = Grown(placed.rect, *placed.control, extraX, extraY);
        QRect rect(grown.x, grown.y, grown.width, grown.height);
        // A note hides no more of its frame's top line than its text needs.
        if (placed.control->kind == TemplateKind::Note)
            rect.setLeft(rect.right() - qMin(rect.width(), placed.widget->sizeHint().width()));
        placed.widget->setGeometry(rect);
    }
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawAppIcon(size));
    return icon;
}

void ShowScrolling(QDialog& dialog, QWidget* page, QWidget* below) {
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* scroll = new QScrollArea(&dialog);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    layout->addWidget(scroll, 1);
    if (below != nullptr) layout->addWidget(below);

    QSize wanted = page->minimumSize();
    if (below != nullptr) wanted.rheight() += below->minimumHeight();
    if (const QScreen* screen = dialog.screen()) {
        // Room for the frame and the title bar, which the screen's geometry leaves out.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        // A page that scrolls up and down loses the scroll bar's width: the dialog gets it
        // back, so the page need not scroll sideways too.
        if (wanted.height() > room.height())
            wanted.rwidth() += dialog.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        wanted = wanted.boundedTo(room);
    }
    dialog.setMinimumSize(wanted);
    dialog.resize(wanted);
}

}  // namespace wendmoor
