#include "AboutUnit.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TAboutBox* AboutBox = nullptr;

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(298, 213);
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setGeometry(8, 8, 281, 161);
    // A lowered outer and a raised inner bevel: an etched groove, two pixels wide.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);

    auto* icon = new QLabel(panel);
    icon->setObjectName("ProgramIcon");
    icon->setGeometry(19, 20, 33, 33);
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap(":/tabrix.png"));

    AddLabel(panel, "ProductName", "Marvane Tabrix", 88, 16);
    AddLabel(panel, "Version", "Version 1", 88, 40);
    AddLabel(panel, "Credits", "Made by Marvane.", 8, 80);
    QLabel* rights =
        AddLabel(panel, "Copyright", "Copyright \u00A9 Marvane. All rights reserved.", 8, 99);
    rights->setWordWrap(true);
    rights->setFixedSize(170, 22);
    rights->setMinimumWidth(260);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setGeometry(111, 180, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Centred on the screen, not over the main window as a dialog with a parent would be.
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - frameGeometry().center() + pos());
    }
    QDialog::showEvent(event);
}
