#pragma once

#include <QCoreApplication>
#include <QThread>
#include <chrono>

namespace kv820::test {

// Runs the event loop until `done` holds or the time is up; true when it holds.
template <class Predicate>
bool WaitFor(Predicate done, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace kv820::test
