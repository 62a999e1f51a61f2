#pragma once

#include <QString>

#include "app/common/app_services.h"

namespace kv820 {

// Shows a point on the web map through `opener`. Note the order: longitude first, as every
// caller holds the pair. True when the opener took the address; no message is shown here.
bool OpenWebMap(WebMapOpener& opener, const QString& longitude, const QString& latitude);

}  // namespace kv820
