#pragma once

#include <ostream>

#include "core/setup/setup_file.h"

namespace kv820 {

// Lets test failures show a setup file field by field.
inline void printTo(const SetupFile& f, std::ostream* os) {
    *os << "{return " << f.defaultReturnEnabled << " '" << f.defaultReturnPhone << "', fix "
        << f.maxGpsFixingTime << ", name '" << f.userName << "', zone " << f.timeZoneOn << ", mode "
        << static_cast<int>(f.reportMode) << ", interval '" << f.reportInterval << "', format "
        << f.reportFormat << ", reports '" << f.numberOfReports << "', pin '" << f.simPin
        << "', sos '" << f.sosNumbers[0] << "' '" << f.sosNumbers[1] << "' '" << f.sosNumbers[2]
        << "', report number '" << f.reportReturnPhone << "'}";
}

}  // namespace kv820
