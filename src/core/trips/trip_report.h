#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/alarms/user_range.h"
#include "core/records/export_outcome.h"
#include "core/trips/track_summary.h"

namespace kv820 {

class Database;
class TextSink;

enum class TripReportKind { Trips, Stops, Summary };

// The names a script asks for them by, in the order of the enumerators.
inline constexpr std::array<std::string_view, 3> TripReportNames = {"trips", "stops", "summary"};

std::optional<TripReportKind> tripReportKindNamed(std::string_view name);

// Writes one of the user's track reports (track_csv.h) over the reports whose GPS time
// lies in the request's range, without writing to the database. Returns why it could not
// (resolveUserRange, or a failed write); empty when written. Throws DatabaseError.
std::string writeUserTripReport(Database& db, const UserRangeRequest& request, TripReportKind kind,
                                TextSink& sink, const TripSettings& settings = {});

// Writes one report of `summary` to `path` as a whole file: the file the operator had stays
// as it was unless the new one is complete. Written, NoFileExistence or WriteFailure.
ExportResult writeTripReportFile(const std::filesystem::path& path, TripReportKind kind,
                                 const TrackSummary& summary);

}  // namespace kv820
