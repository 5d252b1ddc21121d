#include "AboutUnit.h"
#include "GuiFakes.h"
#include "SplashScreen.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class SplashAndAboutTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<ScriptedMainForm> main_;
    std::unique_ptr<TSplashForm> splash_;
    QElapsedTimer sinceSplashCreated_;

  private slots:
    void init() {
        sinceSplashCreated_.start();
        splash_ = std::make_unique<TSplashForm>();
        main_ = std::make_unique<ScriptedMainForm>();
        SplashForm = splash_.get();
        MainForm = main_->form.get();
        splash_->show();
    }

    void cleanup() {
        SplashForm = nullptr;
        MainForm = nullptr;
        main_.reset();
        splash_.reset();
    }

    void splashShowsItsPictureFramelessAndCentred() {
        QCOMPARE(splash_->size(), QSize(638, 450));
        QVERIFY(splash_->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash_->SplashImage->pixmap().size(), QSize(640, 451));
        QCOMPARE(splash_->SplashImage->pos(), QPoint(0, 0));
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        QVERIFY(qAbs(splash_->geometry().center().x() - desktop.center().x()) <= 1);
        QCOMPARE(splash_->SplashTimer->interval(), 2500);
        QVERIFY(!MainForm->isVisible());
    }

    void timerTickShowsTheMainWindowOnce() {
        QSignalSpy closed(splash_.get(), &TSplashForm::splashClosed);
        QVERIFY(closed.wait(4000));
        QVERIFY(sinceSplashCreated_.elapsed() >= 2500);
        QVERIFY(MainForm->isVisible());
        QVERIFY(!splash_->isVisible());
        QTest::mouseClick(splash_->SplashImage, Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
    }

    void clickShowsTheMainWindowAtOnceAndTheTimerNoLonger() {
        QSignalSpy closed(splash_.get(), &TSplashForm::splashClosed);
        QTest::mouseClick(splash_->SplashImage, Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QVERIFY(MainForm->isVisible());
        QVERIFY(!splash_->SplashTimer->isActive());
        QTest::qWait(2700);
        QCOMPARE(closed.count(), 1);
    }

    void aboutBoxShowsItsTextsAndClosesWithOk() {
        TAboutBox about;
        QCOMPARE(about.windowTitle(), QString("About"));
        QCOMPARE(about.size(), QSize(298, 213));
        QCOMPARE(about.findChild<QLabel*>("ProductName")->text(), QString("Marvane Tabrix"));
        QCOMPARE(about.findChild<QLabel*>("Version")->text(), QString("Version 1"));
        QVERIFY(!about.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
        auto* ok = about.findChild<QPushButton*>("OKButton");
        QVERIFY(ok->isDefault());
        QCOMPARE(ok->geometry(), QRect(111, 180, 75, 25));
        // Every text shows whole on the panel, in whatever font stands in for MS Sans Serif.
        auto* panel = about.findChild<QFrame*>("Panel1");
        for (QLabel* label : panel->findChildren<QLabel*>()) {
            QVERIFY2(label->geometry().right() < panel->width() - panel->lineWidth(),
                     qPrintable(label->objectName()));
            if (!label->wordWrap() && label->pixmap().isNull()) {
                QVERIFY2(label->sizeHint().width() <= label->width(),
                         qPrintable(label->objectName()));
            }
        }
        // Shown modally, again and again; Enter presses OK.
        for (int shown = 0; shown < 2; ++shown) {
            QPoint offCentre(-1, -1);
            QTimer::singleShot(50, &about, [&about, &offCentre] {
                offCentre =
                    about.frameGeometry().center() - about.screen()->availableGeometry().center();
                QTest::keyClick(&about, Qt::Key_Return);
            });
            QCOMPARE(about.exec(), int(QDialog::Accepted));
            QVERIFY2(offCentre.manhattanLength() <= 1, "centred on the screen");
        }
    }

    // The panel is an etched groove: on each edge a dark and a light line, the dark one
    // outside at the top and left and inside at the bottom and right.
    void aboutPanelIsAnEtchedGroove() {
        TAboutBox about;
        auto* panel = about.findChild<QFrame*>("Panel1");
        QVERIFY(panel);
        const QImage image = panel->grab().toImage();
        const auto lightness = [&image](int x, int y) { return qGray(image.pixel(x, y)); };
        const int w = image.width();
        const int h = image.height();
        const int midX = w / 2;
        const int midY = h / 2;
        QVERIFY(lightness(midX, 0) < lightness(midX, 1));         // top
        QVERIFY(lightness(0, midY) < lightness(1, midY));         // left
        QVERIFY(lightness(midX, h - 1) > lightness(midX, h - 2)); // bottom
        QVERIFY(lightness(w - 1, midY) > lightness(w - 2, midY)); // right
    }

    void aboutCommandShowsTheOneAboutBox() {
        TAboutBox about;
        AboutBox = &about;
        QTimer::singleShot(50, &about, [&about] { about.accept(); });
        main_->Find("About1")->trigger();
        QVERIFY(!about.isVisible());
        AboutBox = nullptr;
    }

    // Last: closing the splash ends the program's event loop, and once that has been asked
    // for no later event loop of this process would run.
    void closingTheSplashNeverShowsTheMainWindow() {
        QSignalSpy closed(splash_.get(), &TSplashForm::splashClosed);
        splash_->close();
        QVERIFY(splash_->Finished());
        QVERIFY(!splash_->SplashTimer->isActive());
        QTest::qWait(2700);
        QCOMPARE(closed.count(), 0);
        QVERIFY(!MainForm->isVisible());
    }
};

QTEST_MAIN(SplashAndAboutTest)
#include "SplashAndAboutTest.moc"
