#pragma once

#include <QRect>

namespace kv820 {

// Where both user dialogs put their list, in pixels of the client area; the dialogs grow
// around it so that nothing is clipped.
inline constexpr QRect UserListGeometry(10, 10, 380, 180);
inline constexpr int UserListMargin = 10;

}  // namespace kv820
