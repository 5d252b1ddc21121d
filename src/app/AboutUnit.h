#pragma once

#include <QDialog>

// The about dialog, created once at start and shown modally from the Help menu.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;
};

extern TAboutBox* AboutBox;
