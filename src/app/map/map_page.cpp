#include "app/map/map_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>

#include "app/common/app_context.h"
#include "app/common/window_alarm_store.h"
#include "app/map/map_bridge.h"
#include "app/map/map_messages.h"
#include "app/map/map_settings.h"
#include "app/map/map_tile_dialog.h"
#include "app/map/tile_scheme_handler.h"
#include "app/map/web_engine_setup.h"
#include "core/alarms/fence_map_json.h"
#include "core/alarms/geofence_geojson.h"
#include "core/map/map_data.h"
#include "core/records/records_messages.h"
#include "core/records/stored_range_rows.h"
#include "core/report/position_report.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

const QString PageUrl = QStringLiteral("qrc:/map/map.html");
const std::string NoTrack = "{\"points\":0,\"bands\":[]}";
// The deepest zoom of the map, tiles scaled up beyond a file's own.
constexpr int MaxMapZoom = 19;
constexpr double WholeWorldDegrees = 359;

QString jsonText(const QString& text) {
    // A one-element array, unwrapped: a JSON string literal with every quote escaped.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

}  // namespace

MapPage::MapPage(AppContext& context, PendingAlarms pendingAlarms, QWidget* parent)
    : QWidget(parent),
      context_(context),
      pendingAlarms_(std::move(pendingAlarms)),
      bridge_(new MapBridge(this)) {
    setObjectName(QStringLiteral("mapPage"));
    createControls();
    connectBridge();
}

void MapPage::connectBridge() {
    connect(bridge_, &MapBridge::viewMoved, this, [](double latitude, double longitude, int zoom) {
        MapSettings::setView({latitude, longitude, zoom});
    });
    connect(bridge_, &MapBridge::tilesFailed, this,
            [this] { showNotice(QString::fromLatin1(TilesUnavailableNotice)); });

    connect(bridge_, &MapBridge::circleFinished, this,
            [this](double latitude, double longitude, double radiusMetres) {
                if (const auto circle = circleFromPage(latitude, longitude, radiusMetres)) {
                    emit fenceDrawn(*circle);
                } else {
                    showNotice(QString::fromLatin1(ShapeRefusedNotice));
                }
            });
    connect(bridge_, &MapBridge::polygonFinished, this, &MapPage::takeDrawnPolygon);
    connect(bridge_, &MapBridge::fenceDropped, this, [this](double id, double dLat, double dLon) {
        if (id >= 1 && id <= 9.0e15) {
            emit fenceMoved(static_cast<std::int64_t>(id), dLat, dLon);
        }
    });
    connect(bridge_, &MapBridge::fenceChosen, this, &MapPage::chooseFence);
}

void MapPage::takeDrawnPolygon(const QVariantList& latLons) {
    std::vector<double> numbers;
    for (const QVariant& value : latLons) {
        bool isNumber = false;
        numbers.push_back(value.toDouble(&isNumber));
        if (!isNumber || numbers.size() > 2 * MaxFenceCorners) {
            showNotice(QString::fromLatin1(ShapeRefusedNotice));
            return;
        }
    }
    if (const auto polygon = polygonFromPage(numbers)) {
        emit fenceDrawn(*polygon);
    } else {
        showNotice(QString::fromLatin1(ShapeRefusedNotice));
    }
}

void MapPage::chooseFence(double id) {
    selectedFence_ = id >= 1 && id <= 9.0e15 ? static_cast<std::int64_t>(id) : 0;
    editFenceAction_->setEnabled(selectedFence_ != 0);
    deleteFenceAction_->setEnabled(selectedFence_ != 0);
}

MapPage::~MapPage() {
    // The page must go before the profile it was made with.
    delete view_;
}

