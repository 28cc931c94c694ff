#include "db/Public_DM.h"
#include "shell/main_frm.h"
#include "shell/public_unit.h"
#include "tests/support/app_fixture.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using testing::AppFixture;

// Stand-ins for business screens: the opening rule cares only for their class and caption.
class PurchaseTestScreen : public QWidget {
    Q_OBJECT

public:
    PurchaseTestScreen() { setWindowTitle(QStringLiteral("采购进货")); }
};

class ReturnTestScreen : public QWidget {
    Q_OBJECT

public:
    ReturnTestScreen() { setWindowTitle(QStringLiteral("采购退货")); }
};

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menusAndToolbar();
    void childWindowsOpenOncePerClass();
    void startupOpensPurchaseScreenOnlyWithRight_data();
    void startupOpensPurchaseScreenOnlyWithRight();
    void failingScreenIsDiscardedSilently();
    void refusedCommandLogsAndOpensNothing();
    void closeAllWindows();
    void exitQuestion_data();
    void exitQuestion();
    void backupQuestionAnsweredNoKeepsWindows();
    void onlineUpgradeStartsUpdater();
    void onlineUpgradeWithoutUpdaterKeepsRunning();
    void aboutBoxOpensAndCloses();
    void deskPrograms();

private:
    static void registerTestScreens(TFrm_Main* main, int* created = nullptr);
};

void MainWindowTest::registerTestScreens(TFrm_Main* main, int* created) {
    main->registerChildScreen(QStringLiteral("采购进货"), [created]() -> QWidget* {
        if (created)
            ++*created;
        return new PurchaseTestScreen;
    });
    main->registerChildScreen(QStringLiteral("采购退货"),
                              []() -> QWidget* { return new ReturnTestScreen; });
}

void MainWindowTest::menusAndToolbar() {
    AppFixture app;
    TFrm_Main* main = app.mainWindow();
    QCOMPARE(main->windowTitle(), QStringLiteral("Vantrel V1.0"));

    QStringList menus;
    QStringList entries;
    for (QAction* menuAction : main->menuBar()->actions()) {
        menus << menuAction->text();
        for (QAction* entry : menuAction->menu()->actions())
            entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        entries << QStringLiteral("|");
    }
    QCOMPARE(menus, (QStringList{"采购管理", "销售管理", "库存管理", "利润统计", "人员管理",
                                 "销售统计", "数据管理", "常用工具", "帮助", "窗口排列"}));
    QCOMPARE(
        entries.join(QLatin1Char(' ')),
        QStringLiteral("采购进货 采购退货 | 销售出货 销售退货 | 库存查看 | 商品利润 经营收营 | "
                       "用户权限管理 修改密码 - 客户管理 供货商管理 | 月销售统计 员工销售统计 | "
                       "数据备份 数据还原 - 公司基础信息设置 系统日志 在线升级 | "
                       "计算器 万年历 计事本 | 关于... | "
                       "水平平铺 层叠平铺 垂直显示 关闭所有窗口 - 退出进销存系统 |"));

    auto* bar = main->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QVERIFY(bar);
    QStringList buttons;
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
        if (!button->objectName().startsWith(QLatin1String("toolbar_")))
            continue;
        QString text = button->text();
        if (button->menu()) {
            QStringList items;
            for (QAction* a : button->menu()->actions())
                items << a->text();
            text += QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
        }
        buttons << text;
    }
    QCOMPARE(buttons,
             (QStringList{"采购进货[采购进货,采购退货]", "销售出货[销售出货,销售退货]", "库存查看",
                          "商品利润", "经营收益", "销售统计[月销售统计,员工销售统计]",
                          "客户管理[客户管理,供货商管理]", "用户管理"}));
}

void MainWindowTest::childWindowsOpenOncePerClass() {
    AppFixture app;
    TFrm_Main* main = app.mainWindow();
    int created = 0;
    registerTestScreens(main, &created);
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(),
                {QStringLiteral("采购退货"), QStringLiteral("采购进货")});
    QVERIFY(app.login(QStringLiteral("0001")));
    QTRY_COMPARE(main->childScreens().size(), 1); // opened by the start-up
    QCOMPARE(created, 1);
    QVERIFY(main->mdiArea()->subWindowList().first()->isMaximized());

    main->runCommand(QStringLiteral("采购退货"));
    QCOMPARE(main->childScreens().size(), 2);
    QCOMPARE(main->mdiArea()->activeSubWindow()->widget()->metaObject()->className(),
             "ReturnTestScreen");

    // A repeated command brings the open window forward instead of opening another.
    main->runCommand(QStringLiteral("采购进货"));
    QCOMPARE(main->childScreens().size(), 2);
    QCOMPARE(created, 1);
    QCOMPARE(main->mdiArea()->activeSubWindow()->widget()->metaObject()->className(),
             "PurchaseTestScreen");

    // After closing, the command creates a fresh screen.
    main->mdiArea()->activeSubWindow()->widget()->close();
    QTRY_COMPARE(main->childScreens().size(), 1);
    main->runCommand(QStringLiteral("采购进货"));
    QCOMPARE(created, 2);
    QCOMPARE(main->childScreens().size(), 2);
}

