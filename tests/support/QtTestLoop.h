#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <chrono>
#include <functional>

// The Qt event loop in a test program that needs no display.
namespace lumivoke::testing_support {

/// The application whose event dispatcher the loop needs; one serves every test of the program.
inline void ensureQtApplication() {
    static int argc = 1;
    static char name[] = "lumivoke-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

/// Turns the event loop until done() holds, for at most limit; whether it came to hold.
inline bool turnLoopUntil(const std::function<bool()>& done,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const QDeadlineTimer deadline(limit.count());
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

}  // namespace lumivoke::testing_support
