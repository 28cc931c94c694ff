#pragma once

#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>

class TDM_Public;
class TFrm_Main;
class QTimer;

namespace testing {

// Watches for message boxes while it lives: records the caption and text of each one and
// answers it with the next queued button (Ok, or Yes for questions, when the queue is empty).
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();

    void answer(QMessageBox::StandardButton button) { m_answers << button; }

    QStringList texts() const { return m_texts; }
    QStringList captions() const { return m_captions; }
    QList<QMessageBox::Icon> icons() const { return m_icons; }
    int count() const { return int(m_texts.size()); }
    void clear();

private:
    void poll();

    std::unique_ptr<QTimer> m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    QStringList m_texts;
    QStringList m_captions;
    QList<QMessageBox::Icon> m_icons;
};

// Runs an action on the next modal widget of the given class once it is shown.
void whenModal(const char* className, std::function<void(QWidget*)> action);

// A fresh program folder and database for one test: sets MERCHDESK_HOME to a temporary
// folder, opens the data module (which creates the database with the first administrator)
// and offers the main window, logins and reads of the database. With the data source
// "korvane" defined, the shared server's tables are dropped first so every test starts from
// an empty database there too.
class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    QString home() const { return m_home.path(); }
    TDM_Public* dataModule() const { return m_dataModule.get(); }
    // Closes the connection and opens it again, as a new run of the program would.
    void reopenDatabase();

    // The main window with every screen plugged in (created on first use, not shown).
    TFrm_Main* mainWindow();

    // Shows the main window and logs in through the real login dialog. Returns whether the
    // login dialog accepted the user.
    bool login(const QString& workNo, const QString& password = QString());

    // Adds a user with the given rights (every other right 0), password and name.
    void addUser(const QString& workNo, const QString& name, const QString& password,
                 const QStringList& rights);
    // Every right.
    static QStringList allRights();

    // Reads back the database.
    QVariant scalar(const QString& sql) const;
    QList<QVariantMap> rows(const QString& sql) const;
    int count(const QString& table, const QString& where = QString()) const;
    void exec(const QString& sql) const;

    // True when the program asked to end (refused login, update started).
    bool programEnded() const { return m_programEnded; }

    // Every message box shown during the test, answered as queued (Ok or Yes by default), so
    // that no test hangs on a box it did not expect.
    MessageBoxWatcher& boxes() { return *m_boxes; }

private:
    QTemporaryDir m_home;
    std::unique_ptr<TDM_Public> m_dataModule;
    std::unique_ptr<TFrm_Main> m_mainWindow;
    std::unique_ptr<MessageBoxWatcher> m_boxes;
    bool m_programEnded = false;
};

// True when this run uses the shared PostgreSQL server.
bool usingSharedServer();

} // namespace testing
