// The reference of the start-up benchmark: a minimal Qt Widgets program that
// shows an empty main window and ends.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.showMaximized();
    QTimer::singleShot(0, &app, [&app] {
        std::printf(
            "shown %lld\n",
            static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::fflush(stdout);
        app.quit();
    });
    return QApplication::exec();
}
