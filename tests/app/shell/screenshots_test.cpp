// Renders the main window on each tab. Set KV820_SCREENSHOT_DIR to keep the pictures.
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include "app/shell/app_context.h"
#include "app/shell/main_window.h"
#include "core/store/schema.h"
#include "support/qt/alert_recorder.h"
#include "support/temp_dir.h"

namespace kv820 {

class ScreenshotsTest : public QObject {
    Q_OBJECT

  private:
    // Renders every tab of the window at `size` (clamped to the minimum size).
    void renderEveryTab(const QSize& size, const QString& prefix) {
        test::TempDir dir;
        CreateDatabaseFile(dir.file(DatabaseFileName));
        test::AlertRecorder recorder;
        AppContext context(dir.file(DatabaseFileName));
        MainWindow window(context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(size.expandedTo(window.minimumSize()));
        QCoreApplication::processEvents();
        const QSize expected = window.size();
        const QString keep = qEnvironmentVariable("KV820_SCREENSHOT_DIR");
        for (int tab = 0; tab < window.mainTab()->count(); ++tab) {
            window.mainTab()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            const QImage image = window.grab().toImage();
            QCOMPARE(image.size(), expected);
            // Something is drawn besides the background: the page is not blank.
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); y += 7) {
                for (int x = 0; x < image.width(); x += 7) {
                    colours.insert(image.pixel(x, y));
                }
            }
            QVERIFY(colours.size() > 8);
            if (!keep.isEmpty()) {
                QDir().mkpath(keep);
                QVERIFY(image.save(QStringLiteral("%1/%2tab%3.png").arg(keep, prefix).arg(tab)));
            }
        }
        QVERIFY(recorder.texts().isEmpty());
    }

  private slots:
    void everyTabRendersItsPage() { renderEveryTab(QSize(1280, 800), QString()); }

    void everyTabRendersItsPageAtTheSmallestSize() { renderEveryTab(QSize(1, 1), "smallest-"); }
};

}  // namespace kv820

QTEST_MAIN(kv820::ScreenshotsTest)
#include "screenshots_test.moc"
