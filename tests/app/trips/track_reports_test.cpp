// The trips, stops and daily summary beside the search result: filled from the searched
// range on the worker, sorted by value, exported as the command line's CSV, printed and
// saved as PDF through the recording services.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/common/program_settings.h"
#include "app/records/record_search.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"
#include "app/trips/track_reports.h"
#include "app/trips/trip_settings.h"
#include "app/trips/trip_settings_dialog.h"
#include "core/common/number_text.h"
#include "core/trips/trip_finder.h"
#include "support/qt/records_database.h"
#include "support/qt/settings_folder.h"
#include "support/qt/three_drives.h"

namespace kv820 {

namespace {

constexpr int WorkerWaitMs = 10000;  // a bound on the worker's walk, not a pause

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The trips' distances as the table writes them, in the order given.
QStringList distanceTexts(std::vector<Trip> trips) {
    QStringList texts;
    for (const Trip& trip : trips) {
        texts << QString::fromStdString(fixedDecimal(trip.distanceMetres / 1000, 3));
    }
    return texts;
}

QStringList column(const QTableView* table, int index) {
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        texts << table->model()->index(row, index).data().toString();
    }
    return texts;
}

}  // namespace

class TrackReportsTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir settingsDir_;
    std::unique_ptr<test::WindowRig> rig_;
    std::vector<PositionReport> reports_;

    MainWindow& window() { return rig_->window; }
    TrackReports& reports() { return *window().trackReports(); }
    QTableView* table(const char* name) {
        return window().findChild<QTableView*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name) {
        return window().findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QString outFile(const char* name) { return QString::fromStdString(rig_->dir.file(name)); }

    // The day of the three drives, searched and read.
    void searchTheDay() {
        SearchRecordsPage& page = *window().searchPage();
        window().mainTab()->setCurrentIndex(1);
        test::setSearchRange(page, test::onReportDay(0, 0, 0), test::onReportDay(23, 59, 59));
        page.userCombo()->setCurrentIndex(0);
        page.inquireButton()->click();
        QVERIFY(QTest::qWaitFor([this] { return reports().analysis() != nullptr; }, WorkerWaitMs));
    }

  private slots:
    void initTestCase() { test::keepSettingsIn(settingsDir_.path()); }
    void init() {
        programSettings().clear();
        rig_ = std::make_unique<test::WindowRig>();
        reports_ = test::storeThreeDrives(rig_->path, test::Truck.imei);
    }
    void cleanup() { rig_.reset(); }

    void theTablesHoldWhatTheCoreFinds() {
        QCOMPARE(table("tripsTable")->model()->rowCount(), 0);
        QVERIFY(!button("tripsExportCsvButton")->isEnabled());

        searchTheDay();
        const TrackSummary expected = summarizeTrack(reports_);
        QCOMPARE(expected.trips.size(), std::size_t(3));
        QCOMPARE(table("tripsTable")->model()->rowCount(), 3);
        QCOMPARE(table("stopsTable")->model()->rowCount(), int(expected.stops.size()));
        QCOMPARE(table("summaryTable")->model()->rowCount(), 1);
        QCOMPARE(column(table("tripsTable"), 0).at(1),
                 QString::fromStdString(expected.trips[1].startTime));
        QCOMPARE(column(table("tripsTable"), 3), distanceTexts(expected.trips));
        QCOMPARE(column(table("summaryTable"), 5).at(0), QString::number(reports_.size()));
        QCOMPARE(window().findChild<QLabel*>("tripsStatusLabel")->text(),
                 QStringLiteral("3 trips of truck, 2007/05/12 00:00:00 to 2007/05/12 23:59:59"));
        QVERIFY(button("tripsExportCsvButton")->isEnabled());
        QVERIFY(rig_->services.alerts.texts().isEmpty());

        // A result emptied (its user registered anew) takes the tables along.
        window().recordSearch()->clearResult();
        QCOMPARE(table("tripsTable")->model()->rowCount(), 0);
        QVERIFY(reports().analysis() == nullptr);
    }

    // A click on a header sorts by value: under a km < a few km < ten km and more, not as
    // the texts would.
    void aHeaderClickSortsNumbersAsNumbers() {
        searchTheDay();
        std::vector<Trip> byDistance = summarizeTrack(reports_).trips;
        std::sort(byDistance.begin(), byDistance.end(),
                  [](const Trip& a, const Trip& b) { return a.distanceMetres < b.distanceMetres; });
        QStringList asTexts = distanceTexts(byDistance);
        asTexts.sort();
        QVERIFY(asTexts != distanceTexts(byDistance));  // the drives tell the two apart
        QTableView* trips = table("tripsTable");
        QHeaderView* header = trips->horizontalHeader();
        const auto clickHeader = [header](int section) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              {header->sectionViewportPosition(section) + 5, header->height() / 2});
        };
        const struct {
            int section;
            QStringList ascending;
        } cases[] = {
            {3, distanceTexts(byDistance)},
            {0, column(trips, 0)},  // times: their stored texts sort in time order
        };
        for (const auto& [section, ascending] : cases) {
            clickHeader(section);
            QStringList expected = ascending;
            if (header->sortIndicatorOrder() == Qt::DescendingOrder) {
                std::reverse(expected.begin(), expected.end());
            }
            QCOMPARE(header->sortIndicatorSection(), section);
            QCOMPARE(column(trips, section), expected);
            clickHeader(section);
            std::reverse(expected.begin(), expected.end());
            QCOMPARE(column(trips, section), expected);
        }
    }

    // Each table's file is the command line's report of the same range.
    void eachTableExportsTheCoresCsv() {
        searchTheDay();
        const TrackSummary expected = summarizeTrack(reports_);
        const struct {
            const char* button;
            TripReportKind kind;
        } cases[] = {{"tripsExportCsvButton", TripReportKind::Trips},
                     {"stopsExportCsvButton", TripReportKind::Stops},
                     {"summaryExportCsvButton", TripReportKind::Summary}};
        for (const auto& [name, kind] : cases) {
            rig_->services.files.answer = SaveChoice{outFile("table"), 0};
            button(name)->click();
            const QString written = outFile("table.csv");  // the filter's suffix added
            QVERIFY(writeTripReportFile(rig_->dir.file("expected.csv"), kind, expected) ==
                    ExportOutcome::Written);
            QCOMPARE(fileBytes(written), fileBytes(outFile("expected.csv")));
        }
        // A file that cannot be made is told; a cancelled dialog says nothing.
        rig_->services.files.answer = SaveChoice{outFile("missing/trips.csv"), 0};
        button("tripsExportCsvButton")->click();
        QCOMPARE(rig_->services.alerts.texts().size(), 1);
        QVERIFY(rig_->services.alerts.texts().front().startsWith("No file existence."));
        rig_->services.files.answer.reset();
        button("stopsExportCsvButton")->click();
        QCOMPARE(rig_->services.alerts.texts().size(), 1);
    }

    // The summary with the trips and stops go to the printer the dialog chose (here a PDF
    // file), or to a PDF file chosen in Save As.
    void theReportPrintsAndSavesAsPdf() {
        searchTheDay();
        rig_->services.printers.pdfPath = outFile("printed.pdf");
        button("summaryPrintButton")->click();
        QCOMPARE(rig_->services.printers.calls, 1);
        QVERIFY(fileBytes(outFile("printed.pdf")).startsWith("%PDF"));

        rig_->services.files.answer = SaveChoice{outFile("saved"), 0};
        button("tripsSavePdfButton")->click();
        const QByteArray pdf = fileBytes(outFile("saved.pdf"));
        QVERIFY(pdf.startsWith("%PDF"));
        QVERIFY(pdf.size() > 1000);

        rig_->services.printers.pdfPath.reset();  // the operator cancels the print dialog
        button("stopsPrintButton")->click();
        QCOMPARE(rig_->services.printers.calls, 2);
        QVERIFY(rig_->services.alerts.texts().isEmpty());
    }

    // Settings that ask for longer stops read the range again at once and kept for the
    // next run; a value edited by hand past its bounds is taken at the bound.
    void theTripSettingsChangeWhatCountsAsAStop() {
        searchTheDay();
        QCOMPARE(table("tripsTable")->model()->rowCount(), 3);
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<TripSettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* shortest = dialog->findChild<QSpinBox*>(QStringLiteral("shortestStopSpinBox"));
            shortest->selectAll();
            QTest::keyClicks(shortest, "86400");
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QTest::mouseClick(button("tripsSettingsButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([this] { return reports().analysis() != nullptr; }, WorkerWaitMs));
        QCOMPARE(table("stopsTable")->model()->rowCount(), 0);
        QCOMPARE(savedTripSettings().stopMinimumSeconds, 86400);

        QSettings stored = programSettings();
        stored.setValue(QStringLiteral("trips/stopRadiusMetres"), 1);
        stored.setValue(QStringLiteral("trips/gapMinutes"), QStringLiteral("an hour"));
        QCOMPARE(savedTripSettings().stopRadiusMetres, 10.0);
        QCOMPARE(savedTripSettings().gapSeconds, 3600);
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::TrackReportsTest)
#include "track_reports_test.moc"
