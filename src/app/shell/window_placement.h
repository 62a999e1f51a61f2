#pragma once

#include <QList>
#include <QRect>
#include <optional>

namespace kv820 {

// Where the main window was when the operator closed it, restored at the next start.
struct WindowPlacement {
    QRect geometry;  // the normal (not maximised) geometry, without the window frame
    bool maximized = false;
    int page = 0;  // the main tab shown
};

// None before the first close.
std::optional<WindowPlacement> loadWindowPlacement();
void saveWindowPlacement(const WindowPlacement& placement);

// `geometry` itself when the operator can still grab the window on one of the `screens`
// (available areas): some of its top edge shows on one. Otherwise (a screen unplugged, the
// resolution lowered) it is moved into the first screen, and shrunk when larger than it.
QRect ontoScreen(const QRect& geometry, const QList<QRect>& screens);

}  // namespace kv820
