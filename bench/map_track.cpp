// A searched track of 100,000 reports on the map page: the data built from the database,
// and the same data handed to the page (Chromium, offscreen) and drawn by Leaflet.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cmath>
#include <ctime>
#include <memory>

#include "app/map/web_engine_setup.h"
#include "core/common/number_text.h"
#include "core/map/map_data.h"
#include "core/records/stored_range_rows.h"
#include "gpslog_fixture.h"

namespace {

constexpr long TrackRows = 100000;
const char* const Imei = kv820::bench::TrackerImeis[0];

// One tracker's drive: a wandering line with speeds that change every few reports, so
// that the track has many runs of different colours.
std::unique_ptr<kv820::bench::GpslogFixture> makeTrack() {
    auto fixture = std::make_unique<kv820::bench::GpslogFixture>("map-track", 0, 1);
    kv820::Database db(fixture->path());
    kv820::Transaction transaction(db);
    kv820::Statement insert(
        db, "INSERT INTO gpslog VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13)");
    for (long i = 0; i < TrackRows; ++i) {
        kv820::GpslogRow row = kv820::bench::GpslogFixture::rowAt(Imei, 1104537600 + i * 10);
        row[kv820::GpsPosLat] = kv820::fixedDecimal(25.0 + 0.2 * std::sin(i * 1e-4) + i * 1e-6, 6);
        row[kv820::GpsPosLon] = kv820::fixedDecimal(121.0 + 0.3 * std::cos(i * 7e-5), 6);
        row[kv820::GpsSpeed] = kv820::fixedDecimal(static_cast<double>((i / 7) % 120), 4);
        for (int c = 0; c < static_cast<int>(kv820::GpslogColumnCount); ++c) {
            insert.bind(c + 1, row[c]);
        }
        insert.run();
        insert.reset();
    }
    transaction.commit();
    return fixture;
}

const kv820::bench::GpslogFixture& track() {
    static const auto Fixture = makeTrack();
    return *Fixture;
}

std::string trackJsonFromDatabase() {
    kv820::Database db(track().path());
    return kv820::trackJson(kv820::StoredRangeRows(db, {Imei, "", "9999"})).value();
}

void bmMapTrackDataFromDatabase(benchmark::State& state) {
    track();  // built once, outside the timing
    for (auto _ : state) {
        benchmark::DoNotOptimize(trackJsonFromDatabase());
    }
    state.SetItemsProcessed(state.iterations() * TrackRows);
}
BENCHMARK(bmMapTrackDataFromDatabase)->Unit(benchmark::kMillisecond);

// The map page loaded in a web view that lives for the whole run.
QWebEngineView* loadedMapView() {
    static int argc = 1;
    static char name[] = "bench_map_track";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        kv820::prepareWebEngineBeforeApplication();
        return new QApplication(argc, argv);
    }();
    static QWebEngineView* view = [] {
        kv820::prepareChromiumFlags();
        auto* v = new QWebEngineView;
        v->resize(1000, 700);
        v->show();
        QEventLoop loop;
        QObject::connect(v, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
        v->setUrl(QUrl(QStringLiteral("qrc:/map/map.html")));
        loop.exec();
        return v;
    }();
    (void)app;
    return view;
}

// Runs a script and waits for its result: the page has parsed the data, built the
// layers, projected and simplified the line for the zoom shown (the canvas paints it on
// the next frame).
void runScript(QWebEngineView* view, const QString& script) {
    QEventLoop loop;
    view->page()->runJavaScript(script, [&loop](const QVariant&) { loop.quit(); });
    loop.exec();
}

void bmMapTrackHandedOverAndDrawn(benchmark::State& state) {
    QWebEngineView* view = loadedMapView();
    const QString script = QStringLiteral("kv820Map.showTrack(%1); kv820Map.state().trackVertices")
                               .arg(QString::fromStdString(trackJsonFromDatabase()));
    for (auto _ : state) {
        runScript(view, script);
        state.PauseTiming();
        runScript(view, QStringLiteral("kv820Map.showTrack({\"points\":0,\"bands\":[]})"));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * TrackRows);
}
BENCHMARK(bmMapTrackHandedOverAndDrawn)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
