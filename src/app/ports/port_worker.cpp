#include "app/ports/port_worker.h"

#include <QThread>

namespace kv820 {

PortWorker::PortWorker(QObject* parent) : QObject(parent) {}

PortWorker::~PortWorker() {
    stop();
    join();
}

void PortWorker::start(Job job) {
    if (thread_) {
        return;
    }
    stop_ = std::stop_source();
    thread_.reset(QThread::create(std::move(job), stop_.get_token()));
    const int run = ++runs_;
    // Queued: the thread's end is told on the owner's thread, after what the job posted.
    connect(thread_.get(), &QThread::finished, this, [this, run] {
        if (run == runs_ && thread_) {
            join();
            emit ended();
        }
    });
    thread_->start();
}

void PortWorker::join() {
    if (thread_) {
        thread_->wait();
        thread_.reset();
    }
}

}  // namespace kv820
