#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/records/report_rows.h"
#include "core/store/gpslog_row.h"
#include "support/collecting_sink.h"

namespace kv820::test {

// A result held in memory, oldest first. It can be told to fail after a number of rows,
// as a database read that breaks off would.
class StoredReports final : public ReportRows {
  public:
    explicit StoredReports(std::vector<GpslogRow> oldestFirst, int failAfter = -1)
        : rows_(std::move(oldestFirst)), failAfter_(failAfter) {}

    bool forEachOldestFirst(const Visitor& visit) const override;

  private:
    std::vector<GpslogRow> rows_;
    int failAfter_;
};

// A stored report received 2007/05/12 10:03:04 with a fix at this position.
GpslogRow at(std::string lat, std::string lon, std::string status = "3D");

// The expected document stored beside the tests.
std::string readGolden(const std::string& name);
std::string readWholeFile(const std::filesystem::path& path);

}  // namespace kv820::test
