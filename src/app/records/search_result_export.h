#pragma once

#include <optional>

#include "core/records/search_criteria.h"
#include "core/store/gpslog_store.h"

class QWidget;

namespace kv820 {

class Database;
struct AppServices;

// Exports the rows of the last search (the reports of `shownRange`, read oldest first from
// `db`) to a file the operator picks in a Save As dialog: KML, GPX or CSV by the chosen
// type. Every outcome but success is shown as an error owned by `owner`; a cancelled
// dialog writes nothing and says nothing. The dialog and the messages are the services'.
void exportSearchResult(const AppServices& services, QWidget* owner, Database* db,
                        const SearchCriteria& range, const std::optional<ReceiveRange>& shownRange);

}  // namespace kv820
