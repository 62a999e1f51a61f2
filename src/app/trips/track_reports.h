#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/store/gpslog_store.h"
#include "core/trips/track_analysis.h"
#include "core/trips/trip_report.h"

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QWidget;

namespace kv820 {

class AppContext;
class TrackAnalysisWorker;

// The trips, stops and daily summary of the searched range, as three sortable tables the
// main window puts beside the search result. The range is read on a worker; meanwhile the
// tables say so and the window goes on. Each table exports to CSV (the command line's
// report, through the Save As dialog); the three print together or go to a PDF file. A
// chosen trip, and the speed chart of the range, go out as the map page's JSON.
class TrackReports : public QObject {
    Q_OBJECT
  public:
    // Points drawn at most: enough for the eye, few enough for a quick page.
    static constexpr std::size_t MaxChartPoints = 3000, MaxTripPoints = 5000;

    // Messages go to `messageOwner` (the main window).
    TrackReports(AppContext& context, QWidget* messageOwner, QObject* parent = nullptr);
    ~TrackReports() override;

    // Adds the Trips, Stops and Summary pages to `tabs`.
    void addPagesTo(QTabWidget* tabs);
    // The range the search lists, of `userName`; none empties the tables and the chart.
    void showRange(const std::optional<ReceiveRange>& range, const QString& userName);

    QTableView* table(TripReportKind kind) const { return pages_[index(kind)].table; }
    // Null until the range has been read.
    const TrackAnalysis* analysis() const { return analysis_.get(); }
    bool reading() const;

    void exportCsv(TripReportKind kind);
    void print();
    void savePdf();
    // "Trip settings", then the range read again with them.
    void editSettings();
    // The trip of the trips table's current row goes to the map.
    void chooseCurrentTrip();

  signals:
    // The speed chart of the range as speedChartJson writes it; no points: no chart.
    void speedChartChanged(const std::string& json);
    // A trip to draw and fit, as tripPathJson writes it.
    void tripChosen(const std::string& json);
    // The tables were filled (or emptied for an unreadable range).
    void tablesFilled();

  private:
    struct Page {
        QPointer<QWidget> widget;  // the tab widget's once added
        QTableView* table = nullptr;
        QStandardItemModel* model = nullptr;
        QLabel* status = nullptr;
        std::vector<QPushButton*> buttons;
    };

    static std::size_t index(TripReportKind kind) { return static_cast<std::size_t>(kind); }
    Page makePage(TripReportKind kind);
    QPushButton* addButton(Page& page, const QString& name, const QString& text);
    void addShowOnMap(Page& page);
    void takeAnalysis(std::shared_ptr<const TrackAnalysis> analysis);
    void fillTables(const QString& status);
    QString title() const;

    AppContext& context_;
    QWidget* messageOwner_;
    TrackAnalysisWorker* worker_;
    std::array<Page, 3> pages_;
    std::shared_ptr<const TrackAnalysis> analysis_;
    std::optional<ReceiveRange> range_;
    QString userName_;
};

}  // namespace kv820
