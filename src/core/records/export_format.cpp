#include "core/records/export_format.h"

#include <cctype>
#include <string>

namespace kv820 {

ExportFormat ExportFormatForPath(const std::filesystem::path& path) {
    std::string suffix = path.extension().string();
    for (char& c : suffix) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (suffix == ".gpx") {
        return ExportFormat::Gpx;
    }
    if (suffix == ".csv") {
        return ExportFormat::Csv;
    }
    return ExportFormat::Kml;
}

}  // namespace kv820
