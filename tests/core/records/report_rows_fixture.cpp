#include "report_rows_fixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kv820::test {

bool StoredReports::forEachOldestFirst(const Visitor& visit) const {
    ++walks;
    int delivered = 0;
    for (const StoredReport& r : rows_) {
        if (delivered == failAfter_) {
            return false;
        }
        const ReportRowView view{r.receiveDate, r.receiveTime,  r.gpsPosLat, r.gpsPosLon,
                                 r.gpsDate,     r.gpsTime,      r.gpsStatus, r.gpsAltitude,
                                 r.gpsSpeed,    r.gpsDirection, r.gpsNumber, r.messageStatus};
        ++delivered;
        if (!visit(view)) {
            return true;
        }
    }
    return delivered != failAfter_;
}

bool CollectingSink::write(std::string_view piece) {
    if (accepted_ == 0) {
        return false;
    }
    if (accepted_ > 0) {
        --accepted_;
    }
    text += piece;
    return true;
}

StoredReport At(std::string lat, std::string lon, std::string status) {
    StoredReport r;
    r.gpsPosLat = std::move(lat);
    r.gpsPosLon = std::move(lon);
    r.gpsStatus = std::move(status);
    return r;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string ReadGolden(const std::string& name) {
    const std::filesystem::path here = std::filesystem::path(__FILE__).parent_path();
    return ReadWholeFile(here / "golden" / name);
}

}  // namespace kv820::test
