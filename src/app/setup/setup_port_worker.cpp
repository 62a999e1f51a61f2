#include "app/setup/setup_port_worker.h"

#include <QThread>

#include "app/setup/stoppable_clock.h"

namespace kv820 {

SetupPortWorker::SetupPortWorker(SetupDevices devices)
    : devices_(std::move(devices)), thread_(QThread::create([this] { run(); })) {
    thread_->start();
}

SetupPortWorker::~SetupPortWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
        if (clock_) {
            clock_->stop();
        }
    }
    wake_.notify_all();
    thread_->wait();
}

void SetupPortWorker::post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

bool SetupPortWorker::nextJob(Job& job) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) {
        return false;
    }
    job = std::move(jobs_.front());
    jobs_.pop_front();
    return true;
}

void SetupPortWorker::run() {
    // The link and the clock are made, used and destroyed on this thread only.
    std::unique_ptr<SerialLink> link = devices_.makeLink();
    StoppableClock clock(devices_.makeClock());
    {
        std::lock_guard lock(mutex_);
        clock_ = &clock;
        if (stopping_) {
            clock.stop();
        }
    }
    ComPort port(*link, clock);
    Job job;
    while (nextJob(job)) {
        job(port);
        job = nullptr;
    }
    port.CloseComPort();
    std::lock_guard lock(mutex_);
    clock_ = nullptr;
}

}  // namespace kv820
