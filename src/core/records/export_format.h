#pragma once

#include <filesystem>

namespace kv820 {

enum class ExportFormat { Kml, Gpx, Csv };

// The format a chosen file name asks for: ".gpx" and ".csv" (any letter case) give those
// formats, every other name KML, the program's first export format.
ExportFormat ExportFormatForPath(const std::filesystem::path& path);

}  // namespace kv820
