#include "app/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include <algorithm>

#include "app/alarms/alarm_kind_choice.h"
#include "app/alarms/events_page.h"
#include "app/alarms/forwarding_dialog.h"
#include "app/alarms/geofence_editor.h"
#include "app/alarms/geofences_dialog.h"
#include "app/alarms/sos_alarms.h"
#include "app/commands/queued_command_channel.h"
#include "app/commands/sms_command_page.h"
#include "app/common/app_context.h"
#include "app/common/mnemonics.h"
#include "app/firmware/firmware_wizard.h"
#include "app/map/map_messages.h"
#include "app/map/map_page.h"
#include "app/ports/port_discovery.h"
#include "app/reception/shared_desk.h"
#include "app/reception/sms_session.h"
#include "app/records/map_point_activation.h"
#include "app/records/record_search.h"
#include "app/records/report_display.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/search_records_page.h"
#include "app/records/search_result_export.h"
#include "app/records/sms_tracking_page.h"
#include "app/setup/setup_launcher.h"
#include "app/shell/about_dialog.h"
#include "app/shell/main_status_bar.h"
#include "app/shell/window_placement.h"
#include "app/trips/track_reports.h"
#include "app/users/user_edit_dialog.h"
#include "app/users/user_information_dialog.h"
#include "app/users/user_slots_dialog.h"
#include "core/store/database.h"

namespace kv820 {

namespace {

constexpr int SearchRecordsTab = 1;
// The smallest window is a small laptop's or projector's screen; pages larger than their
// tab scroll.
constexpr QSize SmallestWindow(640, 480);

QAction* makeAction(QObject* parent, const char* objectName, const QString& text,
                    const QString& toolTip = {}, const QIcon& icon = {}) {
    auto* action = new QAction(icon, text, parent);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!toolTip.isEmpty()) {
        action->setToolTip(toolTip);
    }
    return action;
}

// One of the toolbar's SVG images in the program's resources (resources/icons).
QIcon toolbarIcon(const char* name) {
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg"));
}

// Keeps the chosen user chosen: only when that user is gone does the first entry take over,
// so that a command never goes to another tracker after the list was refilled.
void fillUserCombo(QComboBox* combo, const std::vector<std::string>& names) {
    const QString chosen = combo->currentText();
    combo->clear();
    for (const std::string& name : names) {
        combo->addItem(QString::fromStdString(name));
    }
    const int kept =
        chosen.isEmpty() ? -1 : combo->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (combo->count() > 0) {
        combo->setCurrentIndex(std::max(kept, 0));
    }
}

// A page in a scroll area: a tab smaller than the page's minimum size scrolls instead of
// cutting it; at or above it the page fills the tab as it would alone.
QScrollArea* scrollable(QWidget* page) {
    auto* area = new QScrollArea;
    area->setObjectName(page->objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    // The tab's own background shows through, as it did behind the page alone.
    area->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    return area;
}

// The next enabled tab `step` away, round the ends, as QTabWidget's own Ctrl+Tab goes.
void stepTab(QTabWidget* tabs, int step) {
    const int count = tabs->count();
    int index = tabs->currentIndex();
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (tabs->isTabEnabled(index)) {
            tabs->setCurrentIndex(index);
            return;
        }
    }
}

// The innermost tab widget holding `focus` below `outer`; `outer` when there is none.
QTabWidget* tabsAround(QWidget* focus, QTabWidget* outer) {
    for (QWidget* w = focus; w != nullptr && w != outer; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            return tabs;
        }
    }
    return outer;
}

QList<QRect> availableScreenAreas() {
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        areas << primary->availableGeometry();
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) {
            areas << screen->availableGeometry();
        }
    }
    return areas;
}

}  // namespace

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(title());
    setWindowIcon(toolbarIcon("map_mark"));
    resize(780, 650);
    move(100, 50);
    setMinimumSize(SmallestWindow);
    context_.openStore(this);
    createActions();
    createMenu();
    createToolBar();
    statusBar_ = new MainStatusBar(this);
    setStatusBar(statusBar_);
    createPages();
    createControllers();
    connectPages();
    fillUserLists();
    enableKeyboardUse();
}

