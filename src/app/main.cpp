#include "AboutUnit.h"
#include "MainUnit.h"
#include "SplashScreen.h"
#include "TabrixApplication.h"

#include <QIcon>

#include <exception>

int main(int argc, char* argv[]) {
    TabrixApplication application(argc, argv);
    try {
        TabrixApplication::SetTitle("Marvane Tabrix");
        application.setWindowIcon(QIcon(":/tabrix.png"));
        // The program ends through its own requests (Exit, closing a window), never
        // because a window was hidden.
        application.setQuitOnLastWindowClosed(false);

        SplashForm = new TSplashForm;
        MainForm = new TMainForm;
        AboutBox = new TAboutBox(MainForm);

        SplashForm->show();
        application.exec();
    } catch (const std::exception& error) {
        TabrixApplication::ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        TabrixApplication::ShowException(QString());
    }
    delete AboutBox;
    delete MainForm;
    delete SplashForm;
    return 0;
}
