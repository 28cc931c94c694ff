#include "db/Public_DM.h"
#include "platform/widgets/splash_screen.h"
#include "shell/login_frm.h"
#include "shell/main_frm.h"
#include "shell/public_unit.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

using testing::AppFixture;
using testing::MessageBoxWatcher;

// Drives the login dialog directly, as the user would.
class LoginTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void passwords_data();
    void passwords();
    void unknownWorkNumberEmptiesBoxes();
    void emptyWorkNumberAsksForOne();
    void workNumberListHasNoEmptyItem();
    void loginThroughMainWindowSetsState();
    void closingWithoutLoginEndsProgram();
    void ownerFilters_data();
    void ownerFilters();
    void splashRevealsAndCloses();
    void draggingThePictureMovesTheDialog();
};

void LoginTest::passwords_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same") << "abc"
                          << "abc" << true;
    QTest::newRow("wrong") << "abc"
                           << "abd" << false;
    QTest::newRow("case differs") << "abc"
                                  << "ABC" << false;
    QTest::newRow("blanks typed around") << "abc"
                                         << "  abc " << true;
    QTest::newRow("blanks stored around") << " abc "
                                          << "abc" << true;
    QTest::newRow("empty stored, empty typed") << ""
                                               << "" << true;
    QTest::newRow("empty stored, text typed") << ""
                                              << "x" << false;
    QTest::newRow("quote in password") << "a'b"
                                       << "a'b" << true;
}

void LoginTest::passwords() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    AppFixture app;
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), stored, {});
    Tfrm_login dialog;
    dialog.show();
    MessageBoxWatcher& boxes = app.boxes();
    dialog.findChild<QComboBox*>(QStringLiteral("workNoBox"))->setEditText(QStringLiteral("0001"));
    dialog.Lookup();
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("nameBox"))->text(),
             QStringLiteral("张三"));
    dialog.findChild<QLineEdit*>(QStringLiteral("passwordBox"))->setText(typed);
    dialog.LoginClick();
    QCOMPARE(dialog.resultFlag(), accepted ? 1 : 0);
    QCOMPARE(dialog.isVisible(), !accepted);
    if (accepted) {
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(CurUserNo, QStringLiteral("0001"));
        QCOMPARE(CurUserName, QStringLiteral("张三"));
        const auto log = app.rows(QStringLiteral("select * from tab_rz"));
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].value(QStringLiteral("操作内容")).toString(),
                 QStringLiteral("工号为：0001 姓名为:张三 的操作员成功登入了进销存软件系统"));
        QCOMPARE(log[0].value(QStringLiteral("性质")).toString(), QStringLiteral("重要"));
        QCOMPARE(log[0].value(QStringLiteral("操作电脑名")).toString(), QString());
    } else {
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("对不起密码错误!不能登入")});
        QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
        QVERIFY(CurUserNo.isEmpty());
    }
}

void LoginTest::unknownWorkNumberEmptiesBoxes() {
    AppFixture app;
    Tfrm_login dialog;
    dialog.show();
    auto* workNo = dialog.findChild<QComboBox*>(QStringLiteral("workNoBox"));
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("nameBox"));
    auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("passwordBox"));
    workNo->setEditText(QStringLiteral("888"));
    dialog.Lookup();
    QCOMPARE(name->text(), QStringLiteral("系统管理员"));

    MessageBoxWatcher& boxes = app.boxes();
    workNo->setEditText(QStringLiteral("4711"));
    password->setText(QStringLiteral("secret"));
    // Moving into the password box runs the lookup.
    password->setFocus();
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(boxes.texts().first(), QStringLiteral("对不起，此工号不存在!"));
    QVERIFY(name->text().isEmpty());
    QVERIFY(password->text().isEmpty());

    // The login itself looks the number up again instead of using an earlier row.
    password->setText(QString());
    dialog.LoginClick();
    QTRY_COMPARE(boxes.count(), 2);
    QCOMPARE(dialog.resultFlag(), 0);
}

void LoginTest::emptyWorkNumberAsksForOne() {
    AppFixture app;
    Tfrm_login dialog;
    dialog.show();
    MessageBoxWatcher& boxes = app.boxes();
    dialog.findChild<QComboBox*>(QStringLiteral("workNoBox"))->setEditText(QStringLiteral("   "));
    dialog.LoginClick();
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("请选择一个工号")});
    QCOMPARE(dialog.resultFlag(), 0);
}

