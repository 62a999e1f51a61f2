#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <memory>

#include "app/common/app_context.h"
#include "app/firmware/firmware_update_dialog.h"
#include "app/firmware/firmware_wizard.h"
#include "app/firmware/firmware_wizard_dialog.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

// An image whose byte i is i modulo 256.
std::string writeImage(const test::TempDir& dir, const std::string& name, std::size_t size) {
    const std::string path = dir.file(name);
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < size; ++i) {
        out.put(static_cast<char>(i % 256));
    }
    return path;
}

}  // namespace

class FirmwareWizardTest : public QObject {
    Q_OBJECT

  private:
    // The main window over a fresh database, with the firmware view opened from its action.
    struct Fixture : test::WindowRig {
        Fixture() {
            window.firmwareAction()->trigger();
            wizard = window.findChild<FirmwareWizard*>();
        }
        FirmwareUpdateDialog* update() const { return wizard->updateDialog(); }
        QPushButton* button(const char* name) const {
            return update()->findChild<QPushButton*>(QString::fromLatin1(name));
        }
        QPlainTextEdit* log() const {
            return window.findChild<QPlainTextEdit*>(QStringLiteral("modemLogBox"));
        }
        // Goes on to "Firmware Update" and picks `path` through the chooser.
        void chooseImage(const std::string& path) {
            wizard->wizardDialog()
                ->findChild<QPushButton*>(QStringLiteral("firmwareUpdateButton"))
                ->click();
            update()->setFileChooser([path](QWidget*) { return QString::fromStdString(path); });
            button("firmwareBrowseButton")->click();
        }

        QPointer<FirmwareWizard> wizard;
    };

  private slots:
    void init() { qputenv("KV820_EXTRA_PORTS", "/nonexistent/kv820-firmware-port"); }

    void theWizardsDialogsHoldTheMainWindowUntilClosedAndClosingStopsTheRun() {
        Fixture f;
        QVERIFY(!f.window.isEnabled());
        FirmwareWizardDialog* wizardDialog = f.wizard->wizardDialog();
        QVERIFY(wizardDialog->isVisible() && wizardDialog->isEnabled());
        f.chooseImage(writeImage(f.dir, "large.bin", 4 * 1024 * 1024));
        QVERIFY(f.update()->isVisible() && f.update()->isEnabled());
        QVERIFY(!wizardDialog->isVisible());
        QVERIFY(!f.window.isEnabled());
        f.button("firmwareStartButton")->click();
        QVERIFY(f.update()->runActive());
        f.update()->close();
        QVERIFY(!f.update()->runActive());
        QVERIFY(f.window.isEnabled());
        QTRY_VERIFY(!f.wizard);
        QVERIFY(f.services.alerts.texts().isEmpty());
    }

    void aCancelledChoiceKeepsThePathAndButton1StopsTheRun() {
        Fixture f;
        const std::string image = writeImage(f.dir, "large.bin", 4 * 1024 * 1024);
        f.chooseImage(image);
        // A cancelled choice keeps the path chosen before.
        f.update()->setFileChooser([](QWidget*) { return QString(); });
        f.button("firmwareBrowseButton")->click();
        QCOMPARE(f.update()->findChild<QLineEdit*>(QStringLiteral("firmwarePathEdit"))->text(),
                 QString::fromStdString(image));
        QPushButton* start = f.button("firmwareStartButton");
        start->click();
        QVERIFY(f.update()->runActive());
        QVERIFY(!start->isEnabled());
        QTRY_VERIFY(f.log()->document()->blockCount() > 2);
        f.button("firmwareStopButton")->click();
        QVERIFY(!f.update()->runActive());
        QVERIFY(start->isEnabled());
        // The run is joined: whatever it posted is delivered now, and nothing comes after.
        QApplication::processEvents();
        const int shown = f.log()->document()->blockCount();
        QApplication::processEvents();
        QCOMPARE(f.log()->document()->blockCount(), shown);
    }

    void closingTheMainWindowWithTheViewOpenStopsTheRun() {
        auto f = std::make_unique<Fixture>();
        f->chooseImage(writeImage(f->dir, "large.bin", 4 * 1024 * 1024));
        f->button("firmwareStartButton")->click();
        QVERIFY(f->update()->runActive());
        f.reset();  // the view and its thread go with the main window
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::FirmwareWizardTest)
#include "firmware_wizard_test.moc"