MainWindow::~MainWindow() {
    // The session's worker writes into the pages: it ends before they go.
    smsSession_->shutdown();
}

void MainWindow::createControllers() {
    recordSearch_ = new RecordSearch(context_, *searchPage_, this, this);
    trackReports_ = new TrackReports(context_, this, this);
    trackReports_->addPagesTo(searchPage_->resultTabs());
    sosAlarms_ = new SosAlarms(context_.services(), this, this);
    sosAlarms_->setEventStore([this] { return context_.gpslogConnection(); }, &context_.registry());
    sosAlarms_->setKindChoice(AlarmKindChoice::load());
    geofenceEditor_ = new GeofenceEditor(context_, this, this);
    setupLauncher_ = new SetupLauncher(context_, this);
    smsSession_ =
        new SmsSession(*commandPage_, context_.registry(), context_.databaseLocation(), this);
    smsSession_->setCableActions({setupAction_, userEditAction_, firmwareAction_});
    if (isServerLocation(context_.databaseLocation())) {
        sharedDesk_ = new SharedDesk(context_.databaseLocation(), context_.registry(), this);
    }
    reportDisplay_ = new ReportDisplay(
        trackingPage_, [this] { return context_.gpslogConnection(); }, viewTrackingPointsAction_,
        this, context_.services(), this);
    reportDisplay_->setFailureLog(commandPage_->modemLog());
}

// Every connection between the pages, their controllers and the commands is made here;
// no page knows another.
void MainWindow::connectPages() {
    // Both report lists open a double-clicked point on the web map.
    openMapOnActivation(searchPage_->resultList(), this, context_.services());
    openMapOnActivation(trackingPage_->reportList(), this, context_.services());

    // The SMS session: the command pages send through it and the status bar shows how it
    // stands. Its stored reports and events go to the screens; on a shared database every
    // receiver's do, this window's own session's among them, through the desk.
    connect(smsSession_, &SmsSession::healthTextChanged, statusBar_,
            &MainStatusBar::setSessionHealth);
    if (sharedDesk_) {
        connectSharedDesk();
    } else {
        commandPage_->setCommandChannel(smsSession_);
        connect(smsSession_, &SmsSession::reportReceived, this, &MainWindow::showStoredReport);
        connect(smsSession_, &SmsSession::eventsRaised, this, &MainWindow::showEvents);
    }
    // A forward given up is told in the status bar; the forwarding dialog lists it.
    connect(smsSession_, &SmsSession::forwardFailed, this, [this](const Forward& forward) {
        statusBar_->showMessage(
            QStringLiteral("An event could not be forwarded by %1 to %2 (%3); Management > "
                           "Alarms > Forwarding lists it.")
                .arg(QString::fromUtf8(forwardChannelText(forward.channel).data()),
                     QString::fromStdString(forward.destination),
                     QString::fromStdString(forward.lastError)));
    });
    // An alarm acknowledged in its window shows as acknowledged in the events list.
    connect(sosAlarms_, &SosAlarms::changed, eventsPage_, &EventsPage::refresh);

    // The map: an alarm raised or acknowledged and a change of the users draw every marker
    // again; an inquiry draws the track it listed; the result list centres the map on a row.
    connect(sosAlarms_, &SosAlarms::changed, mapPage_, &MapPage::refreshFleet);
    connect(&context_, &AppContext::usersChanged, mapPage_, &MapPage::refreshFleet);
    connect(recordSearch_, &RecordSearch::inquired, mapPage_,
            [this] { mapPage_->showTrack(recordSearch_->shownRange()); });
    addShowOnMapAction();
    connectTrackReports();
    connectGeofences();

    // The users: every user list refills; a user renamed by a setup or deleted takes the
    // search result that lists it along.
    connect(&context_, &AppContext::usersChanged, this, &MainWindow::fillUserLists);
    connect(setupLauncher_, &SetupLauncher::trackerRegistered, recordSearch_,
            &RecordSearch::clearResult);
    connect(setupAction_, &QAction::triggered, setupLauncher_, &SetupLauncher::open);
    connect(userInformationAction_, &QAction::triggered, this,
            [this] { UserInformationDialog(context_, this).exec(); });
    connect(userEditAction_, &QAction::triggered, this, [this] {
        UserEditDialog dialog(context_, this);
        connect(&dialog, &UserEditDialog::userDeleted, recordSearch_, &RecordSearch::clearResultOf);
        dialog.exec();
    });

    connect(exportKmlAction_, &QAction::triggered, this, [this] {
        exportSearchResult(context_.services(), this, context_.gpslogConnection(),
                           recordSearch_->criteria(), recordSearch_->shownRange());
    });
}

