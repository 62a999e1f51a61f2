#pragma once

#include <QString>
#include <QWebEngineUrlSchemeHandler>
#include <memory>

#include "core/tiles/tile_set.h"

namespace kv820 {

// The address scheme under which the program hands the map page the tiles of an MBTiles
// file or a tile folder. It is made known to Qt WebEngine before the application exists
// (prepareWebEngineBeforeApplication) and served on the map's profile only.
inline constexpr char TileScheme[] = "kv820tiles";

// Registers the scheme (as a secure one, so that no page treats its tiles as mixed content).
void registerTileScheme();

// Answers the page's requests "kv820tiles://s<n>/{z}/{x}/{y}" with the tiles of the source
// it was last handed. Each source gets a new <n>, so a request of an earlier source (or one
// the browser kept) is never answered with another's tile. A tile the source lacks is
// answered "not found" without fuss: the page then shows its plain background there.
class TileSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
  public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    ~TileSchemeHandler() override;

    // Serves `source` from now on; returns the page's URL template for it.
    QString serve(std::unique_ptr<TileSource> source);
    // Serves nothing any more.
    void stop();

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // Counts of answers, for the program's tests and benchmarks.
    int servedTiles() const { return served_; }
    int missingTiles() const { return missing_; }

  signals:
    // The source could not be read (its file went away, a disk error): the page gets no
    // tile from it any more. Said once a source.
    void sourceFailed(const QString& why);

  private:
    std::unique_ptr<TileSource> source_;
    QString host_;
    quint64 generation_ = 0;
    bool failed_ = false;
    int served_ = 0;
    int missing_ = 0;
};

}  // namespace kv820