void MapPage::createControls() {
    fitAllButton_ = new QPushButton(QStringLiteral("Fit all"));
    fitAllButton_->setObjectName(QStringLiteral("mapFitAllButton"));
    followCombo_ = new QComboBox;
    followCombo_->setObjectName(QStringLiteral("mapFollowCombo"));
    followCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* followLabel = new QLabel(QStringLiteral("&Follow:"));
    followLabel->setBuddy(followCombo_);
    tilesButton_ = new QPushButton(QStringLiteral("Tiles..."));
    tilesButton_->setObjectName(QStringLiteral("mapTilesButton"));
    fencesButton_ = createFencesButton();
    notice_ = new QLabel;
    notice_->setObjectName(QStringLiteral("mapNoticeLabel"));
    notice_->setWordWrap(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(fitAllButton_);
    bar->addSpacing(12);
    bar->addWidget(followLabel);
    bar->addWidget(followCombo_);
    bar->addSpacing(12);
    bar->addWidget(fencesButton_);
    bar->addSpacing(12);
    // In the bar, so that a notice never resizes the map under the operator's eyes.
    bar->addWidget(notice_, 1);
    bar->addWidget(tilesButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addStretch();  // replaced by the web view when it is made
    fillFollowCombo();

    connect(fitAllButton_, &QPushButton::clicked, this,
            [this] { call(QStringLiteral("kv820Map.fitAll"), {}); });
    connect(followCombo_, &QComboBox::currentIndexChanged, this, [this] {
        call(QStringLiteral("kv820Map.follow"),
             jsonText(followCombo_->currentData().toString()).toStdString());
    });
    connect(tilesButton_, &QPushButton::clicked, this, &MapPage::editTileSource);
}

QToolButton* MapPage::createFencesButton() {
    auto* button = new QToolButton;
    button->setObjectName(QStringLiteral("mapFencesButton"));
    button->setText(QStringLiteral("Geofences"));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::StrongFocus);
    auto* menu = new QMenu(button);
    const auto add = [&](const char* name, const QString& text, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // The drawing goes on in the page: the map takes the focus, so that Enter finishes and
    // Escape cancels there too.
    const auto draw = [this](const char* kind) {
        if (view_) {
            view_->setFocus();
        }
        call(QStringLiteral("kv820Map.startDrawing"), std::string("\"") + kind + "\"");
    };
    add("actionDrawCircle", QStringLiteral("Draw &circle"), [draw] { draw("circle"); });
    add("actionDrawPolygon", QStringLiteral("Draw &polygon"), [draw] { draw("polygon"); });
    add("actionFinishDrawing", QStringLiteral("&Finish drawing"),
        [this] { call(QStringLiteral("kv820Map.finishDrawing"), {}); });
    add("actionCancelDrawing", QStringLiteral("C&ancel drawing"),
        [this] { call(QStringLiteral("kv820Map.cancelDrawing"), {}); });
    menu->addSeparator();
    // The keyboard's selection: the arrow keys then move the fence, Escape lets it go.
    add("actionSelectNextFence", QStringLiteral("Select &next fence"), [this] {
        if (view_) {
            view_->setFocus();
        }
        call(QStringLiteral("kv820Map.selectNextFence"), {});
    });
    editFenceAction_ = add("actionEditSelectedFence", QStringLiteral("&Edit selected fence..."),
                           [this] { emit fenceEditRequested(selectedFence_); });
    deleteFenceAction_ = add("actionDeleteSelectedFence", QStringLiteral("&Delete selected fence"),
                             [this] { emit fenceRemovalRequested(selectedFence_); });
    editFenceAction_->setEnabled(false);
    deleteFenceAction_->setEnabled(false);
    button->setMenu(menu);
    return button;
}

void MapPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ensureView();
}

void MapPage::ensureView() {
    if (view_) {
        return;
    }
    prepareChromiumFlags();
    profile_ = new QWebEngineProfile(QStringLiteral("kv820-map"), this);
    profile_->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    // Tile servers ask every application to name itself.
    profile_->setHttpUserAgent(QStringLiteral("kv820-callcenter/%1 (fleet map; Qt WebEngine)")
                                   .arg(QStringLiteral(KV820_VERSION)));
    tileHandler_ = new TileSchemeHandler(profile_);
    profile_->installUrlSchemeHandler(TileScheme, tileHandler_);
    connect(tileHandler_, &TileSchemeHandler::sourceFailed, this, [this](const QString& why) {
        showNotice(QString::fromLatin1(TileSourceUnavailableNotice).arg(why));
    });
    view_ = new QWebEngineView(this);
    view_->setObjectName(QStringLiteral("mapView"));
    auto* page = new QWebEnginePage(profile_, view_);
    // The page comes from the resources; only the tiles come from the network.
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    auto* channel = new QWebChannel(page);
    channel->registerObject(QStringLiteral("bridge"), bridge_);
    page->setWebChannel(channel);
    view_->setPage(page);
    connect(view_, &QWebEngineView::loadFinished, this, &MapPage::onLoadFinished);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    delete layout->takeAt(layout->count() - 1);  // the stretch
    layout->addWidget(view_, 1);
    view_->setUrl(QUrl(PageUrl));
}

void MapPage::onLoadFinished(bool ok) {
    loaded_ = ok;
    if (!ok) {
        showNotice(QString::fromLatin1(PageUnavailableNotice));
        emit pageReady(false);
        return;
    }
    applyTileSource();
    const auto saved = MapSettings::view();
    if (saved) {
        view_->page()->runJavaScript(QStringLiteral("kv820Map.setView(%1, %2, %3)")
                                         .arg(saved->latitude, 0, 'f', 6)
                                         .arg(saved->longitude, 0, 'f', 6)
                                         .arg(saved->zoom));
    }
    pushFleet();
    call(QStringLiteral("kv820Map.setOverdue"), overdueJson_);
    pushFences();
    // A first start shows the tile file's own area, or else the whole fleet.
    if (!saved && !showTileArea()) {
        call(QStringLiteral("kv820Map.fitFirstView"), {});
    }
    call(QStringLiteral("kv820Map.follow"),
         jsonText(followCombo_->currentData().toString()).toStdString());
    if (trackPending_) {
        pushTrack();
    }
    if (pendingCentre_) {
        call(QStringLiteral("kv820Map.centreOn"), *pendingCentre_);
        pendingCentre_.reset();
    }
    pushTrackViews();
    emit pageReady(true);
}

void MapPage::applyTileSource() {
    const MapTileSource source = MapSettings::tileSource();
    localTiles_.reset();
    if (source.kind != MapTileSource::Kind::Url) {
        serveLocalTiles(source);
        return;
    }
    tileHandler_->stop();
    view_->page()->runJavaScript(
        QStringLiteral("kv820Map.setTiles(%1, %2)")
            .arg(jsonText(source.urlTemplate), jsonText(source.attribution)));
}

void MapPage::serveLocalTiles(const MapTileSource& source) {
    std::unique_ptr<TileSource> tiles;
    try {
        tiles = openTileSource(source.path.toStdString());
    } catch (const TileSourceError& error) {
        tileHandler_->stop();
        showNotice(QString::fromLatin1(TileSourceUnavailableNotice)
                       .arg(QString::fromStdString(error.what())));
        call(QStringLiteral("kv820Map.clearTiles"), {});
        return;
    }
    const TileSetInfo info = tiles->info();
    // A file's own attribution, or the one typed for a folder: plain text either way, made
    // HTML here because Leaflet shows attributions as HTML.
    const QString attribution = source.kind == MapTileSource::Kind::MbtilesFile
                                    ? QString::fromStdString(info.attribution)
                                    : source.attribution;
    QJsonObject options{{QStringLiteral("url"), tileHandler_->serve(std::move(tiles))},
                        {QStringLiteral("attribution"), attribution.toHtmlEscaped()},
                        {QStringLiteral("minZoom"), info.minZoom},
                        {QStringLiteral("maxNativeZoom"), info.maxZoom}};
    // A file of the whole world says nothing the map does not know, and bounds would keep
    // its tiles from the world's copies east and west.
    if (info.bounds && info.bounds->east - info.bounds->west < WholeWorldDegrees) {
        options.insert(QStringLiteral("bounds"), QJsonArray{info.bounds->south, info.bounds->west,
                                                            info.bounds->north, info.bounds->east});
    }
    call(QStringLiteral("kv820Map.setLocalTiles"),
         QJsonDocument(options).toJson(QJsonDocument::Compact).toStdString());
    localTiles_ = info;
}

bool MapPage::showTileArea() {
    if (!localTiles_) {
        return false;
    }
    if (const auto& centre = localTiles_->centre) {
        const int zoom = std::clamp(centre->zoom, localTiles_->minZoom, MaxMapZoom);
        call(QStringLiteral("kv820Map.setView"), QStringLiteral("%1, %2, %3")
                                                     .arg(centre->latitude, 0, 'f', 6)
                                                     .arg(centre->longitude, 0, 'f', 6)
                                                     .arg(zoom)
                                                     .toStdString());
        return true;
    }
    if (const auto& area = localTiles_->bounds) {
        call(QStringLiteral("kv820Map.fitArea"),
             QJsonDocument(QJsonArray{area->south, area->west, area->north, area->east})
                 .toJson(QJsonDocument::Compact)
                 .toStdString());
        return true;
    }
    return false;
}

void MapPage::refreshFleet() {
    fillFollowCombo();
    fleetPending_ = true;
    if (loaded_) {
        pushFleet();
    }
}

void MapPage::pushFleet() {
    Database* db = context_.gpslogConnection();
    try {
        if (db == nullptr) {
            throw DatabaseError("no gpslog connection");
        }
        call(QStringLiteral("kv820Map.setFleet"),
             fleetJson(loadFleetMarkers(*db, context_.registry().snapshot(), pendingAlarms_())));
        fleetPending_ = false;
    } catch (const DatabaseError&) {
        // Reception goes on; the page says why its markers are old.
        showNotice(QString::fromLatin1(PositionsUnreadableNotice));
    }
}

void MapPage::showReport(const PositionReport& report) {
    if (!loaded_) {
        return;  // the page draws the whole fleet as it loads
    }
    if (fleetPending_) {
        pushFleet();  // the last drawing of the fleet failed: every marker may be old
        return;
    }
    pushMarker(report.imei);
}

void MapPage::pushMarker(const std::string& imei) {
    Database* db = context_.gpslogConnection();
    try {
        if (db == nullptr) {
            throw DatabaseError("no gpslog connection");
        }
        if (const auto marker =
                loadFleetMarker(*db, context_.registry().snapshot(), imei, pendingAlarms_())) {
            call(QStringLiteral("kv820Map.setMarker"), markerJson(*marker));
        }
    } catch (const DatabaseError&) {
        fleetPending_ = true;  // the next report draws the whole fleet again
        showNotice(QString::fromLatin1(PositionsUnreadableNotice));
    }
}

void MapPage::showTrack(const std::optional<ReceiveRange>& range) {
    trackRange_ = range;
    trackPending_ = true;
    if (loaded_) {
        pushTrack();
    }
}

void MapPage::pushTrack() {
    trackPending_ = false;
    Database* db = context_.gpslogConnection();
    if (!trackRange_ || db == nullptr) {
        call(QStringLiteral("kv820Map.showTrack"), NoTrack);
        return;
    }
    const auto json = trackJson(StoredRangeRows(*db, *trackRange_));
    if (!json) {
        call(QStringLiteral("kv820Map.showTrack"), NoTrack);
        context_.services().alerts->error(window(), QString::fromLatin1(InquireGpslogFailureText));
        return;
    }
    call(QStringLiteral("kv820Map.showTrack"), *json);
}

void MapPage::showSpeedChart(const std::string& json) {
    pendingChart_ = json;
    pendingTrip_.reset();  // a new range: the trip chosen of the last one is gone with it
    pushTrackViews();
}

void MapPage::showTrip(const std::string& json) {
    pendingTrip_ = json;
    pushTrackViews();
}

// The chart and the chosen trip wait for the page; the trip is drawn after the track, which
// fits the view to itself when drawn.
void MapPage::pushTrackViews() {
    if (!loaded_) {
        return;
    }
    if (pendingChart_) {
        call(QStringLiteral("kv820Chart.show"), *pendingChart_);
        call(QStringLiteral("kv820Map.showTrip"), "null");
        pendingChart_.reset();
    }
    if (pendingTrip_) {
        call(QStringLiteral("kv820Map.showTrip"), *pendingTrip_);
        pendingTrip_.reset();
    }
}

bool MapPage::centreOn(const QString& userName, const GpslogRow& row) {
    auto json = centreJson(userName.toStdString(), reportRowViewOf(row));
    if (!json) {
        return false;
    }
    if (loaded_) {
        call(QStringLiteral("kv820Map.centreOn"), *json);
    } else {
        pendingCentre_ = std::move(json);
    }
    return true;
}

void MapPage::refreshFences() {
    if (loaded_) {
        pushFences();
    }
}

void MapPage::pushFences() {
    try {
        call(QStringLiteral("kv820Map.setFences"), fenceLayerJson(storedFences(context_)));
    } catch (const DatabaseError&) {
        showNotice(QString::fromLatin1(FencesUnreadableNotice));
    }
}

void MapPage::setOverdue(const std::vector<OverdueTracker>& trackers) {
    overdueJson_ = overdueJson(trackers);
    call(QStringLiteral("kv820Map.setOverdue"), overdueJson_);
}

void MapPage::fillFollowCombo() {
    const QString followed = followCombo_->currentData().toString();
    const QSignalBlocker blocker(followCombo_);
    followCombo_->clear();
    followCombo_->addItem(QStringLiteral("Nobody"), QString());
    const UserRegistry::Snapshot users = context_.registry().snapshot();
    for (int slot = 0; slot < users.userCount; ++slot) {
        const UserSlot& user = users.users[static_cast<std::size_t>(slot)];
        followCombo_->addItem(QString::fromStdString(user.name), QString::fromStdString(user.imei));
    }
    followCombo_->setCurrentIndex(std::max(0, followCombo_->findData(followed)));
}

void MapPage::editTileSource() {
    MapTileDialog dialog(MapSettings::tileSource(), context_.services(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    MapSettings::setTileSource(dialog.tileSource());
    notice_->clear();
    if (loaded_) {
        applyTileSource();
        // The operator just chose the file: show what it covers.
        showTileArea();
    }
}

void MapPage::showNotice(const QString& text) {
    notice_->setText(text);
}

void MapPage::call(const QString& function, const std::string& json) {
    if (!loaded_) {
        return;
    }
    view_->page()->runJavaScript(function + QLatin1Char('(') + QString::fromStdString(json) +
                                 QLatin1Char(')'));
}

}  // namespace kv820
