#pragma once

#include <functional>

#include "core/records/report_row_view.h"

namespace kv820 {

// A search result handed to the exports one row at a time, so that a result of any size
// is written as a stream and never held twice in memory. A result may be walked more than
// once (the exports look for a fixed position before they create a file).
class ReportRows {
  public:
    // Returns false to end the walk early.
    using Visitor = std::function<bool(const ReportRowView& row)>;

    virtual ~ReportRows() = default;

    // Hands the rows to visit, oldest report first. Returns false when the rows could not
    // be read to the end; a walk ended by the visitor is no failure.
    virtual bool forEachOldestFirst(const Visitor& visit) const = 0;
};

}  // namespace kv820
