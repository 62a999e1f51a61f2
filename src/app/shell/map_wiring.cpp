#include "app/shell/map_wiring.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

#include "app/alarms/sos_alarms.h"
#include "app/common/alerts.h"
#include "app/common/app_context.h"
#include "app/map/map_page.h"
#include "app/reception/sms_session.h"
#include "app/records/record_search.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"

namespace kv820 {

namespace {

void AddShowOnMapAction(MainWindow& window, MapPage* page) {
    ReportListView* list = window.searchPage()->resultList();
    auto* action = new QAction(QStringLiteral("Show on map"), list);
    action->setObjectName(QStringLiteral("actionShowOnMap"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    action->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(action);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(action, &QAction::triggered, page, [&window, list, page] {
        const QModelIndex current = list->currentIndex();
        if (!current.isValid()) {
            return;
        }
        const ReportTableModel* model = list->reportModel();
        if (!page->centreOn(model->userName(), model->rowAt(current.row()))) {
            alerts().error(&window, QStringLiteral("This report has no position to show."));
            return;
        }
        window.showPage(page);
    });
}

}  // namespace

MapPage* AddMapPage(MainWindow& window) {
    auto* page = new MapPage(window.context(),
                             [alarms = window.sosAlarms()] { return alarms->pendingImeis(); });
    window.mainTab()->addTab(page, QStringLiteral("Map"));
    QObject::connect(window.smsSession(), &SmsSession::reportReceived, page,
                     &MapPage::refreshFleet);
    QObject::connect(window.sosAlarms(), &SosAlarms::changed, page, &MapPage::refreshFleet);
    QObject::connect(&window.context(), &AppContext::usersChanged, page, &MapPage::refreshFleet);
    // Connected after the search itself, so the range read here is the one just listed.
    QObject::connect(window.searchPage()->inquireButton(), &QPushButton::clicked, page,
                     [&window, page] { page->showTrack(window.recordSearch()->shownRange()); });
    AddShowOnMapAction(window, page);
    return page;
}

}  // namespace kv820
