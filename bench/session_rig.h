#pragma once

#include <QThread>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/ports/qt_serial_link.h"
#include "core/common/clock.h"
#include "core/reception/sms_session_worker.h"
#include "core/store/schema.h"
#include "core/store/user_registry.h"

namespace kv820::bench {

inline constexpr const char* SessionImei = "354612071234567";

// Knows when the modem start finished and how many reports were stored.
class SessionProgress final : public SmsSessionListener {
  public:
    void modemLog(std::string_view) override {}
    void sessionStarted(bool ready) override {
        std::lock_guard lock(mutex_);
        started_ = ready;
        startDone_ = true;
        changed_.notify_all();
    }
    void reportStored(const StoredReportEvent&) override {
        std::lock_guard lock(mutex_);
        ++storedCount_;
    }
    void reportStoreFailed(const PositionReport&, std::string_view) override {}
    void sessionEnded() override {}

    // True when the modem start succeeded.
    bool waitForStart() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return startDone_; });
        return started_;
    }
    int storedCount() {
        std::lock_guard lock(mutex_);
        return storedCount_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool startDone_ = false;
    bool started_ = false;
    int storedCount_ = 0;
};

// A fresh gpslog database file in the temporary folder, removed afterwards.
class BenchDatabase {
  public:
    explicit BenchDatabase(const std::string& name)
        : path_((std::filesystem::temp_directory_path() / ("kv820_bench_" + name + ".mdb"))
                    .string()) {
        remove();
        createDatabase(path_);
    }
    ~BenchDatabase() { remove(); }
    const std::string& path() const { return path_; }

  private:
    void remove() {
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(path_ + suffix, ignored);
        }
    }
    std::string path_;
};

// One SMS session over the real serial link, run on a QThread as in the program (the
// serial port object wants one), ended and joined on destruction.
class SessionOnThread {
  public:
    SessionOnThread(const std::string& devicePath, const std::string& databaseLocation,
                    const UserRegistry& users, SessionProgress& progress, Clock& clock)
        : link_(makeSerialLink()),
          worker_(*link_, clock, users, progress, {devicePath + ":", databaseLocation}),
          thread_(QThread::create([this] { worker_.run(); })) {
        thread_->start();
    }
    ~SessionOnThread() {
        worker_.requestStop();
        thread_->wait();
    }
    SessionOnThread(const SessionOnThread&) = delete;
    SessionOnThread& operator=(const SessionOnThread&) = delete;

  private:
    std::unique_ptr<SerialLink> link_;
    SmsSessionWorker worker_;
    std::unique_ptr<QThread> thread_;
};

// The median of the times, in milliseconds.
inline double medianMs(std::vector<std::chrono::duration<double>> times) {
    if (times.empty()) {
        return 0;
    }
    std::sort(times.begin(), times.end());
    const auto middle = times.size() / 2;
    const auto median = times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    return std::chrono::duration<double, std::milli>(median).count();
}

}  // namespace kv820::bench
