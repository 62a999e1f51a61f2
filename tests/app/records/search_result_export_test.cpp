#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <system_error>

#include "app/common/app_context.h"
#include "app/common/file_chooser.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/qt/alert_recorder.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

// Answers every Save As dialog with a prepared choice (none: cancelled) and keeps what
// it was offered.
class FakeChooser final : public FileChooser {
  public:
    FakeChooser() { installFileChooser(this); }
    ~FakeChooser() override { installFileChooser(nullptr); }
    std::optional<SaveChoice> chooseSaveFile(QWidget* owner,
                                             const std::vector<FileFilter>&) override {
        ++calls;
        this->owner = owner;
        return answer;
    }
    std::optional<SaveChoice> answer;
    int calls = 0;
    QWidget* owner = nullptr;
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SearchResultExportTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::TempDir> out_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<MainWindow> window_;

    QString outFile(const char* name) { return QString::fromStdString(out_->file(name)); }

    // A window over the truck's reports of 2007/05/12 at the given times and statuses.
    void openWith(const std::vector<std::pair<const char*, const char*>>& reports) {
        out_ = std::make_unique<test::TempDir>();
        const std::string path = test::CreateRecordsDatabase(*out_, {test::Truck, test::Van});
        {
            Database db(path);
            double lat = 25.0;
            for (const auto& [time, status] : reports) {
                GpslogStore(db).append(test::ReportAt(
                    test::Truck.imei, time, status,
                    QString::number(lat += 0.5, 'f', 6).toStdString(), "121.500000"));
            }
        }
        context_ = std::make_unique<AppContext>(path);
        window_ = std::make_unique<MainWindow>(*context_);
        window_->mainTab()->setCurrentIndex(1);
    }

    void search(int fromHour, int toHour) {
        SearchRecordsPage& page = *window_->searchPage();
        test::SetSearchRange(page, test::OnReportDay(fromHour, 0, 0),
                             test::OnReportDay(toHour, 0, 0));
        page.userCombo()->setCurrentIndex(0);
        page.inquireButton()->click();
    }

    void exportResult() { window_->exportKmlAction()->trigger(); }

    QStringList filesWritten() {
        return QDir(QString::fromStdString(out_->path().string()))
            .entryList({"*.kml", "*.gpx", "*.csv", "*.txt", "out*"}, QDir::Files);
    }

  private slots:
    void cleanup() {
        window_.reset();
        context_.reset();
        out_.reset();
    }

    void writesTheKmlTrackOldestFirstWithTheSearchAsTitle() {
        openWith({{"10:00:00", "3D"}, {"11:00:00", "No Fix"}, {"12:00:00", "2D"}});
        search(9, 13);
        FakeChooser chooser;
        chooser.answer = SaveChoice{outFile("track"), 0};
        test::AlertRecorder recorder;
        exportResult();
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(chooser.owner, window_.get());
        const QByteArray kml = FileBytes(outFile("track.kml"));
        QVERIFY(kml.contains("<name>truck Tracking</name>"));
        QVERIFY(kml.contains("<name>truck:2007/05/12-09:00:00~2007/05/12-13:00:00</name>"));
        QVERIFY(
            kml.contains("\r\n121.500000, 25.500000, 0.000000\r\n"
                         "121.500000, 26.500000, 0.000000\r\n    </coordinates>"));
        QVERIFY(kml.endsWith("</kml>"));
    }

    void aResultWithNothingToWriteIsToldBeforeAnyDialog() {
        openWith({{"10:00:00", "No Fix"}, {"11:00:00", "No Fix"}});
        FakeChooser chooser;
        chooser.answer = SaveChoice{outFile("out.kml"), 0};
        test::AlertRecorder recorder;
        exportResult();  // no search yet
        search(11, 13);  // finds one report without a fix
        exportResult();
        search(12, 13);  // finds nothing
        exportResult();
        QCOMPARE(recorder.texts(), QStringList({"No data.", "No effective data.", "No data."}));
        QCOMPARE(recorder.messages().back().owner, window_.get());
        QCOMPARE(chooser.calls, 0);
        QVERIFY(filesWritten().isEmpty());
    }

    void theChosenFilterGivesFormatAndDefaultSuffix() {
        openWith({{"10:00:00", "3D"}, {"12:00:00", "3D"}});
        search(9, 13);
        FakeChooser chooser;
        test::AlertRecorder recorder;
        chooser.answer = SaveChoice{outFile("track"), 1};
        exportResult();
        chooser.answer = SaveChoice{outFile("rows"), 2};
        exportResult();
        // A name with a suffix of its own keeps it; the filter still decides the format.
        chooser.answer = SaveChoice{outFile("plain.txt"), 1};
        exportResult();
        QVERIFY(recorder.texts().isEmpty());
        QVERIFY(FileBytes(outFile("track.gpx")).contains("<gpx"));
        QVERIFY(FileBytes(outFile("plain.txt")).contains("<gpx"));
        const QByteArray csv = FileBytes(outFile("rows.csv"));
        QVERIFY(!csv.contains("<"));
        QVERIFY(csv.contains("2007/05/12"));
        QVERIFY(csv.indexOf("10:00:00") < csv.indexOf("12:00:00"));
        QCOMPARE(filesWritten().size(), 3);
    }

    void aFileThatCannotBeCreatedSaysNoFileExistence() {
        openWith({{"10:00:00", "3D"}});
        search(9, 13);
        FakeChooser chooser;
        chooser.answer = SaveChoice{outFile("missing-folder/track.kml"), 0};
        test::AlertRecorder recorder;
        exportResult();
        // The system's reason follows the message.
        const std::string reason =
            std::make_error_code(std::errc::no_such_file_or_directory).message();
        QCOMPARE(recorder.texts(),
                 QStringList({QString::fromStdString("No file existence.\n" + reason)}));
        QCOMPARE(recorder.messages().front().owner, window_.get());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SearchResultExportTest)
#include "search_result_export_test.moc"
