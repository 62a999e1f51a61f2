#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// How an export ended. Every outcome but Written is shown to the operator as an error.
enum class ExportOutcome {
    Written,
    NoData,           // the search result is empty
    NoEffectiveData,  // no row of the result has a fix
    NoFileExistence,  // the file cannot be created beside the chosen one
    WriteFailure,     // a write, the close or the replacement failed
    RowsUnreadable,   // the result could not be read to its end
};

// How an export ended, with the system's reason when a file operation failed. Whatever
// failed, the chosen file is as it was before.
struct ExportResult {
    ExportOutcome outcome = ExportOutcome::Written;
    std::string systemReason;  // "No space left on device"; empty when there is none

    friend bool operator==(const ExportResult& result, ExportOutcome outcome) {
        return result.outcome == outcome;
    }
};

// The message the operator sees for an outcome; empty for Written.
std::string_view exportOutcomeMessage(ExportOutcome outcome);
// The outcome's message with the system's reason on a line of its own.
std::string exportResultMessage(const ExportResult& result);

}  // namespace kv820
