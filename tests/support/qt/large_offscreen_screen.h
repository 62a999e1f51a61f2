#pragma once

namespace kv820::test {

// The offscreen platform's one screen is 800 x 600 pixels, smaller than the main window:
// beyond it QApplication::widgetAt finds nothing. Call before the QApplication is made to
// give the offscreen platform a 1920 x 1200 screen instead (nothing changes on others).
void UseLargeOffscreenScreen();

}  // namespace kv820::test
