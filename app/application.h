#pragma once

#include <QApplication>

// The application object: a statement error that escapes a handler ends in one error box with
// the database's message instead of ending the program.
class MerchdeskApplication : public QApplication {
    Q_OBJECT

public:
    MerchdeskApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
