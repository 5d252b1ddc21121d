#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// The splash window: a frameless picture shown for 2500 ms from its creation, or until
// the picture is clicked; then the main window shows.
class TSplashForm : public QWidget {
    Q_OBJECT
  public:
    explicit TSplashForm(QWidget* parent = nullptr);

    // Ends the splash phase, once: hides this window, shows the main window, stops the timer.
    void CloseSplashScreen();
    bool Finished() const { return finished_; }

    QLabel* SplashImage = nullptr;
    QTimer* SplashTimer = nullptr;

  signals:
    void splashClosed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool finished_ = false;
};

extern TSplashForm* SplashForm;
