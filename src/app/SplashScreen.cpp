#include "SplashScreen.h"

#include "MainUnit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

TSplashForm* SplashForm = nullptr;

namespace {
constexpr int SplashWidth = 638;
constexpr int SplashHeight = 450;
constexpr int SplashMilliseconds = 2500;
} // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("SplashForm");
    setFixedSize(SplashWidth, SplashHeight);

    SplashImage = new QLabel(this);
    SplashImage->setObjectName("SplashImage");
    const QPixmap picture(":/splash.gif", "GIF");
    SplashImage->setPixmap(picture);
    SplashImage->setAlignment(Qt::AlignCenter);
    // The picture is a little larger than the window, which clips it.
    SplashImage->setGeometry(0, 0, picture.width(), picture.height());
    SplashImage->installEventFilter(this);

    // Centred on the whole desktop, all screens together.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->virtualGeometry();
        move(desktop.center() - QPoint(SplashWidth / 2, SplashHeight / 2));
    }

    SplashTimer = new QTimer(this);
    SplashTimer->setObjectName("SplashTimer");
    SplashTimer->setSingleShot(true);
    SplashTimer->setTimerType(Qt::PreciseTimer); // a coarse timer may tick up to 5% early
    SplashTimer->setInterval(SplashMilliseconds);
    connect(SplashTimer, &QTimer::timeout, this, &TSplashForm::CloseSplashScreen);
    SplashTimer->start();
}

void TSplashForm::CloseSplashScreen() {
    if (finished_) {
        return;
    }
    finished_ = true;
    hide();
    if (MainForm) {
        MainForm->show();
        MainForm->activateWindow();
    }
    SplashTimer->stop();
    emit splashClosed();
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SplashImage && event->type() == QEvent::MouseButtonPress) {
        CloseSplashScreen();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TSplashForm::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!finished_) {
        // Closing the splash window ends the program before the main window ever shows.
        finished_ = true;
        SplashTimer->stop();
        QCoreApplication::exit(0);
    }
}