void MainWindowTest::startupOpensPurchaseScreenOnlyWithRight_data() {
    QTest::addColumn<bool>("holdsRight");
    QTest::newRow("with 采购进货") << true;
    QTest::newRow("without") << false;
}

void MainWindowTest::startupOpensPurchaseScreenOnlyWithRight() {
    QFETCH(bool, holdsRight);
    AppFixture app;
    registerTestScreens(app.mainWindow());
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(),
                holdsRight ? QStringList{QStringLiteral("采购进货")} : QStringList{});
    QVERIFY(app.login(QStringLiteral("0001")));
    QCOMPARE(app.mainWindow()->childScreens().size(), holdsRight ? 1 : 0);
    QCOMPARE(app.boxes().count(), 0);
}

void MainWindowTest::failingScreenIsDiscardedSilently() {
    AppFixture app;
    TFrm_Main* main = app.mainWindow();
    main->registerChildScreen(QStringLiteral("销售出货"),
                              []() -> QWidget* { throw std::runtime_error("broken screen"); });
    QVERIFY(app.login(QStringLiteral("888")));
    const int before = int(main->childScreens().size());
    main->runCommand(QStringLiteral("销售出货"));
    QCOMPARE(main->childScreens().size(), before);
    QCOMPARE(app.boxes().count(), 0);
}

void MainWindowTest::refusedCommandLogsAndOpensNothing() {
    AppFixture app;
    TFrm_Main* main = app.mainWindow();
    bool opened = false;
    main->registerChildScreen(QStringLiteral("库存查看"), [&opened]() -> QWidget* {
        opened = true;
        return new QWidget;
    });
    app.addUser(QStringLiteral("0002"), QStringLiteral("李四"), QString(), {});
    QVERIFY(app.login(QStringLiteral("0002")));
    app.boxes().clear();
    main->runCommand(QStringLiteral("库存查看"));
    QVERIFY(!opened);
    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral("对不起,你没有操作此功能的权限,请您联系-系统管理员")});
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("操作提示")});
    QCOMPARE(app.boxes().icons(), QList<QMessageBox::Icon>{QMessageBox::Warning});
    const auto log = app.rows(QStringLiteral("select * from tab_rz where 性质='一般'"));
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].value(QStringLiteral("操作内容")).toString(),
             QStringLiteral("工号为：0002执行查询库存操作!"));

    // Commands without a right of their own are not refused.
    app.boxes().clear();
    main->runCommand(QStringLiteral("经营收营"));
    main->runCommand(QStringLiteral("商品利润"));
    QCOMPARE(app.boxes().count(), 2);
    QCOMPARE(app.count(QStringLiteral("tab_rz"), QStringLiteral("性质='一般'")), 3);
}

void MainWindowTest::closeAllWindows() {
    AppFixture app;
    TFrm_Main* main = app.mainWindow();
    registerTestScreens(main);
    QVERIFY(app.login(QStringLiteral("888")));
    main->runCommand(QStringLiteral("采购退货"));
    QCOMPARE(main->childScreens().size(), 2);
    const QList<QMdiSubWindow*> subs = main->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    QCOMPARE(subs.size(), 2);
    const QRect area = main->mdiArea()->viewport()->rect();

    // 水平平铺: one above the other, each the full width.
    main->runCommand(QStringLiteral("水平平铺"));
    QCOMPARE(subs[0]->geometry().width(), area.width());
    QCOMPARE(subs[1]->geometry().width(), area.width());
    QVERIFY(subs[1]->geometry().top() >= subs[0]->geometry().bottom());

    // 层叠平铺: side by side, each the full height.
    main->runCommand(QStringLiteral("层叠平铺"));
    QCOMPARE(subs[0]->geometry().height(), area.height());
    QCOMPARE(subs[1]->geometry().height(), area.height());
    QVERIFY(subs[1]->geometry().left() >= subs[0]->geometry().right());

    // 垂直显示: cascaded, each window offset from the one before.
    main->runCommand(QStringLiteral("垂直显示"));
    QVERIFY(subs[0]->geometry().topLeft() != subs[1]->geometry().topLeft());
    QVERIFY(subs[0]->geometry().intersects(subs[1]->geometry()));

    main->runCommand(QStringLiteral("关闭所有窗口"));
    QTRY_COMPARE(main->childScreens().size(), 0);
    // Arranging no windows does nothing.
    main->runCommand(QStringLiteral("水平平铺"));
    QCOMPARE(app.boxes().count(), 0);
}

