#include "tests/business/support/screen_support.h"

#include "platform/grid/data_grid.h"
#include "shell/main_frm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace testing {

QWidget* openChildScreen(TFrm_Main* main, const QString& command, const QString& caption) {
    main->runCommand(command);
    for (QMdiSubWindow* sub : main->mdiArea()->subWindowList()) {
        QWidget* screen = sub->widget();
        if (screen && screen->windowTitle() == caption)
            return QTest::qWaitFor([screen] { return screen->isVisible(); }, 2000) ? screen
                                                                                   : nullptr;
    }
    return nullptr;
}

QStringList gridColumn(const DataGrid* grid, const QString& field) {
    QStringList values;
    for (int row = 0; row < grid->rowCount(); ++row)
        values << grid->value(row, field).toString();
    return values;
}

} // namespace testing
