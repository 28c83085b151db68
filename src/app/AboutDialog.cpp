#include "app/AboutDialog.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPushButton>

#include "platform/Version.h"
#include "ui/ControlTexts.h"
#include "ui/DialogLayouts.h"
#include "widgets/AppIcon.h"
#include "widgets/DialogUnits.h"

namespace wendmoor {

namespace {

constexpr char kReadmeObjectName[] = "readme";

// The readme line. A class of its own, so that its accessible interface is found before the one
// Qt gives every label: the role of static text, whatever the label holds.
class ReadmeLink final : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;
};

// A screen reader meets the readme line as a link it can follow.
class ReadmeLinkAccessible final : public QAccessibleWidget {
  public:
    explicit ReadmeLinkAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return widget()->accessibleName();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name != pressAction()) return;
        emit static_cast<QLabel*>(widget())->linkActivated(QLatin1String(kReadmeObjectName));
    }
};

void PlaceAt(const DialogUnits& units, QWidget* widget, const UnitRect& rect) {
    units.Place(widget, rect.x, rect.y, rect.width, rect.height);
}

QAccessibleInterface* ReadmeLinkFactory(const QString& /*className*/, QObject* object) {
    auto* link = qobject_cast<ReadmeLink*>(object);
    return link == nullptr ? nullptr : new ReadmeLinkAccessible(link);
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kAboutTitle));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());

    const DialogUnits units(font());

    // Controls in their tab order.
    auto* icon = new QLabel(this);
    const QRect iconRect =
        units.Rect(kAboutIcon.x, kAboutIcon.y, kAboutIcon.width, kAboutIcon.height);
    icon->setGeometry(iconRect);
    icon->setPixmap(DrawAppIcon(qMin(iconRect.width(), iconRect.height())));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* version = new QLabel(this);
    version->setTextFormat(Qt::PlainText);  // no prefix processing
    version->setText(QString::fromUtf8(kAboutVersion) + QLatin1String(kVersionText));
    version->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    version->setObjectName(QStringLiteral("version"));
    PlaceAt(units, version, kAboutVersionText);

    auto* ok = new QPushButton(QString::fromUtf8(kOkButton), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    PlaceAt(units, ok, kAboutOkButton);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* contact = new QLabel(QString::fromUtf8(kAboutAuthors), this);
    contact->setTextFormat(Qt::PlainText);
    PlaceAt(units, contact, kAboutAuthorsText);

    // The address line: a link to the readme that is installed with the program.
    auto* readme = new ReadmeLink(QString::fromUtf8(kAboutReadmeLink), this);
    readme->setObjectName(QLatin1String(kReadmeObjectName));
    static const bool linkRoleInstalled = (QAccessible::installFactory(ReadmeLinkFactory), true);
    (void)linkRoleInstalled;
    readme->setTextFormat(Qt::RichText);
    readme->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    readme->setOpenExternalLinks(false);
    readme->setAccessibleName(QString::fromUtf8(kAboutReadmeName));
    connect(readme, &QLabel::linkActivated, this, &AboutDialog::readmeRequested);
    PlaceAt(units, readme, kAboutReadmeText);

    auto* licence = new QLabel(QString::fromUtf8(kAboutLicence), this);
    licence->setTextFormat(Qt::PlainText);
    licence->setObjectName(QStringLiteral("licence"));
    licence->setToolTip(QString::fromUtf8(kAboutLicenceNote));
    PlaceAt(units, licence, kAboutLicenceText);

    setFixedSize(units.Size(kAboutWidth, kAboutHeight));
    ok->setFocus();
}

}  // namespace wendmoor

#include "AboutDialog.moc"