void LoginTest::workNumberListHasNoEmptyItem() {
    AppFixture app;
    app.addUser(QStringLiteral("0002"), QStringLiteral("李四"), QString(), {});
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(), {});
    Tfrm_login dialog;
    auto* workNo = dialog.findChild<QComboBox*>(QStringLiteral("workNoBox"));
    QStringList items;
    for (int i = 0; i < workNo->count(); ++i)
        items << workNo->itemText(i);
    QCOMPARE(items,
             (QStringList{QStringLiteral("0001"), QStringLiteral("0002"), QStringLiteral("888")}));
}

void LoginTest::loginThroughMainWindowSetsState() {
    AppFixture app;
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QStringLiteral("pw"), {});
    QVERIFY(app.login(QStringLiteral("0001"), QStringLiteral("pw")));
    QCOMPARE(CurComputer, QStringLiteral("当前计算机"));
    QCOMPARE(app.mainWindow()->statusPanelText(1), QStringLiteral("当前操作用户：张三 工号：0001"));
    QVERIFY(!app.programEnded());
    // Later log rows carry the computer label; the login row does not.
    app.mainWindow()->runCommand(QStringLiteral("库存查看"));
    const auto log =
        app.rows(QStringLiteral("select 操作电脑名 from tab_rz order by 时间, 操作内容"));
    QCOMPARE(log.size(), 2);
    QStringList computers;
    for (const auto& row : log)
        computers << row.value(QStringLiteral("操作电脑名")).toString();
    QVERIFY(computers.contains(QString()));
    QVERIFY(computers.contains(QStringLiteral("当前计算机")));
}

void LoginTest::closingWithoutLoginEndsProgram() {
    AppFixture app;
    testing::whenModal("Tfrm_login", [](QWidget* dialog) {
        dialog->findChild<QWidget*>(QStringLiteral("exitButton"))->metaObject();
        static_cast<Tfrm_login*>(dialog)->ExitClick();
    });
    app.mainWindow()->show();
    QTRY_VERIFY(app.programEnded());
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
    QVERIFY(CurUserNo.isEmpty());
}

void LoginTest::ownerFilters_data() {
    QTest::addColumn<bool>("seesAll");
    QTest::addColumn<QString>("purchase");
    QTest::addColumn<QString>("sales");
    QTest::newRow("sees all") << true << " and 进货人 like '%%'"
                              << " and 出货人 like '%%'";
    QTest::newRow("own lines") << false << " and 进货人='0007(王五)'"
                               << " and 出货人='0007(王五)'";
}

void LoginTest::ownerFilters() {
    QFETCH(bool, seesAll);
    QFETCH(QString, purchase);
    QFETCH(QString, sales);
    AppFixture app;
    QStringList rights;
    if (seesAll)
        rights << QStringLiteral("可以查看所有业务单据");
    // Blanks stored around the name are trimmed in the owner text.
    app.addUser(QStringLiteral("0007"), QStringLiteral(" 王五 "), QString(), rights);
    QVERIFY(app.login(QStringLiteral("0007")));
    QCOMPARE(CurUserName, QStringLiteral(" 王五 "));
    QCOMPARE(PurchaseOwnerFilter, purchase);
    QCOMPARE(SalesOwnerFilter, sales);
}

void LoginTest::splashRevealsAndCloses() {
    const int hold = SplashScreen::holdTime();
    SplashScreen::setHoldTime(50);
    const QPixmap picture = SplashScreen::defaultPicture();
    QCOMPARE(picture.height(), SplashScreen::Bands * SplashScreen::RowsPerBand);
    SplashScreen splash(picture);
    QElapsedTimer timer;
    timer.start();
    splash.run();
    QVERIFY(timer.elapsed() >= 50);
    QCOMPARE(splash.revealedRows(), SplashScreen::RowsPerBand);
    QVERIFY(!splash.isVisible());
    SplashScreen::setHoldTime(hold);
    QCOMPARE(SplashScreen::holdTime(), 1500);
}

void LoginTest::draggingThePictureMovesTheDialog() {
    AppFixture app;
    Tfrm_login dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint before = dialog.pos();
    const QPoint grip(8, dialog.height() - 8); // on the picture, away from the boxes
    QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 25)),
                     QPointF(dialog.mapToGlobal(grip + QPoint(40, 25))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, grip + QPoint(40, 25));
    QTRY_COMPARE(dialog.pos(), before + QPoint(40, 25));
}

QTEST_MAIN(LoginTest)
#include "login_test.moc"
