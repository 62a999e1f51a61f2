#include "app/records/search_result_export.h"

#include <QString>
#include <filesystem>
#include <vector>

#include "app/common/app_services.h"
#include "core/records/record_export.h"
#include "core/records/stored_range_rows.h"

namespace kv820 {

namespace {

struct OfferedFormat {
    FileFilter filter;
    ExportFormat format;
};

// KML first: it is the export the program has always made.
const std::vector<OfferedFormat>& offeredFormats() {
    static const std::vector<OfferedFormat> Formats = {
        {{QStringLiteral("KV820 Files (*.kml)"), QStringLiteral("kml")}, ExportFormat::Kml},
        {{QStringLiteral("GPX Files (*.gpx)"), QStringLiteral("gpx")}, ExportFormat::Gpx},
        {{QStringLiteral("CSV Files (*.csv)"), QStringLiteral("csv")}, ExportFormat::Csv},
    };
    return Formats;
}

void report(Alerts& alerts, QWidget* owner, const ExportResult& result) {
    if (result.outcome != ExportOutcome::Written) {
        alerts.error(owner, QString::fromStdString(exportResultMessage(result)));
    }
}

}  // namespace

void exportSearchResult(const AppServices& services, QWidget* owner, Database* db,
                        const SearchCriteria& range,
                        const std::optional<ReceiveRange>& shownRange) {
    if (db == nullptr || !shownRange) {
        report(*services.alerts, owner, {ExportOutcome::NoData, {}});  // the result list is empty
        return;
    }
    const StoredRangeRows rows(*db, *shownRange);
    // Checked against the first offered format, before any dialog, as the operator has
    // always seen it: an empty result or one without a single fix is refused at once.
    const ExportOutcome precheck = precheckExport(ExportFormat::Kml, rows);
    if (precheck != ExportOutcome::Written) {
        report(*services.alerts, owner, {precheck, {}});
        return;
    }
    std::vector<FileFilter> filters;
    for (const OfferedFormat& offered : offeredFormats()) {
        filters.push_back(offered.filter);
    }
    const auto choice = services.files->chooseSaveFile(owner, filters);
    if (!choice) {
        return;
    }
    const OfferedFormat& chosen =
        offeredFormats().at(choice->filter >= 0 && choice->filter < int(filters.size())
                                ? static_cast<std::size_t>(choice->filter)
                                : 0);
    const QString path = withDefaultSuffix(choice->path, chosen.filter.suffix);
    report(*services.alerts, owner,
           exportRecords(chosen.format, std::filesystem::path(path.toStdU16String()), range, rows));
}

}  // namespace kv820
