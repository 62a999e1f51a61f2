#include "app/trips/track_reports.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <filesystem>

#include "app/common/app_context.h"
#include "app/trips/track_analysis_worker.h"
#include "app/trips/track_report_document.h"
#include "app/trips/track_tables.h"
#include "app/trips/trip_settings.h"
#include "app/trips/trip_settings_dialog.h"
#include "core/records/records_messages.h"

namespace kv820 {

namespace {

struct PageText {
    const char* name;  // the prefix of its widgets' object names
    const char* tab;
    const char* item;  // what a row is, for "3 trips of ..."
};
constexpr PageText PageTexts[] = {
    {"trips", "Trips", "trip"}, {"stops", "Stops", "stop"}, {"summary", "Summary", "day"}};

// "1 trip", "3 trips".
QString countText(std::size_t count, const char* item) {
    return QStringLiteral("%1 %2%3").arg(count).arg(QString::fromLatin1(item),
                                                    count == 1 ? QString() : QStringLiteral("s"));
}
constexpr TripReportKind Kinds[] = {TripReportKind::Trips, TripReportKind::Stops,
                                    TripReportKind::Summary};

// "YYYY/MM/DDhh:mm:ss" as the operator reads it.
QString momentText(const std::string& receiveMoment) {
    QString text = QString::fromStdString(receiveMoment);
    return text.size() > 10 ? text.insert(10, QLatin1Char(' ')) : text;
}

std::optional<QString> chooseFile(const AppServices& services, QWidget* owner, const char* filter,
                                  const char* suffix) {
    const auto choice = services.files->chooseSaveFile(
        owner, {{QString::fromLatin1(filter), QString::fromLatin1(suffix)}});
    if (!choice) {
        return std::nullopt;
    }
    return withDefaultSuffix(choice->path, QString::fromLatin1(suffix));
}

}  // namespace

TrackReports::TrackReports(AppContext& context, QWidget* messageOwner, QObject* parent)
    : QObject(parent),
      context_(context),
      messageOwner_(messageOwner),
      worker_(new TrackAnalysisWorker(context.databaseLocation(), this)) {
    for (TripReportKind kind : Kinds) {
        pages_[index(kind)] = makePage(kind);
    }
    addShowOnMap(pages_[index(TripReportKind::Trips)]);
    connect(worker_, &TrackAnalysisWorker::analysed, this, &TrackReports::takeAnalysis);
    fillTables(QStringLiteral("Inquire Records to see the range's trips, stops and days."));
}

TrackReports::~TrackReports() {
    // The pages belong to the tab widget, which may go first or later: none is left behind.
    for (const Page& page : pages_) {
        delete page.widget.data();
    }
}

TrackReports::Page TrackReports::makePage(TripReportKind kind) {
    const QString name = QString::fromLatin1(PageTexts[index(kind)].name);
    Page page;
    page.widget = new QWidget;
    page.widget->setObjectName(name + QStringLiteral("Page"));
    page.model = new QStandardItemModel(page.widget);
    page.table = new QTableView;
    page.table->setObjectName(name + QStringLiteral("Table"));
    page.table->setAccessibleName(QString::fromLatin1(PageTexts[index(kind)].tab));
    page.table->setModel(page.model);
    page.table->setSelectionBehavior(QAbstractItemView::SelectRows);
    page.table->setSelectionMode(QAbstractItemView::SingleSelection);
    page.table->setSortingEnabled(true);
    page.table->setTabKeyNavigation(false);
    page.table->verticalHeader()->hide();
    page.table->setContextMenuPolicy(Qt::ActionsContextMenu);
    page.status = new QLabel;
    page.status->setObjectName(name + QStringLiteral("StatusLabel"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(page.status, 1);
    auto* layout = new QVBoxLayout(page.widget);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(page.table, 1);

    QPushButton* csv =
        addButton(page, name + QStringLiteral("ExportCsvButton"), QStringLiteral("Export CSV..."));
    connect(csv, &QPushButton::clicked, this, [this, kind] { exportCsv(kind); });
    QPushButton* printButton =
        addButton(page, name + QStringLiteral("PrintButton"), QStringLiteral("Print..."));
    connect(printButton, &QPushButton::clicked, this, &TrackReports::print);
    QPushButton* pdf =
        addButton(page, name + QStringLiteral("SavePdfButton"), QStringLiteral("Save PDF..."));
    connect(pdf, &QPushButton::clicked, this, &TrackReports::savePdf);
    // Not among the page's buttons: the settings can be changed before any range is read.
    auto* tune = new QPushButton(QStringLiteral("Settings..."));
    tune->setObjectName(name + QStringLiteral("SettingsButton"));
    bar->addWidget(tune);
    connect(tune, &QPushButton::clicked, this, &TrackReports::editSettings);
    // The buttons' work is on the table's menu too, for the mouse where the eye is.
    for (QPushButton* button : page.buttons) {
        auto* action = new QAction(button->text(), page.table);
        connect(action, &QAction::triggered, button, &QPushButton::click);
        page.table->addAction(action);
    }
    return page;
}

QPushButton* TrackReports::addButton(Page& page, const QString& name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    static_cast<QHBoxLayout*>(page.widget->layout()->itemAt(0)->layout())->addWidget(button);
    page.buttons.push_back(button);
    return button;
}

// Enter or a double-click on a trip, the button or Ctrl+M (as on the result list) draw it.
void TrackReports::addShowOnMap(Page& page) {
    auto* action = new QAction(QStringLiteral("Show on map"), page.table);
    action->setObjectName(QStringLiteral("actionShowTripOnMap"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    action->setShortcutContext(Qt::WidgetShortcut);
    page.table->insertAction(page.table->actions().value(0), action);
    connect(action, &QAction::triggered, this, &TrackReports::chooseCurrentTrip);
    connect(page.table, &QTableView::activated, this, &TrackReports::chooseCurrentTrip);
    auto* button = new QPushButton(QStringLiteral("Show on map"));
    button->setObjectName(QStringLiteral("tripsShowOnMapButton"));
    static_cast<QHBoxLayout*>(page.widget->layout()->itemAt(0)->layout())->insertWidget(1, button);
    page.buttons.push_back(button);
    connect(button, &QPushButton::clicked, this, &TrackReports::chooseCurrentTrip);
}

// New settings count for the range shown at once, and for the command line's reports.
void TrackReports::editSettings() {
    TripSettingsDialog dialog(savedTripSettings(), messageOwner_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    saveTripSettings(dialog.settings());
    if (range_) {
        showRange(range_, userName_);
    }
}

void TrackReports::addPagesTo(QTabWidget* tabs) {
    for (TripReportKind kind : Kinds) {
        tabs->addTab(pages_[index(kind)].widget, QString::fromLatin1(PageTexts[index(kind)].tab));
    }
}

bool TrackReports::reading() const {
    return worker_->running();
}

void TrackReports::showRange(const std::optional<ReceiveRange>& range, const QString& userName) {
    worker_->stop();
    analysis_.reset();
    range_ = range;
    userName_ = userName;
    emit speedChartChanged(speedChartJson({}, MaxChartPoints));
    if (!range) {
        fillTables(QString());
        return;
    }
    fillTables(QStringLiteral("Reading the range..."));
    worker_->start(*range, savedTripSettings());
}

void TrackReports::takeAnalysis(std::shared_ptr<const TrackAnalysis> analysis) {
    analysis_ = std::move(analysis);
    if (!analysis_) {
        fillTables(QString());
        context_.services().alerts->error(messageOwner_,
                                          QString::fromLatin1(InquireGpslogFailureText));
        return;
    }
    fillTables(QString());
    emit speedChartChanged(speedChartJson(analysis_->fixes, MaxChartPoints));
}

void TrackReports::fillTables(const QString& status) {
    static const TrackSummary None;
    const TrackSummary& summary = analysis_ ? analysis_->summary : None;
    const std::size_t counts[] = {summary.trips.size(), summary.stops.size(), summary.days.size()};
    for (TripReportKind kind : Kinds) {
        Page& page = pages_[index(kind)];
        fillTrackTable(*page.model, kind, summary);
        // Oldest first, as the core hands them, until the operator clicks a header.
        page.table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        page.table->resizeColumnsToContents();
        page.status->setText(
            status.isEmpty() && analysis_
                ? QStringLiteral("%1 of %2")
                      .arg(countText(counts[index(kind)], PageTexts[index(kind)].item), title())
                : status);
        for (QPushButton* button : page.buttons) {
            button->setEnabled(analysis_ != nullptr);
        }
    }
    emit tablesFilled();
}

QString TrackReports::title() const {
    if (!range_) {
        return {};
    }
    return QStringLiteral("%1, %2 to %3")
        .arg(userName_, momentText(range_->from), momentText(range_->to));
}

void TrackReports::exportCsv(TripReportKind kind) {
    if (!analysis_) {
        return;
    }
    const auto path = chooseFile(context_.services(), messageOwner_, "CSV Files (*.csv)", "csv");
    if (!path) {
        return;
    }
    const ExportResult result = writeTripReportFile(std::filesystem::path(path->toStdU16String()),
                                                    kind, analysis_->summary);
    if (result.outcome != ExportOutcome::Written) {
        context_.services().alerts->error(messageOwner_,
                                          QString::fromStdString(exportResultMessage(result)));
    }
}

void TrackReports::print() {
    if (!analysis_) {
        return;
    }
    QPrinter printer;
    if (!context_.services().printers->choosePrinter(messageOwner_, printer)) {
        return;
    }
    if (!printTrackReport(printer, trackReportHtml(title(), analysis_->summary))) {
        context_.services().alerts->error(messageOwner_,
                                          QString::fromLatin1(ExportWriteFailureText));
    }
}

void TrackReports::savePdf() {
    if (!analysis_) {
        return;
    }
    const auto path = chooseFile(context_.services(), messageOwner_, "PDF Files (*.pdf)", "pdf");
    if (!path) {
        return;
    }
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*path);
    if (!printTrackReport(printer, trackReportHtml(title(), analysis_->summary))) {
        context_.services().alerts->error(messageOwner_,
                                          QString::fromLatin1(ExportWriteFailureText));
    }
}

void TrackReports::chooseCurrentTrip() {
    const QTableView* table = this->table(TripReportKind::Trips);
    const QModelIndex current = table->currentIndex();
    if (!analysis_ || !current.isValid()) {
        return;
    }
    const std::size_t trip = current.siblingAtColumn(0).data(TrackItemRole).toULongLong();
    if (trip >= analysis_->summary.trips.size()) {
        return;
    }
    emit tripChosen(tripPathJson(analysis_->summary.trips[trip], analysis_->fixes, MaxTripPoints));
}

}  // namespace kv820
