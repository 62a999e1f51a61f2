#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <system_error>

#include "app/common/app_context.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SearchResultExportTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::WindowRig> rig_;
    MainWindow* window_ = nullptr;

    QString outFile(const char* name) { return QString::fromStdString(rig_->dir.file(name)); }

    // A window over the truck's reports of 2007/05/12 at the given times and statuses.
    void openWith(const std::vector<std::pair<const char*, const char*>>& reports) {
        rig_ = std::make_unique<test::WindowRig>(std::vector<UserSlot>{test::Truck, test::Van});
        Database db(rig_->path);
        for (const auto& [time, status] : reports) {
            GpslogStore(db).append(test::reportAt(test::Truck.imei, time, status));
        }
        window_ = &rig_->window;
        window_->mainTab()->setCurrentIndex(1);
    }

    void search(int fromHour, int toHour) {
        SearchRecordsPage& page = *window_->searchPage();
        test::setSearchRange(page, test::onReportDay(fromHour, 0, 0),
                             test::onReportDay(toHour, 0, 0));
        page.userCombo()->setCurrentIndex(0);
        page.inquireButton()->click();
    }

    void exportResult() { window_->exportKmlAction()->trigger(); }

    QStringList filesWritten() {
        return QDir(QString::fromStdString(rig_->dir.path().string()))
            .entryList({"*.kml", "*.gpx", "*.csv", "*.txt", "out*"}, QDir::Files);
    }

  private slots:
    void cleanup() { rig_.reset(); }

    void theChosenFilterGivesFormatAndSuffixAndAFailedCreateSaysWhy() {
        openWith({{"10:00:00", "3D"}, {"12:00:00", "3D"}});
        search(9, 13);
        test::ScriptedFileChooser& chooser = rig_->services.files;
        for (const auto& [name, filter] : {std::pair{"track", 0}, {"rows", 2}, {"plain.txt", 1}}) {
            chooser.answer = SaveChoice{outFile(name), filter};
            exportResult();
        }
        QVERIFY(rig_->services.alerts.texts().isEmpty());
        QCOMPARE(chooser.owner, window_);
        QVERIFY(fileBytes(outFile("track.kml"))
                    .contains("<name>truck:2007/05/12-09:00:00~2007/05/12-13:00:00</name>"));
        // A name with a suffix of its own keeps it; the filter still decides the format.
        QVERIFY(fileBytes(outFile("plain.txt")).contains("<gpx"));
        QVERIFY(fileBytes(outFile("rows.csv")).contains("2007/05/12"));
        QCOMPARE(filesWritten().size(), 3);

        // A file that cannot be created: the system's reason follows the message.
        chooser.answer = SaveChoice{outFile("missing-folder/track.kml"), 0};
        exportResult();
        const std::string reason =
            std::make_error_code(std::errc::no_such_file_or_directory).message();
        QCOMPARE(rig_->services.alerts.texts(),
                 QStringList({QString::fromStdString("No file existence.\n" + reason)}));
        QCOMPARE(rig_->services.alerts.messages().front().owner, window_);
    }

    void aResultWithNothingToWriteIsToldBeforeAnyDialog() {
        openWith({{"10:00:00", "No Fix"}, {"11:00:00", "No Fix"}});
        test::ScriptedFileChooser& chooser = rig_->services.files;
        chooser.answer = SaveChoice{outFile("out.kml"), 0};
        test::AlertRecorder& recorder = rig_->services.alerts;
        exportResult();  // no search yet
        search(11, 13);  // finds one report without a fix
        exportResult();
        search(12, 13);  // finds nothing
        exportResult();
        QCOMPARE(recorder.texts(), QStringList({"No data.", "No effective data.", "No data."}));
        QCOMPARE(recorder.messages().back().owner, window_);
        QCOMPARE(chooser.calls, 0);
        QVERIFY(filesWritten().isEmpty());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SearchResultExportTest)
#include "search_result_export_test.moc"
