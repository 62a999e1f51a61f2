#pragma once

#include <QMainWindow>
#include <vector>

#include "core/alarms/fence_map_json.h"
#include "core/alarms/tracker_events.h"
#include "core/reception/sms_session_listener.h"

class QAction;
class QMenu;
class QTabWidget;
class QToolBar;

namespace kv820 {

class AppContext;
class EventsPage;
class MainStatusBar;
class GeofenceEditor;
class MapPage;
class QueuedCommandChannel;
class RecordSearch;
class ReportDisplay;
class SearchRecordsPage;
class SetupLauncher;
class SharedDesk;
class SmsCommandPage;
class SmsSession;
class SmsTrackingPage;
class SosAlarms;
class TrackReports;

// The one top-level window: menu, toolbar, status bar, the three main pages and the map.
// It makes the pages and what drives them, and it alone connects them to each other.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    static QString title() { return QStringLiteral("KV820-Call Center V1.01"); }

    // Opens the store through `context` (showing its failures) before building the pages.
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return context_; }
    QTabWidget* mainTab() const { return mainTab_; }
    SmsTrackingPage* trackingPage() const { return trackingPage_; }
    SearchRecordsPage* searchPage() const { return searchPage_; }
    SmsCommandPage* commandPage() const { return commandPage_; }
    MapPage* mapPage() const { return mapPage_; }
    EventsPage* eventsPage() const { return eventsPage_; }
    MainStatusBar* mainStatusBar() const { return statusBar_; }
    RecordSearch* recordSearch() const { return recordSearch_; }
    TrackReports* trackReports() const { return trackReports_; }
    // Every stored report and event goes through it; SOS reports and the events of the
    // kinds the operator chose raise the alarm.
    SosAlarms* sosAlarms() const { return sosAlarms_; }
    SmsSession* smsSession() const { return smsSession_; }
    // On a shared database: what every receiver stores, and the queue of commands.
    SharedDesk* sharedDesk() const { return sharedDesk_; }

    // The command actions, shared by the menu and the toolbar.
    QAction* exitAction() const { return exitAction_; }
    QAction* userInformationAction() const { return userInformationAction_; }
    QAction* userEditAction() const { return userEditAction_; }
    QAction* setupAction() const { return setupAction_; }
    QAction* firmwareAction() const { return firmwareAction_; }
    QAction* viewTrackingPointsAction() const { return viewTrackingPointsAction_; }
    QAction* exportKmlAction() const { return exportKmlAction_; }
    QAction* geofencesAction() const { return geofencesAction_; }
    QAction* aboutAction() const { return aboutAction_; }

    // Brings the window to the front (a second copy of the program asked for it).
    void activate();
    // Shows the window where, as large and on the page the operator left it; maximised at
    // the first start.
    void showAsLeft();
    // Shows the main tab that holds `page` (each page sits in a scroll area of its tab).
    void showPage(QWidget* page);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createActions();
    void createMenu();
    void createAlarmsMenu(QMenu* management);
    void createToolBar();
    void createPages();
    void createControllers();
    void connectPages();
    void connectSharedDesk();
    void showStoredReport(const StoredReportEvent& event);
    void showEvents(const std::vector<TrackerEvent>& events);
    void connectTrackReports();
    void addShowOnMapAction();
    void connectGeofences();
    // Greys the markers of the trackers that went silent, until they report again.
    void noteOverdue(const std::vector<TrackerEvent>& events);
    void applyMainTabSelection(int index);
    void fillUserLists();
    void enableKeyboardUse();
    void switchTabs(int step);

    AppContext& context_;
    QTabWidget* mainTab_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    SmsTrackingPage* trackingPage_ = nullptr;
    SearchRecordsPage* searchPage_ = nullptr;
    SmsCommandPage* commandPage_ = nullptr;
    MapPage* mapPage_ = nullptr;
    EventsPage* eventsPage_ = nullptr;
    std::vector<OverdueTracker> overdue_;
    MainStatusBar* statusBar_ = nullptr;
    RecordSearch* recordSearch_ = nullptr;
    TrackReports* trackReports_ = nullptr;
    SosAlarms* sosAlarms_ = nullptr;
    SmsSession* smsSession_ = nullptr;
    SharedDesk* sharedDesk_ = nullptr;  // only on a shared database
    QueuedCommandChannel* queuedCommands_ = nullptr;
    ReportDisplay* reportDisplay_ = nullptr;
    SetupLauncher* setupLauncher_ = nullptr;

    QAction* exitAction_ = nullptr;
    QAction* userInformationAction_ = nullptr;
    QAction* userEditAction_ = nullptr;
    QAction* setupAction_ = nullptr;
    QAction* firmwareAction_ = nullptr;
    QAction* viewTrackingPointsAction_ = nullptr;
    QAction* exportKmlAction_ = nullptr;
    QAction* geofencesAction_ = nullptr;
    GeofenceEditor* geofenceEditor_ = nullptr;
    QAction* aboutAction_ = nullptr;
};

}  // namespace kv820
