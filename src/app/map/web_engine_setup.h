#pragma once

namespace kv820 {

// Qt WebEngine shares OpenGL contexts with the widgets, and knows the scheme the map's
// tiles are served under, only when told so before the QApplication exists: the program's
// main calls this first.
void prepareWebEngineBeforeApplication();

// Chromium's own switches, set just before the first web view starts Chromium: no sandbox
// when running as root (Chromium refuses to start its sandbox then), and no GPU under the
// offscreen platform (there is no display to render with). Flags the user set are kept.
void prepareChromiumFlags();

}  // namespace kv820
