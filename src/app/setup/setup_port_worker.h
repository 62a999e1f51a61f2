#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>

#include "app/ports/port_devices.h"
#include "app/ports/port_worker.h"
#include "core/at/com_port.h"

namespace kv820 {

// The one owner of the port for a setup window: a port worker that makes the serial link
// and the clock, runs the conversations handed to it one after another, and closes the
// port when it stops. A window owns one and destroys it before it goes, which ends a
// conversation in progress promptly (its pauses and deadlines run out) and joins the
// thread. Jobs hand their results to the window through queued calls; they never touch a
// widget themselves.
class SetupPortWorker {
  public:
    using Job = std::function<void(ComPort& port)>;

    explicit SetupPortWorker(PortDevices devices);
    SetupPortWorker(const SetupPortWorker&) = delete;
    SetupPortWorker& operator=(const SetupPortWorker&) = delete;

    // Queues a job; it runs on the worker thread after the jobs before it.
    void post(Job job);

    // The factory the jobs use for further, short-lived links (the break pulse).
    const PortDevices& devices() const { return devices_; }

  private:
    void run(const std::stop_token& stop);
    bool nextJob(Job& job, const std::stop_token& stop);

    PortDevices devices_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::deque<Job> jobs_;
    PortWorker thread_;  // last: stopped and joined before the queue goes
};

}  // namespace kv820
