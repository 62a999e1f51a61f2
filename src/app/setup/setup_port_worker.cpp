#include "app/setup/setup_port_worker.h"

#include "core/common/stoppable_clock.h"

namespace kv820 {

SetupPortWorker::SetupPortWorker(PortDevices devices) : devices_(std::move(devices)) {
    thread_.start([this](const std::stop_token& stop) { run(stop); });
}

void SetupPortWorker::post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

bool SetupPortWorker::nextJob(Job& job, const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    if (!wake_.wait(lock, stop, [this] { return !jobs_.empty(); }) || stop.stop_requested()) {
        return false;  // stopped: the jobs not started are dropped
    }
    job = std::move(jobs_.front());
    jobs_.pop_front();
    return true;
}

void SetupPortWorker::run(const std::stop_token& stop) {
    // The link and the clock are made, used and destroyed on this thread only.
    std::unique_ptr<SerialLink> link = devices_.makeLink();
    const std::unique_ptr<Clock> time = devices_.makeClock();
    StoppableClock clock(*time, stop);
    ComPort port(*link, clock);
    Job job;
    while (nextJob(job, stop)) {
        job(port);
        job = nullptr;
    }
    port.CloseComPort();
}

}  // namespace kv820