// A stored report goes to the tracking page, the alarm and the map's marker of that tracker,
// in this order; its events to the events page.
void MainWindow::showStoredReport(const StoredReportEvent& event) {
    reportDisplay_->show(event);
    sosAlarms_->raise(event);
    mapPage_->showReport(event.report);
    if (!event.events.empty()) {
        noteOverdue(event.events);
        eventsPage_->refresh();
    }
}

void MainWindow::showEvents(const std::vector<TrackerEvent>& events) {
    sosAlarms_->raiseEvents(events);
    noteOverdue(events);
    eventsPage_->refresh();
}

// A desk on a shared database shows what every receiver stores, and queues the commands it
// sends without a session of its own for them.
void MainWindow::connectSharedDesk() {
    queuedCommands_ = new QueuedCommandChannel(
        *smsSession_, [this] { return sharedDesk_->connection(); }, commandPage_->modemLog(), this);
    commandPage_->setCommandChannel(queuedCommands_);
    smsSession_->setCommandsQueued(true);
    connect(sharedDesk_, &SharedDesk::commandsChanged, queuedCommands_,
            &QueuedCommandChannel::checkQueued);
    connect(sharedDesk_, &SharedDesk::reportReceived, this, &MainWindow::showStoredReport);
    connect(sharedDesk_, &SharedDesk::eventsRaised, this, &MainWindow::showEvents);
    connect(sharedDesk_, &SharedDesk::usersChanged, this, [this] { context_.refreshUsers(this); });
    // The server came back: the window's own connections were lost with the desk's.
    connect(sharedDesk_, &SharedDesk::connectionChanged, this, [this](const QString& failure) {
        if (failure.isEmpty()) {
            context_.reconnect(this);
        }
        statusBar_->showMessage(
            failure.isEmpty()
                ? QStringLiteral("The shared database is reached.")
                : QStringLiteral("The shared database cannot be reached (%1); the desk "
                                 "tries again.")
                      .arg(failure));
    });
}

// The trips, stops and days of the searched range beside its reports; its speed chart
// under the map's track. A chosen trip is drawn on the map, which comes to the front: the
// chart's pointer and the trip are seen together there.
void MainWindow::connectTrackReports() {
    connect(recordSearch_, &RecordSearch::inquired, trackReports_, [this] {
        trackReports_->showRange(recordSearch_->shownRange(),
                                 QString::fromStdString(recordSearch_->criteria().userName));
    });
    connect(recordSearch_, &RecordSearch::resultCleared, trackReports_,
            [this] { trackReports_->showRange(std::nullopt, {}); });
    connect(trackReports_, &TrackReports::speedChartChanged, mapPage_, &MapPage::showSpeedChart);
    connect(trackReports_, &TrackReports::tripChosen, mapPage_, [this](const std::string& json) {
        mapPage_->showTrip(json);
        showPage(mapPage_);
    });
}

