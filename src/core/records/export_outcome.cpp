#include "core/records/export_outcome.h"

namespace kv820 {

std::string_view ExportOutcomeMessage(ExportOutcome outcome) {
    switch (outcome) {
        case ExportOutcome::Written:
            return "";
        case ExportOutcome::NoData:
            return "No data.";
        case ExportOutcome::NoEffectiveData:
            return "No effective data.";
        case ExportOutcome::NoFileExistence:
            return "No file existence.";
        case ExportOutcome::WriteFailure:
            return "Export file write failure.";
        case ExportOutcome::RowsUnreadable:
            return "Inquire Gpslog Database failure.";
    }
    return "";
}

std::string ExportResultMessage(const ExportResult& result) {
    std::string message(ExportOutcomeMessage(result.outcome));
    if (!result.systemReason.empty()) {
        message += '\n';
        message += result.systemReason;
    }
    return message;
}

}  // namespace kv820
