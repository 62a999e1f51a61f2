#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <stop_token>

class QThread;

namespace kv820 {

// The thread on which a window's device conversations run, off the GUI thread. It runs one
// job at a time and hands it a stop token that stop() requests (a StoppableClock on that
// token runs out the conversation's pauses and deadlines). ended() reaches the owner's
// thread, queued, once the job has returned. A QThread rather than a plain thread: the
// serial port a job opens needs one for its notifiers. Destroying the worker stops the job
// and joins its thread.
class PortWorker : public QObject {
    Q_OBJECT
  public:
    using Job = std::function<void(const std::stop_token& stop)>;

    explicit PortWorker(QObject* parent = nullptr);
    ~PortWorker() override;

    // Runs `job` on a new thread, unless the previous job still runs.
    void start(Job job);
    // Any time: asks the running job to stop.
    void stop() { stop_.request_stop(); }
    // Waits for the running job to return, without a word through ended().
    void join();
    bool running() const { return thread_ != nullptr; }

  signals:
    void ended();

  private:
    std::stop_source stop_;
    std::unique_ptr<QThread> thread_;
    int runs_ = 0;
};

}  // namespace kv820
