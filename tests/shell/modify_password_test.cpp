#include "shell/main_frm.h"
#include "shell/modify_password_frm.h"
#include "shell/public_unit.h"
#include "tests/support/app_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using testing::AppFixture;

class ModifyPasswordTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void confirm_data();
    void confirm();
    void emptyPasswordDisablesBoxes();
    void cancelLogs();
};

void ModifyPasswordTest::confirm_data() {
    QTest::addColumn<QVariant>("stored"); // null for a NULL password
    QTest::addColumn<QString>("oldTyped");
    QTest::addColumn<QString>("newTyped");
    QTest::addColumn<QString>("repeatTyped");
    QTest::addColumn<bool>("useEmpty");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QVariant>("storedAfter");

    QTest::newRow("changed") << QVariant("old") << "old"
                             << "new"
                             << "new" << false << "密码修改成功！" << QVariant("new");
    QTest::newRow("blanks ignored") << QVariant(" old ") << "old  "
                                    << " new"
                                    << "new " << false << "密码修改成功！" << QVariant("new");
    QTest::newRow("wrong old") << QVariant("old") << "OLD"
                               << "new"
                               << "new" << false << "原始密码错误!" << QVariant("old");
    QTest::newRow("repeat differs")
        << QVariant("old") << "old"
        << "new"
        << "neW" << false << "输入有误！请重新输入密码" << QVariant("old");
    QTest::newRow("new empty") << QVariant("old") << "old"
                               << ""
                               << "" << false << "输入有误！请重新输入密码" << QVariant("old");
    QTest::newRow("empty password") << QVariant("old") << "old"
                                    << ""
                                    << "" << true << "密码修改成功！" << QVariant("");
    QTest::newRow("null stored needs no old")
        << QVariant() << "anything"
        << "x'y"
        << "x'y" << false << "密码修改成功！" << QVariant("x'y");
}

void ModifyPasswordTest::confirm() {
    QFETCH(QVariant, stored);
    QFETCH(QString, oldTyped);
    QFETCH(QString, newTyped);
    QFETCH(QString, repeatTyped);
    QFETCH(bool, useEmpty);
    QFETCH(QString, message);
    QFETCH(QVariant, storedAfter);

    AppFixture app;
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(), {});
    app.exec(stored.isNull() ? QStringLiteral("update tab_user set 用户密码=null where 工号='0001'")
                             : QStringLiteral("update tab_user set 用户密码='%1' where 工号='0001'")
                                   .arg(stored.toString()));
    Tfrm_modify_password dialog(QStringLiteral("张三"), QStringLiteral("0001"));
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("oldPasswordEdit"))->setText(oldTyped);
    dialog.findChild<QLineEdit*>(QStringLiteral("newPasswordEdit"))->setText(newTyped);
    dialog.findChild<QLineEdit*>(QStringLiteral("confirmPasswordEdit"))->setText(repeatTyped);
    dialog.findChild<QCheckBox*>(QStringLiteral("emptyPasswordCheck"))->setChecked(useEmpty);
    dialog.ConfirmClick();
    QCOMPARE(app.boxes().texts(), QStringList{message});
    const bool success = message == QStringLiteral("密码修改成功！");
    QCOMPARE(dialog.isVisible(), !success);
    QCOMPARE(
        app.scalar(QStringLiteral("select 用户密码 from tab_user where 工号='0001'")).toString(),
        storedAfter.toString());
    // A successful change writes no log row.
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
    if (message == QStringLiteral("原始密码错误!"))
        QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("oldPasswordEdit"))->text().isEmpty());
    if (message == QStringLiteral("输入有误！请重新输入密码"))
        QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("newPasswordEdit"))->text().isEmpty());
}

void ModifyPasswordTest::emptyPasswordDisablesBoxes() {
    AppFixture app;
    Tfrm_modify_password dialog(QStringLiteral("系统管理员"), QStringLiteral("888"));
    auto* check = dialog.findChild<QCheckBox*>(QStringLiteral("emptyPasswordCheck"));
    check->setChecked(true);
    QVERIFY(!dialog.findChild<QLineEdit*>(QStringLiteral("newPasswordEdit"))->isEnabled());
    QVERIFY(!dialog.findChild<QLineEdit*>(QStringLiteral("confirmPasswordEdit"))->isEnabled());
    check->setChecked(false);
    QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("newPasswordEdit"))->isEnabled());
}

void ModifyPasswordTest::cancelLogs() {
    AppFixture app;
    QVERIFY(app.login(QStringLiteral("888")));
    const int before = app.count(QStringLiteral("tab_rz"));
    bool closedByBox = false;
    testing::whenModal("Tfrm_modify_password", [&closedByBox](QWidget* dialog) {
        // The window's close box writes nothing.
        dialog->close();
        closedByBox = true;
    });
    app.mainWindow()->runCommand(QStringLiteral("修改密码"));
    QVERIFY(closedByBox);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), before);

    testing::whenModal("Tfrm_modify_password", [](QWidget* dialog) {
        static_cast<Tfrm_modify_password*>(dialog)->CancelClick();
    });
    app.mainWindow()->runCommand(QStringLiteral("修改密码"));
    const auto log =
        app.rows(QStringLiteral("select 操作内容,性质 from tab_rz where 操作内容 like '%放弃%'"));
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].value(QStringLiteral("操作内容")).toString(),
             QStringLiteral("工号为：888 放弃修改密码!"));
    QCOMPARE(log[0].value(QStringLiteral("性质")).toString(), QStringLiteral("重要"));
}

QTEST_MAIN(ModifyPasswordTest)
#include "modify_password_test.moc"
