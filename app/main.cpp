#include "app/application.h"
#include "app/screens.h"
#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "platform/sys/single_instance.h"
#include "shell/main_frm.h"
#include "shell/message_boxes.h"

#include <QFileInfo>
#include <QTimer>

#include <memory>

int main(int argc, char** argv) {
    MerchdeskApplication app(argc, argv);
    // The lock is named after the program file, before the application title is set.
    sys::SingleInstanceGuard guard(QFileInfo(QCoreApplication::applicationFilePath()).baseName());
    if (guard.anotherCopyRuns()) {
        ShowInformation(QStringLiteral("系统检测到本软件已经在运行了!"));
        return 0;
    }
    QApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    QApplication::setApplicationName(QStringLiteral("Vantrel"));

    std::unique_ptr<TDM_Public> dataModule;
    try {
        dataModule = std::make_unique<TDM_Public>();
    } catch (const db::SqlError& e) {
        ShowError(e.message());
        return 1;
    }

    TFrm_Main mainWindow;
    RegisterScreens(mainWindow);
    QObject::connect(&guard, &sys::SingleInstanceGuard::activationRequested, &mainWindow,
                     [&mainWindow] {
                         if (mainWindow.isMinimized())
                             mainWindow.showNormal();
                         mainWindow.raise();
                         mainWindow.activateWindow();
                     });
    mainWindow.showMaximized();
    const int result = app.exec();
    return result;
}
