// Renders the main window on each tab. Set KV820_SCREENSHOT_DIR to keep the pictures.
#include <QDir>
#include <QImage>
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

private slots:
    void everyTabRendersItsPage() {
        test::TempDir dir;
        CreateDatabaseFile(dir.file(DatabaseFileName));
        test::AlertRecorder recorder;
        AppContext context(dir.file(DatabaseFileName));
        MainWindow window(context);
        window.resize(1280, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString keep = qEnvironmentVariable("KV820_SCREENSHOT_DIR");
        for (int tab = 0; tab < window.mainTab()->count(); ++tab) {
            window.mainTab()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            const QImage image = window.grab().toImage();
            QCOMPARE(image.size(), QSize(1280, 800));
            // Something is drawn besides the background: the page is not blank.
            QVERIFY(image.pixelColor(10, 10) != image.pixelColor(640, 400) ||
                    image.pixelColor(640, 400) != image.pixelColor(1270, 790));
            if (!keep.isEmpty()) {
                QDir().mkpath(keep);
                QVERIFY(image.save(QStringLiteral("%1/tab%2.png").arg(keep).arg(tab)));
            }
        }
        QVERIFY(recorder.texts().isEmpty());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ScreenshotsTest)
#include "screenshots_test.moc"
