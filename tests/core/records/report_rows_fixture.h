#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/records/report_rows.h"
#include "core/records/text_sink.h"

namespace kv820::test {

// One stored report as owned texts, in the column order of the record lists.
struct StoredReport {
    std::string receiveDate = "2007/05/12";
    std::string receiveTime = "10:03:04";
    std::string gpsPosLat = "25.047924";
    std::string gpsPosLon = "121.517081";
    std::string gpsDate = "2007/05/12";
    std::string gpsTime = "10:02:58";
    std::string gpsStatus = "3D";
    std::string gpsAltitude = "12.5";
    std::string gpsSpeed = "0.0000";
    std::string gpsDirection = "0";
    std::string gpsNumber = "7";
    std::string messageStatus = "Period report";
};

// A result held in memory, oldest first. It can be told to fail after a number of rows,
// as a database read that breaks off would.
class StoredReports final : public ReportRows {
  public:
    explicit StoredReports(std::vector<StoredReport> oldestFirst, int failAfter = -1)
        : rows_(std::move(oldestFirst)), failAfter_(failAfter) {}

    bool forEachOldestFirst(const Visitor& visit) const override;
    mutable int walks = 0;

  private:
    std::vector<StoredReport> rows_;
    int failAfter_;
};

// A sink that keeps what it is given and refuses every write after the first `accepted`.
class CollectingSink final : public TextSink {
  public:
    explicit CollectingSink(int accepted = -1) : accepted_(accepted) {}
    bool write(std::string_view text) override;
    std::string text;

  private:
    int accepted_;
};

StoredReport At(std::string lat, std::string lon, std::string status = "3D");

// The expected document stored beside the tests.
std::string ReadGolden(const std::string& name);
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace kv820::test
