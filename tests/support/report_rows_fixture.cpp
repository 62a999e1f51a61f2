#include "support/report_rows_fixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/records/stored_range_rows.h"

namespace kv820::test {

bool StoredReports::forEachOldestFirst(const Visitor& visit) const {
    for (int delivered = 0; delivered < static_cast<int>(rows_.size()); ++delivered) {
        if (delivered == failAfter_) {
            return false;
        }
        if (!visit(reportRowViewOf(rows_[delivered]))) {
            return true;
        }
    }
    return static_cast<int>(rows_.size()) != failAfter_;
}

GpslogRow at(std::string lat, std::string lon, std::string status) {
    return {"",           "2007/05/12", "10:03:04",        std::move(lat), std::move(lon),
            "2007/05/12", "10:02:58",   std::move(status), "12.5",         "0.0000",
            "0",          "7",          "Period report"};
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string readGolden(const std::string& name) {
    return readWholeFile(std::filesystem::path(KV820_GOLDEN_DIR) / name);
}

}  // namespace kv820::test
