// The reference of the start-up benchmark: a minimal Qt Widgets program that
// shows an empty main window and ends.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.showMaximized();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
