#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/alarms/fence_map_json.h"
#include "core/alarms/geofence.h"
#include "core/store/gpslog_row.h"
#include "core/store/gpslog_store.h"
#include "core/tiles/tile_set.h"

class QComboBox;
class QLabel;
class QAction;
class QPushButton;
class QToolButton;
class QWebEngineProfile;
class QWebEngineView;

namespace kv820 {

class AppContext;
class MapBridge;
class TileSchemeHandler;
struct MapTileSource;
struct PositionReport;

// The "Map" page: every registered tracker at its latest stored position, the searched
// track, and a point of a result list to centre on, drawn by a Leaflet page from the
// program's resources. The web view (and with it Chromium) starts only when the page is
// first shown; until the page has loaded, the latest data waits here and is handed over
// then.
class MapPage : public QWidget {
    Q_OBJECT
  public:
    // The trackers with an unacknowledged SOS alarm, drawn as alarms.
    using PendingAlarms = std::function<std::vector<std::string>()>;

    MapPage(AppContext& context, PendingAlarms pendingAlarms, QWidget* parent = nullptr);
    ~MapPage() override;

    // Draws every marker again from the stored reports and the pending SOS alarms: for a
    // change of the users or of the alarms.
    void refreshFleet();
    // A report was stored: the marker of its tracker alone moves to that tracker's latest
    // stored position (an alarm while an SOS of it waits); the other trackers are neither
    // read nor drawn again.
    void showReport(const PositionReport& report);
    // Draws the track of a searched range; none clears the track.
    void showTrack(const std::optional<ReceiveRange>& range);
    // The speed chart under the map, as the trips' speedChartJson writes it; a chart of no
    // points hides the panel. Hovering the chart marks its point on the map.
    void showSpeedChart(const std::string& json);
    // Draws a chosen trip over the track and fits the view to it, as tripPathJson writes it.
    void showTrip(const std::string& json);
    // Centres the map on one report; false when the report has no position.
    bool centreOn(const QString& userName, const GpslogRow& row);
    // Draws every stored fence again: for a change of the fences.
    void refreshFences();
    // The trackers that stopped reporting: their markers are drawn grey, saying since when.
    void setOverdue(const std::vector<OverdueTracker>& trackers);

    // Null until the page is first shown.
    QWebEngineView* view() const { return view_; }
    bool pageLoaded() const { return loaded_; }
    QLabel* noticeLabel() const { return notice_; }
    // Serves the tiles of a file or a folder to the page; null until the page is first shown.
    TileSchemeHandler* tileHandler() const { return tileHandler_; }
    QToolButton* fencesButton() const { return fencesButton_; }
    // The fence the operator selected on the map; 0 for none.
    std::int64_t selectedFence() const { return selectedFence_; }

  signals:
    // The page finished loading (ok: from the resources, with its script).
    void pageReady(bool ok);
    // The operator drew a shape that can be a fence (it has no name yet).
    void fenceDrawn(const kv820::Geofence& shape);
    // The operator dragged a fence by that many degrees.
    void fenceMoved(std::int64_t id, double dLat, double dLon);
    void fenceEditRequested(std::int64_t id);
    void fenceRemovalRequested(std::int64_t id);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void createControls();
    QToolButton* createFencesButton();
    void connectBridge();
    void takeDrawnPolygon(const QVariantList& latLons);
    void chooseFence(double id);
    void pushFences();
    void ensureView();
    void onLoadFinished(bool ok);
    void applyTileSource();
    void serveLocalTiles(const MapTileSource& source);
    bool showTileArea();
    void pushFleet();
    void pushMarker(const std::string& imei);
    void pushTrack();
    void pushTrackViews();
    void fillFollowCombo();
    void editTileSource();
    void showNotice(const QString& text);
    void call(const QString& function, const std::string& json);

    AppContext& context_;
    PendingAlarms pendingAlarms_;
    QPushButton* fitAllButton_;
    QComboBox* followCombo_;
    QPushButton* tilesButton_;
    QToolButton* fencesButton_;
    QAction* editFenceAction_;
    QAction* deleteFenceAction_;
    QLabel* notice_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* view_ = nullptr;
    TileSchemeHandler* tileHandler_ = nullptr;
    // What the served file or folder says of itself; none for a tile server.
    std::optional<TileSetInfo> localTiles_;
    MapBridge* bridge_;
    bool loaded_ = false;
    bool fleetPending_ = true;
    bool trackPending_ = false;
    std::optional<ReceiveRange> trackRange_;
    std::optional<std::string> pendingCentre_;
    std::optional<std::string> pendingChart_;
    std::optional<std::string> pendingTrip_;
    std::int64_t selectedFence_ = 0;
    std::string overdueJson_ = "[]";
};

}  // namespace kv820
