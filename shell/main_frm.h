#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class Tfrm_login;

// The main window: an MDI frame with the menus, the toolbar and the status bar from which
// every function is reached. Showing it runs the login; every command first asks HasRight
// for its right and refuses with NoRightMessage.
//
// The screens of the other subsystems plug in by name: registerChildScreen() for the business
// screens, which open as child windows (one per screen class), registerDialog() for the modal
// dialogs. A command whose screen is not registered checks its right and does nothing else.
class TFrm_Main : public QMainWindow {
    Q_OBJECT

public:
    using ChildFactory = std::function<QWidget*()>;
    using DialogFactory = std::function<QDialog*(QWidget* parent)>;

    explicit TFrm_Main(QWidget* parent = nullptr);
    ~TFrm_Main() override;

    static TFrm_Main* instance();

    void registerChildScreen(const QString& command, ChildFactory factory);
    void registerDialog(const QString& command, DialogFactory factory);

    // Runs the command of a menu entry or toolbar button, by its caption (for example
    // "采购进货" or "关闭所有窗口").
    void runCommand(const QString& command);
    // The menu action of a command.
    QAction* commandAction(const QString& command) const;

    // The login and what follows it; run once by the first show.
    void runLogin();
    Tfrm_login* loginDialog() const { return m_login; }

    // Brings forward the open child window of the class and caption of the referenced screen.
    bool ActivateExistingChild(const QMetaObject* screenClass, QWidget* screen);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    QList<QWidget*> childScreens() const;

    // The two status bar panels.
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString& text);

    // How the program ends (after a refused login, or when the updater starts). The default
    // quits the event loop; tests replace it.
    static void setProgramEnder(std::function<void()> ender);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Command {
        QString menu;
        QString caption;
        QString right;
    };

    void buildMenus();
    void buildToolBar();
    void afterLogin();
    void openChild(const QString& command);
    void openDialog(const QString& command);
    void backupOrRestore(bool restore);
    void closeAllChildren();
    void tile(Qt::Orientation orientation);
    void onlineUpgrade();
    void showAbout();
    void modifyPassword();
    void logLine(const QString& content, const QString& nature);
    void endProgram();

    QMdiArea* m_mdiArea = nullptr;
    QLabel* m_panels[2] = {nullptr, nullptr};
    Tfrm_login* m_login = nullptr;
    bool m_loginRun = false;
    bool m_ending = false;

    QList<Command> m_commands;
    QHash<QString, QAction*> m_actions;
    QHash<QString, ChildFactory> m_childFactories;
    QHash<QString, DialogFactory> m_dialogFactories;
    QHash<QString, QPointer<QWidget>> m_screenRefs;
};
