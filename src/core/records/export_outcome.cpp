#include "core/records/export_outcome.h"

#include "core/records/records_messages.h"

namespace kv820 {

std::string_view exportOutcomeMessage(ExportOutcome outcome) {
    switch (outcome) {
        case ExportOutcome::Written:
            return "";
        case ExportOutcome::NoData:
            return NoDataText;
        case ExportOutcome::NoEffectiveData:
            return NoEffectiveDataText;
        case ExportOutcome::NoFileExistence:
            return NoFileExistenceText;
        case ExportOutcome::WriteFailure:
            return ExportWriteFailureText;
        case ExportOutcome::RowsUnreadable:
            return InquireGpslogFailureText;
    }
    return "";
}

std::string exportResultMessage(const ExportResult& result) {
    std::string message(exportOutcomeMessage(result.outcome));
    if (!result.systemReason.empty()) {
        message += '\n';
        message += result.systemReason;
    }
    return message;
}

}  // namespace kv820
