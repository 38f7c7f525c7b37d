#pragma once
// The end of a start-up probe: once the window is shown and the event loop has
// nothing more to do, print the time since the runner started the process and
// quit. The runner passes its clock reading (CLOCK_MONOTONIC, nanoseconds) in
// KBT2_BENCH_START_NS.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "bench/startup_probe_clock.h"

inline int reportWhenIdle(QApplication& app, QWidget& window) {
    const char* start = std::getenv("KBT2_BENCH_START_NS");
    const long long started = start ? std::atoll(start) : kbt2::bench::monotonicNanoseconds();
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &app,
                     [&app, &window, started] {
                         if (!window.windowHandle() || !window.windowHandle()->isExposed()) return;
                         std::printf("startup_ns %lld\n", kbt2::bench::monotonicNanoseconds() - started);
                         std::fflush(stdout);
                         // Tearing down is not part of starting up.
                         std::_Exit(0);
                     });
    return app.exec();
}
