#include "app/trips/track_analysis_worker.h"

#include <QThread>

#include "core/records/stored_range_rows.h"
#include "core/store/database.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

std::shared_ptr<const TrackAnalysis> analyze(const std::string& path, const ReceiveRange& range,
                                             const TripSettings& settings,
                                             const std::atomic<bool>& stopped) {
    try {
        Database db(path);
        auto analysis = analyzeTrack(
            StoredRangeRows(db, range), [&stopped] { return !stopped; }, settings);
        return analysis ? std::make_shared<const TrackAnalysis>(std::move(*analysis)) : nullptr;
    } catch (const DatabaseError&) {
        return nullptr;
    }
}

}  // namespace

TrackAnalysisWorker::TrackAnalysisWorker(std::string databaseLocation, QObject* parent)
    : QObject(parent), databaseLocation_(std::move(databaseLocation)) {}

TrackAnalysisWorker::~TrackAnalysisWorker() {
    stop();
}

void TrackAnalysisWorker::start(const ReceiveRange& range, const TripSettings& settings) {
    stop();
    stopped_ = std::make_shared<std::atomic<bool>>(false);
    const int run = ++runs_;
    thread_.reset(
        QThread::create([this, run, range, settings, path = databaseLocation_, stopped = stopped_] {
            auto analysis = analyze(path, range, settings, *stopped);
            // Told on the window's thread; a walk stopped meanwhile says nothing.
            QMetaObject::invokeMethod(
                this,
                [this, run, analysis = std::move(analysis)] {
                    if (run != runs_ || !thread_) {
                        return;
                    }
                    thread_->wait();
                    thread_.reset();
                    emit analysed(analysis);
                },
                Qt::QueuedConnection);
        }));
    thread_->start();
}

void TrackAnalysisWorker::stop() {
    ++runs_;
    if (stopped_) {
        *stopped_ = true;
    }
    if (thread_) {
        thread_->wait();
        thread_.reset();
    }
}

}  // namespace kv820
