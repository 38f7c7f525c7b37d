// Starts the worksheet window as kbt2 does and reports when it is idle.

#include "bench/startup_probe.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kbt2::ui::MainWindow window;
    window.show();
    return reportWhenIdle(app, window);
}
