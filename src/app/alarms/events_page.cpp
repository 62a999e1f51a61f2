#include "app/alarms/events_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <ctime>

#include "core/alarms/event_time.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/user_registry.h"

namespace kv820 {

namespace {

enum Column { TimeColumn, TrackerColumn, KindColumn, DetailsColumn, AcknowledgedColumn };

QString text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template <typename Control>
Control* named(Control* control, const char* objectName) {
    control->setObjectName(QString::fromLatin1(objectName));
    return control;
}

QLineEdit* timeEdit(const char* objectName) {
    auto* edit = named(new QLineEdit, objectName);
    edit->setPlaceholderText(QStringLiteral("YYYY/MM/DD hh:mm:ss"));
    // The placeholder is the widest text the field takes; room for the frame and margins.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(edit->placeholderText()) + 20);
    return edit;
}

QString acknowledgedText(const StoredEvent& stored) {
    return stored.acknowledgedAt.empty()
               ? QString()
               : text(stored.acknowledgedAt) + QStringLiteral(" by ") + text(stored.acknowledgedBy);
}

}  // namespace

EventsPage::EventsPage(const UserRegistry& users, std::function<Database*()> database,
                       const AppServices& services, QWidget* parent)
    : QWidget(parent),
      users_(users),
      database_(std::move(database)),
      services_(services),
      tracker_(named(new QComboBox, "eventTrackerCombo")),
      kind_(named(new QComboBox, "eventKindCombo")),
      from_(timeEdit("eventFromEdit")),
      to_(timeEdit("eventToEdit")),
      show_(named(new QPushButton(QStringLiteral("&Show")), "eventShowButton")),
      list_(named(new QTableWidget(0, 5), "eventList")),
      count_(named(new QLabel, "eventCountLabel")),
      acknowledge_(
          named(new QPushButton(QStringLiteral("Ac&knowledge")), "eventAcknowledgeButton")) {
    setObjectName(QStringLiteral("eventsPage"));
    kind_->addItem(QStringLiteral("All kinds"), -1);
    for (const EventKind kind : EventKinds) {
        kind_->addItem(text(eventKindText(kind)), int(kind));
    }
    list_->setAccessibleName(QStringLiteral("Events"));
    list_->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Tracker"),
                                      QStringLiteral("Kind"), QStringLiteral("Details"),
                                      QStringLiteral("Acknowledged")});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setWordWrap(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setMinimumHeight(100);
    acknowledge_->setEnabled(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_, 1);
    bottom->addWidget(acknowledge_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow());
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);

    connect(show_, &QPushButton::clicked, this, &EventsPage::applyFilter);
    for (QLineEdit* edit : {from_, to_}) {
        connect(edit, &QLineEdit::returnPressed, this, &EventsPage::applyFilter);
    }
    for (QComboBox* combo : {tracker_, kind_}) {
        connect(combo, &QComboBox::activated, this, &EventsPage::applyFilter);
    }
    connect(list_, &QTableWidget::itemSelectionChanged, this,
            [this] { acknowledge_->setEnabled(list_->selectionModel()->hasSelection()); });
    connect(acknowledge_, &QPushButton::clicked, this, &EventsPage::acknowledgeSelected);
    fillTrackers();
    refresh();
}

QLayout* EventsPage::filterRow() {
    auto* grid = new QGridLayout;
    const std::pair<const char*, QWidget*> fields[] = {
        {"Tracker :", tracker_}, {"Kind :", kind_}, {"From :", from_}, {"To :", to_}};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QString::fromLatin1(fields[i].first));
        label->setBuddy(fields[i].second);
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(fields[i].second, i / 2, (i % 2) * 2 + 1);
    }
    grid->addWidget(show_, 1, 4);
    grid->setColumnStretch(5, 1);
    return grid;
}

void EventsPage::fillTrackers() {
    const QString chosen = tracker_->currentData().toString();
    tracker_->clear();
    tracker_->addItem(QStringLiteral("All trackers"), QString());
    const UserRegistry::Snapshot snapshot = users_.snapshot();
    for (int i = 0; i < snapshot.userCount; ++i) {
        tracker_->addItem(text(snapshot.users[i].name), text(snapshot.users[i].imei));
    }
    tracker_->setCurrentIndex(std::max(tracker_->findData(chosen), 0));
}

void EventsPage::applyFilter() {
    EventFilter filter;
    for (const auto& [edit, bound] : {std::pair{from_, &filter.from}, {to_, &filter.to}}) {
        *bound = edit->text().trimmed().toStdString();
        if (!bound->empty() && !isEventTimeText(*bound)) {
            services_.alerts->error(this, QStringLiteral("Type the time as YYYY/MM/DD hh:mm:ss."));
            edit->setFocus();
            return;
        }
    }
    filter.imei = tracker_->currentData().toString().toStdString();
    if (const int kind = kind_->currentData().toInt(); kind >= 0) {
        filter.kind = EventKind(kind);
    }
    filter_ = filter;
    refresh();
}

void EventsPage::refresh() {
    Database* db = database_ ? database_() : nullptr;
    std::vector<StoredEvent> events;
    try {
        // A file made before the events were kept has none, and is not changed to show that.
        if (db != nullptr && AlarmStore::hasTables(*db)) {
            events = AlarmStore(*db).newestEvents(filter_, ShownEvents);
        }
    } catch (const DatabaseError& error) {
        count_->setText(QStringLiteral("The events cannot be read: ") + text(error.what()));
        return;
    }
    fill(events);
    count_->setText(
        events.size() < ShownEvents
            ? QStringLiteral("%1 event(s).").arg(events.size())
            : QStringLiteral("The newest %1 events; narrow the filter to see older ones.")
                  .arg(ShownEvents));
}

void EventsPage::fill(const std::vector<StoredEvent>& events) {
    list_->clearContents();
    list_->setRowCount(static_cast<int>(events.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
        const StoredEvent& stored = events[row];
        const QString cells[] = {text(stored.event.time), trackerName(stored.event.imei),
                                 text(eventKindText(stored.event.kind)), text(stored.event.details),
                                 acknowledgedText(stored)};
        for (int column = TimeColumn; column <= AcknowledgedColumn; ++column) {
            list_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        list_->item(row, TimeColumn)->setData(Qt::UserRole, qint64(stored.id));
    }
    list_->resizeColumnsToContents();
}

void EventsPage::acknowledgeSelected() {
    std::vector<std::int64_t> ids;
    for (const QModelIndex& row : list_->selectionModel()->selectedRows(TimeColumn)) {
        ids.push_back(row.data(Qt::UserRole).toLongLong());
    }
    Database* db = database_ ? database_() : nullptr;
    if (ids.empty() || db == nullptr) {
        return;
    }
    try {
        AlarmStore(*db).acknowledge(ids, eventTimeTextAt(std::time(nullptr)), acknowledgerName());
    } catch (const DatabaseError& error) {
        services_.alerts->error(
            this, QStringLiteral("The acknowledgement was not stored: ") + text(error.what()));
        return;
    }
    refresh();
    emit acknowledged();
}

QString EventsPage::trackerName(const std::string& imei) const {
    const std::optional<UserSlot> user = users_.FindUserByImei(imei);
    return text(user ? user->name : imei);
}

}  // namespace kv820