// The fences: drawn, moved, edited and deleted on the map or in the Geofences dialog, all
// stored by the one editor; every change draws them again.
void MainWindow::connectGeofences() {
    connect(mapPage_, &MapPage::fenceDrawn, geofenceEditor_, &GeofenceEditor::addDrawn);
    connect(mapPage_, &MapPage::fenceMoved, geofenceEditor_, &GeofenceEditor::move);
    connect(mapPage_, &MapPage::fenceEditRequested, geofenceEditor_,
            [this](std::int64_t id) { geofenceEditor_->edit(id, this); });
    connect(mapPage_, &MapPage::fenceRemovalRequested, geofenceEditor_,
            [this](std::int64_t id) { geofenceEditor_->remove(id, this); });
    connect(geofenceEditor_, &GeofenceEditor::fencesChanged, mapPage_, &MapPage::refreshFences);
    connect(geofencesAction_, &QAction::triggered, this,
            [this] { GeofencesDialog(context_, *geofenceEditor_, this).exec(); });
}

void MainWindow::addShowOnMapAction() {
    ReportListView* list = searchPage_->resultList();
    auto* action = new QAction(QStringLiteral("Show on map"), list);
    action->setObjectName(QStringLiteral("actionShowOnMap"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    action->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(action);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(action, &QAction::triggered, mapPage_, [this, list] {
        const QModelIndex current = list->currentIndex();
        if (!current.isValid()) {
            return;
        }
        const ReportTableModel* model = list->reportModel();
        if (!mapPage_->centreOn(model->userName(), model->rowAt(current.row()))) {
            context_.services().alerts->error(this, QString::fromLatin1(NoPositionToShowText));
            return;
        }
        showPage(mapPage_);
    });
}

void MainWindow::createActions() {
    exitAction_ = makeAction(this, "actionExit", QStringLiteral("E&xit"));
    userInformationAction_ =
        makeAction(this, "actionUserInformation", QStringLiteral("&User Information"),
                   QStringLiteral("User information"), toolbarIcon("user_information"));
    userEditAction_ = makeAction(this, "actionUserEdit", QStringLiteral("User &Edit"),
                                 QStringLiteral("Delete user"), toolbarIcon("delete_user"));
    setupAction_ = makeAction(this, "actionKv820Setup", QStringLiteral("KV820 &Setup"),
                              QStringLiteral("KV820 Setup"), toolbarIcon("setup"));
    firmwareAction_ = makeAction(this, "actionFirmwareUpdate", QStringLiteral("&Firmware Update"));
    viewTrackingPointsAction_ =
        makeAction(this, "actionViewTrackingPoints", QStringLiteral("&View Tracking Points"),
                   QStringLiteral("Mark location in the map"), toolbarIcon("map_mark"));
    viewTrackingPointsAction_->setCheckable(true);
    exportKmlAction_ = makeAction(this, "actionExportKml", QStringLiteral("&Export KML File"),
                                  QStringLiteral("Export information to the KML format"),
                                  toolbarIcon("export_kml"));
    exportKmlAction_->setEnabled(false);
    geofencesAction_ = makeAction(this, "actionGeofences", QStringLiteral("&Geofences..."));
    aboutAction_ = makeAction(this, "actionAbout", QStringLiteral("&About"));

    connect(exitAction_, &QAction::triggered, this, &QWidget::close);
    connect(aboutAction_, &QAction::triggered, this, [this] { AboutDialog(this).exec(); });
    connect(firmwareAction_, &QAction::triggered, this,
            [this] { FirmwareWizard::open(this, commandPage_->modemLog()); });
}

void MainWindow::createMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(exitAction_);
    QMenu* management = menuBar()->addMenu(QStringLiteral("&Management"));
    management->addAction(userInformationAction_);
    management->addSeparator();
    management->addAction(userEditAction_);
    QAction* userSlots =
        makeAction(this, "actionUserSlots", QStringLiteral("&Trackers (user slots)..."));
    management->addAction(userSlots);
    connect(userSlots, &QAction::triggered, this,
            [this] { UserSlotsDialog(context_, this).exec(); });
    createAlarmsMenu(management);
    QMenu* device = menuBar()->addMenu(QStringLiteral("&Device"));
    device->addAction(setupAction_);
    device->addAction(firmwareAction_);
    QMenu* map = menuBar()->addMenu(QStringLiteral("Ma&p"));
    map->addAction(viewTrackingPointsAction_);
    map->addSeparator();
    map->addAction(exportKmlAction_);
    map->addSeparator();
    map->addAction(geofencesAction_);
    menuBar()->addAction(aboutAction_);
}

// Each kind the operator may switch is a checkable entry, kept in the program's settings.
// The menu sits under "Management": another title on the menu bar would take a letter the
// tracking page's fields need for their own mnemonics.
void MainWindow::createAlarmsMenu(QMenu* management) {
    struct Entry {
        EventKind kind;
        const char* objectName;
        const char* text;
    };
    const Entry entries[] = {
        {EventKind::GeofenceEnter, "actionAlarmOnFenceEnter", "Alarm on geofence &enter"},
        {EventKind::GeofenceExit, "actionAlarmOnFenceExit", "Alarm on geofence e&xit"},
        {EventKind::Overspeed, "actionAlarmOnOverspeed", "Alarm on &overspeed"},
        {EventKind::Overdue, "actionAlarmOnOverdue", "Alarm on a tracker over&due"}};
    management->addSeparator();
    QMenu* menu = management->addMenu(QStringLiteral("&Alarms"));
    QAction* forwarding =
        makeAction(this, "actionEventForwarding", QStringLiteral("&Forwarding..."));
    menu->addAction(forwarding);
    menu->addSeparator();
    connect(forwarding, &QAction::triggered, this,
            [this] { ForwardingDialog(context_, this).exec(); });
    const AlarmKindChoice saved = AlarmKindChoice::load();
    for (const Entry& entry : entries) {
        QAction* action = makeAction(this, entry.objectName, QString::fromLatin1(entry.text));
        action->setCheckable(true);
        action->setChecked(saved.raises(entry.kind));
        menu->addAction(action);
        connect(action, &QAction::toggled, this, [this, kind = entry.kind](bool on) {
            AlarmKindChoice choice = sosAlarms_->kindChoice();
            choice.setRaises(kind, on);
            choice.save();
            sosAlarms_->setKindChoice(choice);
        });
    }
}

void MainWindow::createToolBar() {
    QToolBar* toolBar = toolBar_ = addToolBar(QStringLiteral("Tools"));
    toolBar->setObjectName(QStringLiteral("mainToolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(40, 40));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (QAction* action : {userInformationAction_, viewTrackingPointsAction_, exportKmlAction_,
                            setupAction_, userEditAction_}) {
        toolBar->addAction(action);
    }
}

void MainWindow::createPages() {
    mainTab_ = new QTabWidget(this);
    mainTab_->setObjectName(QStringLiteral("mainTab"));
    trackingPage_ = new SmsTrackingPage;
    searchPage_ = new SearchRecordsPage;
    commandPage_ = new SmsCommandPage(context_.services());
    commandPage_->setUserRegistry(&context_.registry());
    mainTab_->addTab(scrollable(trackingPage_), QStringLiteral("SMS Tracking"));
    mainTab_->addTab(scrollable(searchPage_), QStringLiteral("Search Records"));
    mainTab_->addTab(scrollable(commandPage_), QStringLiteral("SMS Command"));
    // The trackers with an alarm are asked for only once the map has loaded.
    mapPage_ = new MapPage(context_, [this] {
        return sosAlarms_ ? sosAlarms_->pendingImeis() : std::vector<std::string>{};
    });
    mainTab_->addTab(mapPage_, QStringLiteral("Map"));
    eventsPage_ = new EventsPage(
        context_.registry(), [this] { return context_.gpslogConnection(); }, context_.services());
    mainTab_->addTab(scrollable(eventsPage_), QStringLiteral("Events"));
    setCentralWidget(mainTab_);
    fillPortCombo(commandPage_->comPortCombo());
    pulseBreakOnPortsOf(commandPage_->comPortCombo());
    connect(mainTab_, &QTabWidget::currentChanged, this, &MainWindow::applyMainTabSelection);
    applyMainTabSelection(mainTab_->currentIndex());
}

void MainWindow::applyMainTabSelection(int index) {
    // Only the search result can be exported.
    exportKmlAction_->setEnabled(index == SearchRecordsTab);
}

void MainWindow::fillUserLists() {
    const auto names = context_.registry().listNames();
    fillUserCombo(searchPage_->userCombo(), names);
    fillUserCombo(commandPage_->userCombo(), names);
    eventsPage_->fillTrackers();
}

void MainWindow::enableKeyboardUse() {
    // F10 opens the menu bar, as on Windows.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
    for (QAction* action : toolBar_->actions()) {
        if (QWidget* button = toolBar_->widgetForAction(action)) {
            button->setFocusPolicy(Qt::TabFocus);
        }
    }
    // Ctrl+Tab and Ctrl+PgDown (Ctrl+Shift+Tab and Ctrl+PgUp back) switch the pages wherever
    // the focus is, the toolbar included; inside the command tabs they switch those.
    const std::pair<QKeySequence, int> tabKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& [keys, step] : tabKeys) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this, step = step] { switchTabs(step); });
    }
    const QString menuLetters = mnemonicLetters(menuBar()->actions());
    for (int page = 0; page < mainTab_->count(); ++page) {
        assignMnemonics(mainTab_->widget(page), menuLetters);
    }
}

