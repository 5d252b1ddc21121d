#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Marvane Tabrix");
    window.show();
    application.exec();
    return 0;
}
