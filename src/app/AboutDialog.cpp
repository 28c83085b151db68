#include "app/AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ControlTexts.h"
#include "ui/DialogTemplate.h"
#include "widgets/TemplatePage.h"

namespace wendmoor {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(kAboutTitle);
    auto* page = new TemplatePage(kAboutWidth, kAboutHeight, AboutControls());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    setFixedSize(page->minimumSize());
    auto* readme = page->Control<QLabel>("readme");
    readme->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(readme, &QLabel::linkActivated, this, &AboutDialog::readmeRequested);
    auto* ok = page->Control<QPushButton>("okButton");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

}  // namespace wendmoor
