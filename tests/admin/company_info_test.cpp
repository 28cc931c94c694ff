#include "admin/company_info_frm.h"
#include "shell/main_frm.h"
#include "tests/support/app_fixture.h"

#include <QLineEdit>
#include <QTest>

using testing::AppFixture;

class CompanyInfoTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void samplesBeforeAnyRow();
    void savedTwiceLeavesOneRow();
    void emptyNameSavesNothing();
    void failedSaveKeepsOldRow();
    void cancelLogs();
    void openedFromMainWindowWithoutRight();

private:
    static void fill(Tfrm_reprot& dialog, const QString& name, const QString& phone,
                     const QString& fax, const QString& address);
};

void CompanyInfoTest::fill(Tfrm_reprot& dialog, const QString& name, const QString& phone,
                           const QString& fax, const QString& address) {
    dialog.findChild<QLineEdit*>(QStringLiteral("companyNameEdit"))->setText(name);
    dialog.findChild<QLineEdit*>(QStringLiteral("salesPhoneEdit"))->setText(phone);
    dialog.findChild<QLineEdit*>(QStringLiteral("faxEdit"))->setText(fax);
    dialog.findChild<QLineEdit*>(QStringLiteral("addressEdit"))->setText(address);
}

void CompanyInfoTest::samplesBeforeAnyRow() {
    AppFixture app;
    Tfrm_reprot dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("公司信息设置"));
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("companyNameEdit"))->text(),
             QStringLiteral("XXXX贸易有限公司"));
}

void CompanyInfoTest::savedTwiceLeavesOneRow() {
    AppFixture app;
    {
        Tfrm_reprot dialog;
        fill(dialog, QStringLiteral("甲公司"), QStringLiteral("111"), QStringLiteral("222"),
             QStringLiteral("北京"));
        dialog.OkClick();
    }
    {
        Tfrm_reprot dialog;
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("companyNameEdit"))->text(),
                 QStringLiteral("甲公司"));
        fill(dialog, QStringLiteral("  O'Neil 商行 "), QStringLiteral("333"), QString(), QString());
        dialog.OkClick();
        QVERIFY(!dialog.isVisible());
    }
    const auto rows = app.rows(QStringLiteral("select * from tab_company_info"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].value(QStringLiteral("公司名")).toString(), QStringLiteral("O'Neil 商行"));
    QCOMPARE(rows[0].value(QStringLiteral("销售电话")).toString(), QStringLiteral("333"));
    QCOMPARE(rows[0].value(QStringLiteral("传真")).toString(), QString());
    QVERIFY(!rows[0].value(QStringLiteral("传真")).isNull());
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='修改了公司的基础资料信息' and 性质='重要'")),
             2);
    QCOMPARE(app.boxes().count(), 0);
}

void CompanyInfoTest::emptyNameSavesNothing() {
    AppFixture app;
    Tfrm_reprot dialog;
    dialog.show();
    fill(dialog, QStringLiteral("   "), QStringLiteral("333"), QString(), QString());
    dialog.OkClick();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(app.count(QStringLiteral("tab_company_info")), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
    QCOMPARE(app.boxes().count(), 0);
}

void CompanyInfoTest::failedSaveKeepsOldRow() {
    AppFixture app;
    // A table that refuses the new row once the old one is deleted.
    app.exec(QStringLiteral("drop table tab_company_info"));
    app.exec(
        QStringLiteral("create table tab_company_info(公司名 varchar(255), 销售电话 varchar(255) "
                       "check (销售电话 <> '失败'), 传真 varchar(255), 地址 text)"));
    app.exec(QStringLiteral(
        "insert into tab_company_info(公司名,销售电话,传真,地址)values('旧公司','1','2','3')"));
    Tfrm_reprot dialog;
    dialog.show();
    fill(dialog, QStringLiteral("新公司"), QStringLiteral("失败"), QString(), QString());
    dialog.OkClick();
    QCOMPARE(app.boxes().count(), 1); // the database's message
    QVERIFY(dialog.isVisible());
    const auto rows = app.rows(QStringLiteral("select 公司名 from tab_company_info"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].value(QStringLiteral("公司名")).toString(), QStringLiteral("旧公司"));
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
}

void CompanyInfoTest::cancelLogs() {
    AppFixture app;
    Tfrm_reprot dialog;
    fill(dialog, QStringLiteral("甲公司"), QStringLiteral("111"), QString(), QString());
    dialog.CancelClick();
    QCOMPARE(app.count(QStringLiteral("tab_company_info")), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='取消修改公司的基础资料操作' and 性质='一般'")),
             1);
}

void CompanyInfoTest::openedFromMainWindowWithoutRight() {
    AppFixture app;
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(), {});
    QVERIFY(app.login(QStringLiteral("0001")));
    bool opened = false;
    testing::whenModal("Tfrm_reprot", [&opened](QWidget* dialog) {
        opened = true;
        static_cast<Tfrm_reprot*>(dialog)->OkClick();
    });
    app.mainWindow()->runCommand(QStringLiteral("公司基础信息设置"));
    QVERIFY(opened);
    // The sample texts are saved as they stand.
    QCOMPARE(app.scalar(QStringLiteral("select 公司名 from tab_company_info")).toString(),
             QStringLiteral("XXXX贸易有限公司"));
}

QTEST_MAIN(CompanyInfoTest)
#include "company_info_test.moc"
