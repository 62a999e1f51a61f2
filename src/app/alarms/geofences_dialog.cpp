#include "app/alarms/geofences_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/alarms/geofence_editor.h"
#include "app/common/app_context.h"
#include "core/common/number_text.h"

namespace kv820 {

namespace {

constexpr int MaxNameColumnWidth = 200;

const std::vector<FileFilter> GeojsonFilters = {
    {QStringLiteral("GeoJSON Files (*.geojson *.json)"), QStringLiteral("geojson")}};

QString trackersText(const Geofence& fence, const UserRegistry::Snapshot& users) {
    if (fence.imeis.empty()) {
        return QStringLiteral("All");
    }
    QStringList names;
    for (const std::string& imei : fence.imeis) {
        QString name = QString::fromStdString(imei);
        for (int slot = 0; slot < users.userCount; ++slot) {
            if (users.users[static_cast<std::size_t>(slot)].imei == imei) {
                name = QString::fromStdString(users.users[static_cast<std::size_t>(slot)].name);
            }
        }
        names << name;
    }
    return names.join(QStringLiteral(", "));
}

QPushButton* addButton(QHBoxLayout* row, const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    row->addWidget(button);
    return button;
}

}  // namespace

GeofencesDialog::GeofencesDialog(AppContext& context, GeofenceEditor& editor, QWidget* parent)
    : QDialog(parent), context_(context), editor_(editor), table_(new QTableWidget(0, 4)) {
    setObjectName(QStringLiteral("geofencesDialog"));
    setWindowTitle(QStringLiteral("Geofences"));
    table_->setObjectName(QStringLiteral("geofenceTable"));
    table_->setAccessibleName(QStringLiteral("Geofences"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Shape"),
                                       QStringLiteral("Speed limit"), QStringLiteral("Trackers")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();

    auto* row = new QHBoxLayout;
    editButton_ = addButton(row, "editGeofenceButton", QStringLiteral("&Edit..."));
    deleteButton_ = addButton(row, "deleteGeofenceButton", QStringLiteral("&Delete"));
    row->addStretch();
    QPushButton* importButton =
        addButton(row, "importGeofencesButton", QStringLiteral("&Import..."));
    QPushButton* exportButton =
        addButton(row, "exportGeofencesButton", QStringLiteral("E&xport..."));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* tableLabel = new QLabel(QStringLiteral("&Fences:"));
    tableLabel->setBuddy(table_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tableLabel);
    layout->addWidget(table_, 1);
    layout->addLayout(row);
    layout->addWidget(close);
    resize(560, 340);

    connect(editButton_, &QPushButton::clicked, this,
            [this] { editor_.edit(currentFence(), this); });
    connect(table_, &QTableWidget::cellActivated, this,
            [this] { editor_.edit(currentFence(), this); });
    connect(deleteButton_, &QPushButton::clicked, this,
            [this] { editor_.remove(currentFence(), this); });
    connect(importButton, &QPushButton::clicked, this, &GeofencesDialog::importChosenFile);
    connect(exportButton, &QPushButton::clicked, this, &GeofencesDialog::exportToChosenFile);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&editor_, &GeofenceEditor::fencesChanged, this, &GeofencesDialog::fill);
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
        editButton_->setEnabled(currentFence() != 0);
        deleteButton_->setEnabled(currentFence() != 0);
    });
    fill();
}

void GeofencesDialog::fill() {
    const std::int64_t current = currentFence();
    const UserRegistry::Snapshot users = context_.registry().snapshot();
    const std::vector<Geofence> fences = editor_.fences();
    table_->setRowCount(static_cast<int>(fences.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const Geofence& fence = fences[static_cast<std::size_t>(r)];
        // QTableWidgetItem shows its text as it is: a name is never taken for markup.
        const QString cells[] = {
            QString::fromStdString(fence.name),
            fence.shape == Geofence::Shape::Circle
                ? QStringLiteral("Circle, %1 m").arg(fixedDecimal(fence.radiusMetres, 0).c_str())
                : QStringLiteral("Polygon, %1 corners").arg(fence.corners.size()),
            fence.speedLimitKmh
                ? QStringLiteral("%1 km/h").arg(fixedDecimal(*fence.speedLimitKmh, 0).c_str())
                : QStringLiteral("None"),
            trackersText(fence, users)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::UserRole, QVariant::fromValue<qint64>(fence.id));
            table_->setItem(r, c, item);
        }
        if (fence.id == current) {
            table_->selectRow(r);
        }
    }
    table_->resizeColumnsToContents();
    // A long name must not push the shape, limit and trackers out of sight.
    table_->setColumnWidth(0, std::min(table_->columnWidth(0), MaxNameColumnWidth));
    editButton_->setEnabled(currentFence() != 0);
    deleteButton_->setEnabled(currentFence() != 0);
}

std::int64_t GeofencesDialog::currentFence() const {
    const QList<QTableWidgetItem*> chosen = table_->selectedItems();
    return chosen.isEmpty() ? 0 : chosen.front()->data(Qt::UserRole).toLongLong();
}

void GeofencesDialog::importChosenFile() {
    if (const auto path = context_.services().files->chooseOpenFile(this, GeojsonFilters)) {
        editor_.importFile(*path, this);
    }
}

void GeofencesDialog::exportToChosenFile() {
    if (const auto choice = context_.services().files->chooseSaveFile(this, GeojsonFilters)) {
        editor_.exportFile(withDefaultSuffix(choice->path, GeojsonFilters.front().suffix), this);
    }
}

}  // namespace kv820
