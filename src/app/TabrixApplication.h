#pragma once

#include <QApplication>

#include <functional>

// The application object: it keeps the application title (the task-bar text, which the
// document lifecycle sets together with the window title) and shows any error that
// escapes an event handler in a message box, then goes on.
class TabrixApplication : public QApplication {
  public:
    TabrixApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    static QString Title();
    static void SetTitle(const QString& title);
    // The error box: the message, the application title as caption, one OK button.
    static void ShowException(const QString& message);
    // Runs a handler; an error that escapes it is shown in the error box.
    static void Run(const std::function<void()>& handler);
};
