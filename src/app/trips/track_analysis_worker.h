#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "core/store/gpslog_store.h"
#include "core/trips/track_analysis.h"

class QThread;

namespace kv820 {

// Reads a searched range for its trips, stops, days and fixes on a thread of its own, with
// a connection of its own, so that a year of reports never freezes the window. One walk at
// a time: a new one tells the running one to end (within a row) and drops its result.
// Destroying the worker ends the walk and joins its thread.
class TrackAnalysisWorker : public QObject {
    Q_OBJECT
  public:
    explicit TrackAnalysisWorker(std::string databaseLocation, QObject* parent = nullptr);
    ~TrackAnalysisWorker() override;

    void start(const ReceiveRange& range, const TripSettings& settings);
    // Ends the running walk, if any, without a word through analysed().
    void stop();
    bool running() const { return thread_ != nullptr; }

  signals:
    // The walk ended: the analysis, or nothing when the range could not be read.
    void analysed(std::shared_ptr<const TrackAnalysis> analysis);

  private:
    std::string databaseLocation_;
    std::unique_ptr<QThread> thread_;
    std::shared_ptr<std::atomic<bool>> stopped_;
    int runs_ = 0;
};

}  // namespace kv820
