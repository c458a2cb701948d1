// The yardstick of the start-up benchmark: a bare Qt Widgets main window of the program's size,
// started and shown the same way, which quits as soon as its first picture is on screen.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1204, 768);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
