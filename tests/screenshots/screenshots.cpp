// Renders every window of the program with sample data to PNG files, offscreen:
//   screenshots OUTPUT_FOLDER
// Each shot is one entry of the table in main(); a new screen adds its entry there.
#include "admin/company_info_frm.h"
#include "shell/login_frm.h"
#include "shell/main_frm.h"
#include "shell/modify_password_frm.h"
#include "shell/public_unit.h"
#include "tests/screenshots/sample_data.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <cstdio>

namespace {

QString g_folder;
int g_failures = 0;

void save(QWidget* widget, const QString& name) {
    QApplication::processEvents();
    const QPixmap picture = widget->grab();
    const QString file = g_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (picture.isNull() || !picture.save(file)) {
        std::fprintf(stderr, "screenshots: could not write %s\n", qPrintable(file));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

// The main window with one of its menus open, drawn into one picture.
void saveWithMenu(TFrm_Main* main, QMenu* menu, const QString& name) {
    QAction* action = menu->menuAction();
    const QRect at = main->menuBar()->actionGeometry(action);
    menu->popup(main->menuBar()->mapToGlobal(at.bottomLeft()));
    QApplication::processEvents();
    QPixmap picture = main->grab();
    QPainter painter(&picture);
    const QPoint where = main->mapFromGlobal(menu->mapToGlobal(QPoint(0, 0)));
    painter.drawPixmap(where, menu->grab());
    painter.end();
    menu->hide();
    const QString file = g_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!picture.save(file))
        ++g_failures;
    else
        std::printf("%s\n", qPrintable(file));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
    g_folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(g_folder);

    testing::AppFixture fixture;
    screenshots::fillSampleData(fixture);

    {
        Tfrm_login login;
        login.show();
        login.findChild<QComboBox*>(QStringLiteral("workNoBox"))
            ->setEditText(QStringLiteral("0001"));
        login.Lookup();
        login.findChild<QLineEdit*>(QStringLiteral("passwordBox"))->setText(QStringLiteral("1234"));
        save(&login, QStringLiteral("01_login"));
    }

    TFrm_Main* main = fixture.mainWindow();
    main->resize(1280, 800);
    if (!fixture.login(QStringLiteral("0001"), QStringLiteral("1234"))) {
        std::fprintf(stderr, "screenshots: the sample user could not log in\n");
        return 1;
    }
    main->showNormal();
    main->resize(1280, 800);
    save(main, QStringLiteral("02_main_window"));
    int index = 0;
    for (QAction* menuAction : main->menuBar()->actions()) {
        if (QMenu* menu = menuAction->menu())
            saveWithMenu(main, menu,
                         QStringLiteral("03_menu_%1").arg(++index, 2, 10, QLatin1Char('0')));
    }

    {
        Tfrm_modify_password dialog(CurUserName, CurUserNo, main);
        dialog.show();
        save(&dialog, QStringLiteral("10_modify_password"));
    }
    {
        Tfrm_reprot dialog(main);
        dialog.show();
        save(&dialog, QStringLiteral("11_company_info"));
    }

    screenshots::saveScreens(main, &save);

    return g_failures == 0 ? 0 : 1;
}
