// The yardstick: a bare Qt program showing an empty main window.

#include <QMainWindow>

#include "bench/startup_probe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    return reportWhenIdle(app, window);
}
