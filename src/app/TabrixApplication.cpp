#include "TabrixApplication.h"

#include "services/DisplayText.h"

#include <QMessageBox>

#include <exception>

namespace {
QString applicationTitle = "Marvane Tabrix";
}

TabrixApplication::TabrixApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName("Marvane");
    setApplicationName("Tabrix");
    setApplicationVersion("1.0.0.0");
}

bool TabrixApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QString());
    }
    return false;
}

QString TabrixApplication::Title() {
    return applicationTitle;
}

void TabrixApplication::SetTitle(const QString& title) {
    applicationTitle = title;
}

void TabrixApplication::ShowException(const QString& message) {
    const std::string shown = ShortenForDisplay(message.toStdString());
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, QString::fromStdString(shown),
                    QMessageBox::Ok);
    box.exec();
}

void TabrixApplication::Run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    }
}
