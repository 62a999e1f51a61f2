#include "app/records/map_point_activation.h"

#include <QPointer>

#include "app/map/map_messages.h"
#include "app/map/web_map_opener.h"
#include "app/records/report_list_view.h"

namespace kv820 {

void openMapOnActivation(ReportListView* list, QWidget* messageOwner, const AppServices& services) {
    QObject::connect(list, &ReportListView::pointActivated, list,
                     [owner = QPointer<QWidget>(messageOwner), services](const QString& latitude,
                                                                         const QString& longitude) {
                         if (!OpenWebMap(*services.webMap, longitude, latitude)) {
                             services.alerts->error(owner,
                                                    QString::fromLatin1(OpenWebMapFailureText));
                         }
                     });
}

}  // namespace kv820