void MainWindow::switchTabs(int step) {
    QWidget* focus = QApplication::focusWidget();
    QTabWidget* tabs = tabsAround(focus, mainTab_);
    stepTab(tabs, step);
    // Focus left on a page now hidden would fall into the next page, perhaps into its inner
    // tabs, and the next press would switch those: the page tabs keep it instead.
    if (tabs == mainTab_ && mainTab_->isAncestorOf(focus)) {
        mainTab_->tabBar()->setFocus(Qt::TabFocusReason);
    }
}

void MainWindow::showPage(QWidget* page) {
    for (int index = 0; index < mainTab_->count(); ++index) {
        QWidget* tab = mainTab_->widget(index);
        if (tab == page || tab->isAncestorOf(page)) {
            mainTab_->setCurrentIndex(index);
            return;
        }
    }
}

void MainWindow::showAsLeft() {
    const std::optional<WindowPlacement> placement = loadWindowPlacement();
    if (!placement) {
        showMaximized();
        return;
    }
    setGeometry(ontoScreen(placement->geometry, availableScreenAreas()));
    mainTab_->setCurrentIndex(std::clamp(placement->page, 0, mainTab_->count() - 1));
    if (placement->maximized) {
        showMaximized();
    } else {
        showNormal();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveWindowPlacement({normalGeometry(), isMaximized(), mainTab_->currentIndex()});
    QMainWindow::closeEvent(event);
}

void MainWindow::activate() {
    if (isMinimized()) {
        showMaximized();
    }
    raise();
    activateWindow();
}

void MainWindow::noteOverdue(const std::vector<TrackerEvent>& events) {
    bool changed = false;
    for (const TrackerEvent& event : events) {
        if (event.kind != EventKind::Overdue && event.kind != EventKind::ReportingAgain) {
            continue;
        }
        std::erase_if(overdue_, [&](const OverdueTracker& t) { return t.imei == event.imei; });
        if (event.kind == EventKind::Overdue) {
            overdue_.push_back({event.imei, event.time});
        }
        changed = true;
    }
    if (changed) {
        mapPage_->setOverdue(overdue_);
    }
}

}  // namespace kv820
