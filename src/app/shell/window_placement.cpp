#include "app/shell/window_placement.h"

#include <algorithm>

#include "app/common/program_settings.h"

namespace kv820 {

namespace {

const QString GeometryKey = QStringLiteral("window/geometry");
const QString MaximizedKey = QStringLiteral("window/maximized");
const QString PageKey = QStringLiteral("window/page");

// How much of the window's top edge must show on a screen for the operator to grab it there.
constexpr int GrabWidth = 100, GrabHeight = 20;

bool grabbable(const QRect& geometry, const QRect& screen) {
    const QRect topEdge(geometry.left(), geometry.top(), geometry.width(), GrabHeight);
    const QRect shown = topEdge.intersected(screen);
    return shown.width() >= std::min(GrabWidth, geometry.width()) && shown.height() > 0;
}

}  // namespace

std::optional<WindowPlacement> loadWindowPlacement() {
    const QSettings settings = programSettings();
    const QRect geometry = settings.value(GeometryKey).toRect();
    if (!geometry.isValid()) {
        return std::nullopt;
    }
    return WindowPlacement{geometry, settings.value(MaximizedKey).toBool(),
                           settings.value(PageKey).toInt()};
}

void saveWindowPlacement(const WindowPlacement& placement) {
    QSettings settings = programSettings();
    settings.setValue(GeometryKey, placement.geometry);
    settings.setValue(MaximizedKey, placement.maximized);
    settings.setValue(PageKey, placement.page);
}

QRect ontoScreen(const QRect& geometry, const QList<QRect>& screens) {
    if (screens.isEmpty() || std::any_of(screens.begin(), screens.end(),
                                         [&](const QRect& s) { return grabbable(geometry, s); })) {
        return geometry;
    }
    const QRect& screen = screens.front();
    QRect placed(QPoint(), geometry.size().boundedTo(screen.size()));
    placed.moveTopLeft(
        QPoint(std::clamp(geometry.left(), screen.left(), screen.right() + 1 - placed.width()),
               std::clamp(geometry.top(), screen.top(), screen.bottom() + 1 - placed.height())));
    return placed;
}

}  // namespace kv820
