#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/commands/sms_command_page.h"
#include "app/common/app_context.h"
#include "app/records/record_search.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/search_records_page.h"
#include "app/shell/main_window.h"
#include "app/users/user_edit_dialog.h"
#include "app/users/user_information_dialog.h"
#include "app/users/user_list_view.h"
#include "core/alarms/alarm_store.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/user_store.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

QStringList rows(const QTreeWidget* list) {
    QStringList rows;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* item = list->topLevelItem(r);
        rows << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
    }
    return rows;
}

QStringList entries(const QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

void clickRow(QTreeWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

const QString TruckRow = "truck|0912345678|354612071234567";
const QString VanRow = "van|0922333444|354612079876543";
const QString BikeRow = "bike|0933555666|354612070000001";

}  // namespace

class UserDialogsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::WindowRig> rig_;

    QComboBox* searchUsers() { return rig_->window.searchPage()->userCombo(); }
    QComboBox* smsUsers() { return rig_->window.commandPage()->userCombo(); }

  private slots:
    void init() {
        rig_ = std::make_unique<test::WindowRig>(std::vector{test::Truck, test::Van, test::Bike});
    }
    void cleanup() { rig_.reset(); }

    // Deleting the searched user empties the result, leaving nothing of it to export;
    // deleting another leaves the result alone.
    void deleteRemovesTheClickedPositionAndRefreshesEveryList() {
        {
            Database db(rig_->path);
            GpslogStore(db).append(test::reportAt(test::Truck.imei, "10:00:00"));
        }
        SearchRecordsPage& page = *rig_->window.searchPage();
        test::setSearchRange(page, test::onReportDay(9, 0, 0), test::onReportDay(11, 0, 0));
        page.inquireButton()->click();
        ReportTableModel* result = page.resultList()->reportModel();
        QCOMPARE(result->rowCount(), 1);
        test::AlertRecorder& recorder = rig_->services.alerts;
        // The dialog as "User Edit" opens it, connected by the main window.
        bool deleted = false;
        QTimer::singleShot(0, this, [&] {
            auto* edit = qobject_cast<UserEditDialog*>(QApplication::activeModalWidget());
            QVERIFY(edit);
            const auto close = qScopeGuard([edit] { edit->reject(); });
            QVERIFY(QTest::qWaitForWindowExposed(edit));
            clickRow(edit->userList(), 1);
            QTest::mouseClick(edit->deleteButton(), Qt::LeftButton);

            QVERIFY(recorder.texts().isEmpty());
            QCOMPARE(rows(edit->userList()), QStringList({TruckRow, BikeRow}));  // read back
            QCOMPARE(entries(searchUsers()), QStringList({"truck", "bike"}));
            QCOMPARE(entries(smsUsers()), QStringList({"truck", "bike"}));
            QCOMPARE(result->rowCount(), 1);
            // The choice went with the deleted row.
            QTest::mouseClick(edit->deleteButton(), Qt::LeftButton);
            QCOMPARE(recorder.texts(), QStringList({"No user is choosed."}));
            QCOMPARE(edit->userList()->topLevelItemCount(), 2);

            clickRow(edit->userList(), 0);
            QTest::mouseClick(edit->deleteButton(), Qt::LeftButton);
            deleted = true;
        });
        rig_->window.userEditAction()->trigger();
        QVERIFY(deleted);
        QCOMPARE(result->rowCount(), 0);
        QVERIFY(!rig_->window.recordSearch()->shownRange());
        rig_->window.mainTab()->setCurrentIndex(1);
        rig_->window.exportKmlAction()->trigger();
        QCOMPARE(recorder.texts().last(), QStringLiteral("No data."));
    }

    void aFailingDeleteSaysDeleteUserErrorAndTheListFollowsTheTable() {
        {
            Database db(rig_->path);
            db.execute(
                "CREATE TRIGGER keep_users BEFORE DELETE ON users "
                "BEGIN SELECT RAISE(ABORT, 'kept'); END");
        }
        test::AlertRecorder& recorder = rig_->services.alerts;
        UserEditDialog edit(rig_->context, &rig_->window);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        clickRow(edit.userList(), 2);
        QTest::mouseClick(edit.deleteButton(), Qt::LeftButton);
        QCOMPARE(recorder.texts(), QStringList({"Delete user error."}));
        QCOMPARE(recorder.messages().front().owner, &edit);
        QCOMPARE(entries(searchUsers()), QStringList({"truck", "van", "bike"}));
    }

    // The limit is kept per IMEI beside the users, whose table stays as it was, and the
    // interval learnt from a Period command stays with it.
    void aTrackersSpeedLimitIsStoredForItsImeiAlone() {
        const auto usersTable = [&] {
            Database db(rig_->path);
            return UserStore(db).readUsers(3);
        };
        const auto before = usersTable();
        {
            Database db(rig_->path);
            AlarmStore::ensureTables(db);
            AlarmStore(db).saveWatch(test::Van.imei, {std::nullopt, std::chrono::seconds(60)});
        }
        UserEditDialog edit(rig_->context, &rig_->window);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QVERIFY(!edit.setLimitButton()->isEnabled());  // no tracker chosen yet
        clickRow(edit.userList(), 1);
        QCOMPARE(edit.speedLimitBox()->value(), 0.0);  // "None"
        edit.speedLimitBox()->setValue(80);
        QTest::mouseClick(edit.setLimitButton(), Qt::LeftButton);

        Database db(rig_->path);
        const auto watches = AlarmStore(db).watches();
        QCOMPARE(watches.size(), std::size_t{1});
        QCOMPARE(watches.at(test::Van.imei).speedLimitKmh, std::optional(80.0));
        QCOMPARE(watches.at(test::Van.imei).periodInterval,
                 std::optional(std::chrono::seconds(60)));
        QVERIFY(usersTable() == before);
        clickRow(edit.userList(), 0);
        QCOMPARE(edit.speedLimitBox()->value(), 0.0);
        clickRow(edit.userList(), 1);
        QCOMPARE(edit.speedLimitBox()->value(), 80.0);
        QVERIFY(rig_->services.alerts.texts().isEmpty());
    }

    // "User Information" reloads on opening (here a user added behind the program's back);
    // every reload keeps the operator's choice unless that user went.
    void theChosenUserSurvivesEveryReloadUntilDeleted() {
        searchUsers()->setCurrentIndex(1);
        smsUsers()->setCurrentIndex(1);
        auto chosen = [&] {
            return searchUsers()->currentText() + "," + smsUsers()->currentText();
        };
        {
            Database db(rig_->path);
            UserStore(db).addOrUpdate({"car", "0944", "354612070000002"});
        }
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<UserInformationDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shown = rows(dialog->userList());
            dialog->reject();
        });
        rig_->window.userInformationAction()->trigger();
        QCOMPARE(shown, QStringList({TruckRow, VanRow, BikeRow, "car|0944|354612070000002"}));
        QCOMPARE(entries(searchUsers()), QStringList({"truck", "van", "bike", "car"}));
        QCOMPARE(chosen(), QStringLiteral("van,van"));
        {
            Database db(rig_->path);
            UserStore(db).deleteAt(0);
        }
        rig_->context.reloadUsers(&rig_->window);
        QCOMPARE(entries(smsUsers()), QStringList({"van", "bike", "car"}));
        QCOMPARE(chosen(), QStringLiteral("van,van"));
        {
            Database db(rig_->path);
            UserStore(db).deleteAt(0);
        }
        rig_->context.reloadUsers(&rig_->window);
        QCOMPARE(chosen(), QStringLiteral("bike,bike"));  // only a deleted user's choice moves
        QVERIFY(rig_->services.alerts.texts().isEmpty());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::UserDialogsTest)
#include "user_dialogs_test.moc"
