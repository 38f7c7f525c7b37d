#include "app/driver/window_target.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app/driver/runner.h"
#include "app/driver/window_target_dialogs.h"
#include "app/driver/window_target_widgets.h"
#include "ui/main_window.h"

namespace kbt2::driver {
namespace {

QtMessageHandler qtHandler = nullptr;

// Messages of the platform that say nothing about the program; they would
// only clutter the driver's error output, which scenarios compare.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")) ||
        message.startsWith(QLatin1String("QStandardPaths: wrong permissions on runtime directory")))
        return;
    if (qtHandler) qtHandler(type, context, message);
}

// The typing of `set` needs the keyboard focus, which only an active window
// gives.
void activate(QWidget& window) {
    window.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!window.isActiveWindow() && waited.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!window.isActiveWindow()) QApplication::setActiveWindow(&window);
}

}  // namespace

int runInWindow(int, char** argv, std::istream& script, std::ostream& out, std::ostream& errors,
                const std::function<void(ui::MainWindow&)>& afterScript) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(quietHandler);
    // The window remembers recent files and keeps recovery copies; a script's
    // run must neither read nor change the user's, so they go to a scratch
    // folder that goes when the run ends (or nowhere, when none can be made:
    // the window then only notes that it cannot keep them).
    const QTemporaryDir scratch;
    const QString root = scratch.isValid() ? scratch.path() : QStringLiteral("/nonexistent");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/data")));

    // The driver's own arguments are not the toolkit's.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);

    Session session(out);
    DialogueAnswerer answerer(session);
    ui::MainWindow window(std::make_unique<DriverPlatform>(session, answerer));
    QObject::connect(&window, &ui::MainWindow::closed, &window, [&session] { session.reportClosed(); });
    window.show();
    activate(window);

    WindowTarget target(window);
    const int status = runScript(script, session, target, errors);
    if (status == 0 && !session.closed() && afterScript) afterScript(window);
    return status;
}

}  // namespace kbt2::driver
