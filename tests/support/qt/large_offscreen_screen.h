#pragma once

#include <filesystem>

namespace kv820::test {

// The offscreen platform's one screen is 800 x 600 pixels, smaller than the main window:
// beyond it QApplication::widgetAt finds nothing. Made before the QApplication, this gives
// the offscreen platform a 1920 x 1200 screen instead (nothing changes on other platforms)
// and removes its configuration file when it goes.
class LargeOffscreenScreen {
  public:
    LargeOffscreenScreen();
    ~LargeOffscreenScreen();
    LargeOffscreenScreen(const LargeOffscreenScreen&) = delete;
    LargeOffscreenScreen& operator=(const LargeOffscreenScreen&) = delete;

  private:
    std::filesystem::path config_;
};

}  // namespace kv820::test
