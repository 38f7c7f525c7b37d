// kbt2-screenshots OUTDIR SCRIPT: runs a driver script in the window (as
// kbt2-driver --window does) and saves a picture of every page as
// OUTDIR/page-N.png. scripts/screenshots.sh makes the README's pictures so.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <fstream>
#include <iostream>

#include "app/driver/window_target.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kbt2-screenshots OUTDIR SCRIPT\n";
        return 2;
    }
    std::ifstream script(argv[2], std::ios::binary);
    if (!script) {
        std::cerr << "kbt2-screenshots: cannot read " << argv[2] << '\n';
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool saved = true;
    std::ostream discard(nullptr);  // the driver's transcript is not wanted here
    const int status =
        kbt2::driver::runInWindow(argc, argv, script, discard, std::cerr, [&](kbt2::ui::MainWindow& window) {
            QDir().mkpath(folder);
            for (int page = 0; page < window.pages()->count(); ++page) {
                window.pages()->setCurrentIndex(page);
                // The field that has the focus would show a cursor; pictures show none.
                if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
                QApplication::processEvents();
                const QString file = QDir(folder).filePath(QStringLiteral("page-%1.png").arg(page + 1));
                if (!window.grab().save(file)) {
                    std::cerr << "kbt2-screenshots: cannot write " << file.toStdString() << '\n';
                    saved = false;
                }
            }
        });
    return status != 0 ? status : saved ? 0 : 1;
}
