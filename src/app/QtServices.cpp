#include "QtServices.h"

#include "services/DisplayText.h"
#include "services/TabrixError.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QStringList ProjectFilters = {"XML Files (*.xml)", "All Files (*)"};

std::optional<std::string> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                         const QString& defaultSuffix) {
    const ReturnFocusAfterDialog focus(parent);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setNameFilters(ProjectFilters);
    dialog.selectNameFilter(ProjectFilters.front());
    dialog.setDefaultSuffix(defaultSuffix);
    if (mode == QFileDialog::AcceptOpen) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        // The file is replaced without a question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToUtf8(dialog.selectedFiles().front());
}

} // namespace

ReturnFocusAfterDialog::~ReturnFocusAfterDialog() {
    if (window_ && window_->isVisible()) {
        window_->activateWindow();
    }
}

int QtMessageBox::MessageBox(const std::string& text, const std::string& caption, int flags) {
    const ReturnFocusAfterDialog focus(parent_);
    QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(ShortenForDisplay(text)),
                    QMessageBox::NoButton, parent_);
    if (flags == MbYesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (flags != MbYesNoCancel) {
        return IdOk;
    }
    if (clicked == box.button(QMessageBox::Yes)) {
        return IdYes;
    }
    if (clicked == box.button(QMessageBox::No)) {
        return IdNo;
    }
    return IdCancel; // Cancel, Escape or the box closed
}

std::string QtClipboard::GetText() {
    return ToUtf8(QGuiApplication::clipboard()->text());
}

void QtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(ToQString(text));
}

std::optional<std::string> QtFileDialogs::GetOpenFileName() {
    return RunFileDialog(parent_, QFileDialog::AcceptOpen, "ext");
}

std::optional<std::string> QtFileDialogs::GetSaveFileName() {
    return RunFileDialog(parent_, QFileDialog::AcceptSave, "xml");
}

std::optional<TColor> QtColourDialog::ChooseColour(TColor initial) {
    const ReturnFocusAfterDialog focus(parent_);
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return FromQColor(chosen);
}

QColor ToQColor(TColor colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

TColor FromQColor(const QColor& colour) {
    return static_cast<TColor>(colour.red()) | (static_cast<TColor>(colour.green()) << 8) |
           (static_cast<TColor>(colour.blue()) << 16);
}
