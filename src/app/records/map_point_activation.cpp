#include "app/records/map_point_activation.h"

#include <QPointer>

#include "app/common/alerts.h"
#include "app/map/web_map_opener.h"
#include "app/records/report_list_view.h"

namespace kv820 {

void OpenMapOnActivation(ReportListView* list, QWidget* messageOwner) {
    QObject::connect(list, &ReportListView::pointActivated, list,
                     [owner = QPointer<QWidget>(messageOwner)](const QString& latitude,
                                                               const QString& longitude) {
                         if (!OpenWebMap(longitude, latitude)) {
                             alerts().error(owner, QStringLiteral("Open Google map is fail."));
                         }
                     });
}

}  // namespace kv820
