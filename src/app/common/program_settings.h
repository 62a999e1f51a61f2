#pragma once

#include <QSettings>

namespace kv820 {

// What the program keeps between runs (the window's place, the map's tiles and view), in the
// user's own settings file of the program.
QSettings programSettings();

}  // namespace kv820
