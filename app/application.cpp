#include "app/application.h"

#include "db/sql_error.h"
#include "shell/message_boxes.h"

MerchdeskApplication::MerchdeskApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool MerchdeskApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const db::SqlError& e) {
        ShowError(e.message());
    } catch (const std::exception& e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
