// The yardsticks: a bare Qt program showing an empty main window, or (with
// the argument "text") one that shows a single line of text, which costs the
// loading of the system's fonts that the empty window never needs.

#include <QLabel>
#include <QMainWindow>
#include <cstring>

#include "bench/startup_probe.h"

int main(int argc, char** argv) {
    const bool withText = argc > 1 && std::strcmp(argv[1], "text") == 0;
    QApplication app(argc, argv);
    QMainWindow window;
    if (withText) window.setCentralWidget(new QLabel(QStringLiteral("Form2")));
    window.show();
    return reportWhenIdle(app, window);
}
