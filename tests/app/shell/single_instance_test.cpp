#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include "app/shell/single_instance.h"

namespace kv820 {

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    void aSecondCopyAsksTheFirstToComeToTheFront() {
        const QString key =
            QStringLiteral("kv820-test-") + QUuid::createUuid().toString(QUuid::Id128);
        SingleInstance first(key);
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        SingleInstance second(key);
        QVERIFY(!second.claim());
        QVERIFY(activated.wait(2000));
    }

    void theClaimIsFreeAgainOnceTheFirstCopyHasGone() {
        const QString key =
            QStringLiteral("kv820-test-") + QUuid::createUuid().toString(QUuid::Id128);
        {
            SingleInstance first(key);
            QVERIFY(first.claim());
        }
        SingleInstance next(key);
        QVERIFY(next.claim());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SingleInstanceTest)
#include "single_instance_test.moc"