void MainWindowTest::exitQuestion_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void MainWindowTest::exitQuestion() {
    QFETCH(bool, yes);
    AppFixture app;
    QVERIFY(app.login(QStringLiteral("888")));
    const int before = app.count(QStringLiteral("tab_rz"));
    app.boxes().clear();
    app.boxes().answer(yes ? QMessageBox::Yes : QMessageBox::No);
    app.mainWindow()->runCommand(QStringLiteral("退出进销存系统"));
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("您确定要退出本系统吗？")});
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("退出系统")});
    QCOMPARE(app.mainWindow()->isVisible(), !yes);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), before + (yes ? 1 : 0));
    if (yes) {
        QCOMPARE(
            app.scalar(QStringLiteral("select 操作内容 from tab_rz where 操作内容 like '%退出%'"))
                .toString(),
            QStringLiteral("工号为：888 姓名为:系统管理员 的操作员成功退出了进销存软件系统"));
    }
}

void MainWindowTest::backupQuestionAnsweredNoKeepsWindows() {
    AppFixture app;
    TFrm_Main* main = app.mainWindow();
    registerTestScreens(main);
    bool dialogOpened = false;
    main->registerDialog(QStringLiteral("数据备份"), [&dialogOpened](QWidget*) -> QDialog* {
        dialogOpened = true;
        return nullptr;
    });
    QVERIFY(app.login(QStringLiteral("888")));
    app.boxes().clear();
    app.boxes().answer(QMessageBox::No);
    main->runCommand(QStringLiteral("数据备份"));
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("数据备份")});
    QCOMPARE(app.boxes().texts(),
             QStringList{
                 QStringLiteral("备份数据库之前必须关闭所有业务录入窗口,现在是否关闭所有窗口？")});
    QCOMPARE(main->childScreens().size(), 1);
    QVERIFY(!dialogOpened);

    // Yes closes the windows and opens the dialog; its closing is logged.
    main->runCommand(QStringLiteral("数据备份"));
    QTRY_COMPARE(main->childScreens().size(), 0);
    QVERIFY(dialogOpened);
    QCOMPARE(
        app.count(QStringLiteral("tab_rz"), QStringLiteral("操作内容='工号为：888备份数据成功!'")),
        1);
}

void MainWindowTest::onlineUpgradeStartsUpdater() {
    AppFixture app;
    const QString marker = app.home() + QStringLiteral("/updater-started");
    QFile script(app.home() + QStringLiteral("/patchrunner"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    QVERIFY(app.login(QStringLiteral("888")));
    const int logRows = app.count(QStringLiteral("tab_rz"));

    app.boxes().clear();
    app.boxes().answer(QMessageBox::No);
    app.mainWindow()->runCommand(QStringLiteral("在线升级"));
    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral("软件升级之前必须退出本软件,现在是否退出软件？")});
    QVERIFY(!app.programEnded());

    app.mainWindow()->runCommand(QStringLiteral("在线升级"));
    QVERIFY(app.programEnded());
    QTRY_VERIFY(QFileInfo(marker).size() > 0);
    QFile args(marker);
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(args.readAll().trimmed(), QByteArray("-s"));
    // No exit question and no exit line.
    QCOMPARE(app.boxes().count(), 2);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), logRows);
}

void MainWindowTest::onlineUpgradeWithoutUpdaterKeepsRunning() {
    AppFixture app;
    QVERIFY(app.login(QStringLiteral("888")));
    app.boxes().clear();
    app.mainWindow()->runCommand(QStringLiteral("在线升级"));
    QCOMPARE(app.boxes().count(), 2);
    QVERIFY(app.boxes().texts().at(1).contains(QStringLiteral("patchrunner")));
    QVERIFY(!app.programEnded());
}

void MainWindowTest::aboutBoxOpensAndCloses() {
    AppFixture app;
    QVERIFY(app.login(QStringLiteral("888")));
    bool seen = false;
    testing::whenModal("AboutDialog", [&seen](QWidget* dialog) {
        seen = true;
        static_cast<QDialog*>(dialog)->accept();
    });
    app.mainWindow()->runCommand(QStringLiteral("关于..."));
    QVERIFY(seen);
    QVERIFY(!app.mainWindow()->findChild<QDialog*>(QStringLiteral("AboutDialog")));
}

// The calculator and text editor commands start the desktop's programs when there are any,
// and do nothing otherwise.
void MainWindowTest::deskPrograms() {
    AppFixture app;
    QVERIFY(app.login(QStringLiteral("888")));
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    app.boxes().clear();
    app.mainWindow()->runCommand(QStringLiteral("计算器"));
    app.mainWindow()->runCommand(QStringLiteral("计事本"));
    QCOMPARE(app.boxes().count(), 0);

    for (const char* program : {"gnome-calculator", "gedit"}) {
        QFile script(bin.path() + QLatin1Char('/') + QLatin1String(program));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\n/usr/bin/touch '%1/%2.started'\n")
                         .arg(bin.path(), QLatin1String(program))
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    app.mainWindow()->runCommand(QStringLiteral("计算器"));
    app.mainWindow()->runCommand(QStringLiteral("计事本"));
    qputenv("PATH", oldPath);
    QTRY_VERIFY(QFile::exists(bin.path() + QStringLiteral("/gnome-calculator.started")));
    QTRY_VERIFY(QFile::exists(bin.path() + QStringLiteral("/gedit.started")));
    QCOMPARE(app.boxes().count(), 0);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
