#pragma once

// Moved to the shared test support; kept until the session tests include it from there.
#include "support/scoped_time_zone.h"
