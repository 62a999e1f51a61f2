#include "core/records/export_outcome.h"

namespace kv820 {

std::string_view ExportOutcomeMessage(ExportOutcome outcome) {
    switch (outcome) {
        case ExportOutcome::kWritten:
            return "";
        case ExportOutcome::kNoData:
            return "No data.";
        case ExportOutcome::kNoEffectiveData:
            return "No effective data.";
        case ExportOutcome::kNoFileExistence:
            return "No file existence.";
        case ExportOutcome::kWriteFailure:
            return "Export file write failure.";
        case ExportOutcome::kRowsUnreadable:
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
