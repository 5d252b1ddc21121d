#include "QtServices.h"

#include "services/DisplayText.h"
#include "services/TabrixError.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

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

// QSettings reads each of its files whole as soon as it is made. A store with anything but
// folders and regular files of a sane size in those places counts as unreadable: a larger
// file would be held whole in memory, and a FIFO or a device has no size to judge it by
// (Qt 6.4 passes over files of size 0, but nothing promises that it always will).
bool SettingsFilesAreSafeToRead() {
#ifdef Q_OS_WIN
    return true; // the registry
#else
    constexpr qint64 MaxSettingsFileBytes = 16 << 20; // the program writes some 200 bytes
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (const QString& folder : folders) {
        for (const char* file : {"/Marvane/Tabrix.conf", "/Marvane.conf"}) {
            const QFileInfo info(folder + file);
            if (info.exists() && !info.isDir() &&
                (!info.isFile() || info.size() > MaxSettingsFileBytes)) {
                return false;
            }
        }
    }
    return true;
#endif
}

// The user's own store only: QSettings would otherwise take a value missing there from
// the organisation's file or the system-wide folders (the machine's key on Windows).
std::unique_ptr<QSettings> OpenUserSettings() {
    auto settings = std::make_unique<QSettings>("Marvane", "Tabrix");
    settings->setFallbacksEnabled(false);
    return settings;
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

std::optional<std::int64_t> QSettingsBackend::ReadInteger(const std::string& name) {
    if (!SettingsFilesAreSafeToRead()) {
        return std::nullopt;
    }
    const QVariant value = OpenUserSettings()->value(ToQString(name));
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toLongLong();
#ifndef Q_OS_WIN
    case QMetaType::QString: {
        // Text stores (the Linux file) keep every value as text: a whole decimal number
        // counts, anything else does not. In the registry a text value is no integer.
        bool ok = false;
        const qlonglong number = value.toString().toLongLong(&ok, 10);
        return ok ? std::optional<std::int64_t>(number) : std::nullopt;
    }
#endif
    default:
        return std::nullopt;
    }
}

void QSettingsBackend::WriteInteger(const std::string& name, std::int32_t value) {
    const TabrixError failure("Failed to set data for '" + name + "'");
    if (!SettingsFilesAreSafeToRead()) {
        throw failure;
    }
    const auto settings = OpenUserSettings();
    settings->setValue(ToQString(name), value);
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw failure;
    }
}

QColor ToQColor(TColor colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

TColor FromQColor(const QColor& colour) {
    return static_cast<TColor>(colour.red()) | (static_cast<TColor>(colour.green()) << 8) |
           (static_cast<TColor>(colour.blue()) << 16);
}
