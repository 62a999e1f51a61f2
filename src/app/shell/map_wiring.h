#pragma once

namespace kv820 {

class MainWindow;
class MapPage;

// Adds the "Map" page as the main window's last tab and feeds it: stored reports, SOS
// alarms and user changes redraw the markers, "Inquire Records" draws the searched track,
// and the search result's "Show on map" action centres the map on a row.
MapPage* AddMapPage(MainWindow& window);

}  // namespace kv820
