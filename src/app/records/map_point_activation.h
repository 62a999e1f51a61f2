#pragma once

class QWidget;

namespace kv820 {

class ReportListView;
struct AppServices;

// A double-clicked row of `list` opens its point on the web map; a map that cannot be
// opened shows "Open Google map is fail." owned by `messageOwner`.
void openMapOnActivation(ReportListView* list, QWidget* messageOwner, const AppServices& services);

}  // namespace kv820
