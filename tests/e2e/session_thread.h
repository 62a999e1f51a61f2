#pragma once

#include <QTest>
#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "app/ports/qt_serial_link.h"
#include "core/common/clock.h"
#include "core/reception/sms_session_worker.h"
#include "support/session_rig.h"

namespace kv820::test {

// Real time, with the modem start's long pauses cut short: the simulator needs no waking.
class ShortPausesClock final : public Clock {
  public:
    std::chrono::milliseconds now() const override { return real_.now(); }
    void sleepFor(std::chrono::milliseconds duration) override {
        real_.sleepFor(std::min(duration, std::chrono::milliseconds(100)));
    }

  private:
    SystemClock real_;
};

// Runs one session on its own thread, as the application does, over the real link.
class SessionThread {
  public:
    SessionThread(SmsSessionWorker::Settings settings, const UserRegistry& users,
                  RecordingListener& listener)
        : listener_(listener), worker_(link_, clock_, users, listener, std::move(settings)) {
        thread_ = std::thread([this] { worker_.run(); });
    }
    ~SessionThread() {
        worker_.requestStop();
        thread_.join();
    }
    SessionThread(const SessionThread&) = delete;
    SessionThread& operator=(const SessionThread&) = delete;

    // True once `done` holds (checked under the listener's lock) within `limit`.
    template <class Condition>
    bool waitFor(Condition done, std::chrono::seconds limit = std::chrono::seconds(20)) {
        return QTest::qWaitFor(
            [&] {
                std::lock_guard lock(listener_.mutex);
                return done();
            },
            static_cast<int>(std::chrono::milliseconds(limit).count()));
    }
    SmsSessionWorker& worker() { return worker_; }

  private:
    RecordingListener& listener_;
    QtSerialLink link_;
    ShortPausesClock clock_;
    SmsSessionWorker worker_;
    std::thread thread_;
};

}  // namespace kv820::test
