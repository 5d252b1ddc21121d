#pragma once

#include "services/Services.h"

#include <QColor>
#include <QString>

class QWidget;

// The Qt side of the platform interfaces that do not depend on the main window.

class QtMessageBox : public MessageBoxService {
  public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;

  private:
    QWidget* parent_;
};

class QtClipboard : public ClipboardService {
  public:
    std::string GetText() override;
    void SetText(const std::string& text) override;
};

class QtFileDialogs : public FileDialogService {
  public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> GetOpenFileName() override;
    std::optional<std::string> GetSaveFileName() override;

  private:
    QWidget* parent_;
};

class QtColourDialog : public ColourDialogService {
  public:
    explicit QtColourDialog(QWidget* parent) : parent_(parent) {}
    std::optional<TColor> ChooseColour(TColor initial) override;

  private:
    QWidget* parent_;
};

// The user's own settings store: the per-user registry key on Windows (QSettings, without
// the machine's fallbacks); elsewhere the INI file ~/.config/Marvane/Tabrix.conf, read and
// written by the program itself, so that no value in it is decoded beyond plain text and
// no lock is waited on for more than a second.
class QSettingsBackend : public SettingsBackend {
  public:
    std::optional<std::int64_t> ReadInteger(const std::string& name) override;
    void WriteInteger(const std::string& name, std::int32_t value) override;
};

// Gives the keyboard back to the window once a modal dialog over it has closed; without a
// window manager nothing else would, and typed keys would go nowhere.
class ReturnFocusAfterDialog {
  public:
    explicit ReturnFocusAfterDialog(QWidget* window) : window_(window) {}
    ~ReturnFocusAfterDialog();
    ReturnFocusAfterDialog(const ReturnFocusAfterDialog&) = delete;
    ReturnFocusAfterDialog& operator=(const ReturnFocusAfterDialog&) = delete;

  private:
    QWidget* window_;
};

// TColor is 0x00BBGGRR.
QColor ToQColor(TColor colour);
TColor FromQColor(const QColor& colour);

inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
    return text.toStdString();
}
