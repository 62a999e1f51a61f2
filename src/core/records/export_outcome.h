#pragma once

#include <string_view>

namespace kv820 {

// How an export ended. Every outcome but kWritten is shown to the operator as an error.
enum class ExportOutcome {
    kWritten,
    kNoData,           // the search result is empty
    kNoEffectiveData,  // no row of the result has a fix
    kNoFileExistence,  // the chosen file cannot be created or opened
    kWriteFailure,     // a write or the close failed; the partial file is gone
    kRowsUnreadable,   // the result could not be read to its end; the partial file is gone
};

// The message the operator sees for an outcome; empty for kWritten.
std::string_view ExportOutcomeMessage(ExportOutcome outcome);

}  // namespace kv820
