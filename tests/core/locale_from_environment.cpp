// The core tests run under the locale of their environment, as the program does (the Qt
// application adopts it), so that a run with LC_ALL set to a comma-decimal locale shows
// every number the core reads or writes depending on it.
#include <clocale>

namespace {
const bool LocaleAdopted = std::setlocale(LC_ALL, "") != nullptr;
}  // namespace
