#include "shell/main_frm.h"

#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/programs.h"
#include "shell/about_dialog.h"
#include "shell/login_frm.h"
#include "shell/message_boxes.h"
#include "shell/modify_password_frm.h"
#include "shell/public_unit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

TFrm_Main* g_mainWindow = nullptr;
std::function<void()> g_programEnder = [] { QCoreApplication::exit(0); };

// Menus, in order; an empty caption is a separator. A right of "" means no check.
struct MenuEntry {
    const char* menu;
    const char* caption;
    const char* right;
};

const MenuEntry kMenus[] = {
    {"采购管理", "采购进货", "采购进货"},
    {"采购管理", "采购退货", "采购退货"},
    {"销售管理", "销售出货", "销售出货"},
    {"销售管理", "销售退货", "销售退货"},
    {"库存管理", "库存查看", "库存查看"},
    {"利润统计", "商品利润", "商品利润"},
    {"利润统计", "经营收营", "经营利润"},
    {"人员管理", "用户权限管理", "用户管理"},
    {"人员管理", "修改密码", ""},
    {"人员管理", "", ""},
    {"人员管理", "客户管理", "客户资料"},
    {"人员管理", "供货商管理", "供商资料"},
    {"销售统计", "月销售统计", "销售统计"},
    {"销售统计", "员工销售统计", "销售统计"},
    {"数据管理", "数据备份", "数据备份"},
    {"数据管理", "数据还原", "数据还原"},
    {"数据管理", "", ""},
    {"数据管理", "公司基础信息设置", ""},
    {"数据管理", "系统日志", "操作日志"},
    {"数据管理", "在线升级", ""},
    {"常用工具", "计算器", ""},
    {"常用工具", "万年历", ""},
    {"常用工具", "计事本", ""},
    {"帮助", "关于...", ""},
    {"窗口排列", "水平平铺", ""},
    {"窗口排列", "层叠平铺", ""},
    {"窗口排列", "垂直显示", ""},
    {"窗口排列", "关闭所有窗口", ""},
    {"窗口排列", "", ""},
    {"窗口排列", "退出进销存系统", ""},
};

// Commands that open a business screen as a child window.
const char* const kChildCommands[] = {"采购进货",   "采购退货",   "销售出货",    "销售退货",
                                      "库存查看",   "商品利润",   "经营收营",    "客户管理",
                                      "供货商管理", "月销售统计", "员工销售统计"};

// Commands that log a line before the right is asked.
struct OpeningLog {
    const char* command;
    const char* text; // after "工号为：<工号>"
};
const OpeningLog kOpeningLogs[] = {
    {"库存查看", "执行查询库存操作!"},
    {"商品利润", "执行商品利润查询操作!"},
    {"经营收营", "执行经营收益操作!"},
};

// Toolbar buttons: caption, the command a click runs, the drop-down entries.
struct ToolButton {
    const char* caption;
    const char* command;
    const char* dropDown[2];
};
const QColor kToolColours[] = {QColor(0x2e, 0x75, 0xb6), QColor(0x37, 0x86, 0x3c),
                               QColor(0xc5, 0x5a, 0x11), QColor(0x7b, 0x3f, 0x9e),
                               QColor(0xb8, 0x86, 0x0b), QColor(0x00, 0x80, 0x80),
                               QColor(0x8b, 0x45, 0x13), QColor(0x44, 0x54, 0x6a)};

const ToolButton kToolButtons[] = {
    {"采购进货", "采购进货", {"采购进货", "采购退货"}},
    {"销售出货", "销售出货", {"销售出货", "销售退货"}},
    {"库存查看", "库存查看", {nullptr, nullptr}},
    {"商品利润", "商品利润", {nullptr, nullptr}},
    {"经营收益", "经营收营", {nullptr, nullptr}},
    {"销售统计", "月销售统计", {"月销售统计", "员工销售统计"}},
    {"客户管理", "客户管理", {"客户管理", "供货商管理"}},
    {"用户管理", "用户权限管理", {nullptr, nullptr}},
};

// A toolbar picture drawn in code: a rounded tile in the button's colour with its first
// character.
QIcon toolIcon(const QString& caption, const QColor& colour) {
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 12, 12);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(30);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(4, 4, 56, 56), Qt::AlignCenter, caption.left(1));
    return QIcon(picture);
}

bool isChildCommand(const QString& command) {
    for (const char* c : kChildCommands)
        if (command == QString::fromUtf8(c))
            return true;
    return false;
}

} // namespace

TFrm_Main::TFrm_Main(QWidget* parent)
    : QMainWindow(parent) {
    g_mainWindow = this;
    SetMessageOwner(this);
    setObjectName(QStringLiteral("TFrm_Main"));
    setWindowTitle(QStringLiteral("Vantrel V1.0"));

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MdiArea"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);

    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setMinimumWidth(i == 0 ? 420 : 300);
        statusBar()->addWidget(m_panels[i], i == 0 ? 1 : 0);
    }

    buildMenus();
    buildToolBar();
}

TFrm_Main::~TFrm_Main() {
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

TFrm_Main* TFrm_Main::instance() {
    return g_mainWindow;
}

void TFrm_Main::setProgramEnder(std::function<void()> ender) {
    g_programEnder = std::move(ender);
}

void TFrm_Main::registerChildScreen(const QString& command, ChildFactory factory) {
    m_childFactories.insert(command, std::move(factory));
}

void TFrm_Main::registerDialog(const QString& command, DialogFactory factory) {
    m_dialogFactories.insert(command, std::move(factory));
}

void TFrm_Main::buildMenus() {
    QMenu* menu = nullptr;
    QString menuTitle;
    for (const MenuEntry& entry : kMenus) {
        const QString title = QString::fromUtf8(entry.menu);
        if (!menu || title != menuTitle) {
            menu = menuBar()->addMenu(title);
            menu->setObjectName(QStringLiteral("menu_") + title);
            menuTitle = title;
        }
        const QString caption = QString::fromUtf8(entry.caption);
        if (caption.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(caption);
        action->setObjectName(QStringLiteral("action_") + caption);
        m_actions.insert(caption, action);
        m_commands.append({title, caption, QString::fromUtf8(entry.right)});
        connect(action, &QAction::triggered, this, [this, caption] { runCommand(caption); });
    }
}

void TFrm_Main::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("工具栏"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    QFont font = bar->font();
    font.setPointSize(font.pointSize() + 1);
    int index = 0;
    for (const ToolButton& spec : kToolButtons) {
        const QString caption = QString::fromUtf8(spec.caption);
        const QColor colour = kToolColours[index++ % std::size(kToolColours)];
        const QString command = QString::fromUtf8(spec.command);
        auto* button = new QToolButton(bar);
        button->setObjectName(QStringLiteral("toolbar_") + caption);
        button->setText(caption);
        button->setFont(font);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setMinimumSize(72, 48);
        button->setIcon(toolIcon(caption, colour));
        connect(button, &QToolButton::clicked, this, [this, command] { runCommand(command); });
        if (spec.dropDown[0]) {
            auto* menu = new QMenu(button);
            menu->setObjectName(QStringLiteral("toolbarMenu_") + caption);
            for (const char* entry : spec.dropDown) {
                const QString entryCommand = QString::fromUtf8(entry);
                QAction* item = menu->addAction(entryCommand);
                connect(item, &QAction::triggered, this,
                        [this, entryCommand] { runCommand(entryCommand); });
            }
            button->setMenu(menu);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        bar->addWidget(button);
    }
}

QAction* TFrm_Main::commandAction(const QString& command) const {
    return m_actions.value(command);
}

void TFrm_Main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_loginRun) {
        m_loginRun = true;
        QTimer::singleShot(0, this, &TFrm_Main::runLogin);
    }
}

void TFrm_Main::runLogin() {
    m_loginRun = true;
    if (!m_login)
        m_login = new Tfrm_login(this);
    m_login->exec();
    afterLogin();
}

void TFrm_Main::afterLogin() {
    CurComputer = QStringLiteral("当前计算机");
    if (m_login->resultFlag() == 0) {
        endProgram();
        return;
    }
    setStatusPanelText(1, QStringLiteral("当前操作用户：") + CurUserName +
                              QStringLiteral(" 工号：") + CurUserNo);
    try {
        const QString owner = OwnerText(CurUserNo.trimmed(), CurUserName.trimmed());
        if (HasRight(CurUserNo, QStringLiteral("可以查看所有业务单据"))) {
            PurchaseOwnerFilter =
                QStringLiteral(" and 进货人 like ") + db::quoted(QStringLiteral("%%"));
            SalesOwnerFilter =
                QStringLiteral(" and 出货人 like ") + db::quoted(QStringLiteral("%%"));
        } else {
            PurchaseOwnerFilter = QStringLiteral(" and 进货人=") + db::quoted(owner);
            SalesOwnerFilter = QStringLiteral(" and 出货人=") + db::quoted(owner);
        }
        if (HasRight(CurUserNo, QStringLiteral("采购进货")))
            runCommand(QStringLiteral("采购进货"));
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
}

void TFrm_Main::endProgram() {
    m_ending = true;
    if (g_programEnder)
        g_programEnder();
}

void TFrm_Main::logLine(const QString& content, const QString& nature) {
    AddOperationLog(CurComputer, CurUserName, CurUserNo, content, nature,
                    TDM_Public::instance()->ADOQuery1());
}

void TFrm_Main::runCommand(const QString& command) {
    try {
        for (const OpeningLog& log : kOpeningLogs) {
            if (command == QString::fromUtf8(log.command))
                logLine(QStringLiteral("工号为：") + CurUserNo.trimmed() +
                            QString::fromUtf8(log.text),
                        QStringLiteral("一般"));
        }
        QString right;
        for (const Command& c : std::as_const(m_commands))
            if (c.caption == command)
                right = c.right;
        if (command == QStringLiteral("数据备份") || command == QStringLiteral("数据还原")) {
            backupOrRestore(command == QStringLiteral("数据还原"));
            return;
        }
        if (!right.isEmpty() && !HasRight(CurUserNo, right)) {
            NoRightMessage();
            return;
        }
        if (isChildCommand(command)) {
            openChild(command);
        } else if (command == QStringLiteral("修改密码")) {
            modifyPassword();
        } else if (command == QStringLiteral("在线升级")) {
            onlineUpgrade();
        } else if (command == QStringLiteral("计算器")) {
            sys::startProgram(sys::desktopCalculator());
        } else if (command == QStringLiteral("计事本")) {
            sys::startProgram(sys::desktopTextEditor());
        } else if (command == QStringLiteral("关于...")) {
            showAbout();
        } else if (command == QStringLiteral("水平平铺")) {
            tile(Qt::Vertical);
        } else if (command == QStringLiteral("层叠平铺")) {
            tile(Qt::Horizontal);
        } else if (command == QStringLiteral("垂直显示")) {
            if (!m_mdiArea->subWindowList().isEmpty())
                m_mdiArea->cascadeSubWindows();
        } else if (command == QStringLiteral("关闭所有窗口")) {
            closeAllChildren();
        } else if (command == QStringLiteral("退出进销存系统")) {
            close();
        } else {
            openDialog(command);
        }
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
}

bool TFrm_Main::ActivateExistingChild(const QMetaObject* screenClass, QWidget* screen) {
    if (!screen)
        return false;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        QWidget* widget = sub->widget();
        if (!widget || widget->metaObject() != screenClass)
            continue;
        if (widget->windowTitle() != screen->windowTitle())
            continue;
        if (sub->isMinimized())
            sub->showNormal();
        sub->setVisible(true);
        widget->setVisible(true);
        m_mdiArea->setActiveSubWindow(sub);
        sub->raise();
        widget->setFocus();
        return true;
    }
    return false;
}

void TFrm_Main::openChild(const QString& command) {
    QWidget* existing = m_screenRefs.value(command);
    if (existing && ActivateExistingChild(existing->metaObject(), existing))
        return;
    const ChildFactory factory = m_childFactories.value(command);
    if (!factory)
        return;
    QPointer<QWidget> screen;
    QPointer<QMdiSubWindow> sub;
    try {
        screen = factory();
        if (!screen)
            return;
        screen->setAttribute(Qt::WA_DeleteOnClose);
        sub = m_mdiArea->addSubWindow(screen);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        m_screenRefs.insert(command, screen);
        sub->showMaximized();
        screen->setFocus();
    } catch (...) {
        // A screen that fails while it is created or shown is discarded without a message.
        if (sub)
            delete sub;
        else
            delete screen;
    }
}

QList<QWidget*> TFrm_Main::childScreens() const {
    QList<QWidget*> screens;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (sub->widget())
            screens << sub->widget();
    return screens;
}

void TFrm_Main::openDialog(const QString& command) {
    const DialogFactory factory = m_dialogFactories.value(command);
    if (!factory)
        return;
    std::unique_ptr<QDialog> dialog(factory(this));
    if (dialog)
        dialog->exec();
}

void TFrm_Main::modifyPassword() {
    Tfrm_modify_password dialog(CurUserName, CurUserNo, this);
    dialog.exec();
}

void TFrm_Main::showAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

void TFrm_Main::backupOrRestore(bool restore) {
    const QString right = restore ? QStringLiteral("数据还原") : QStringLiteral("数据备份");
    if (!HasRight(CurUserNo, right)) {
        NoRightMessage();
        return;
    }
    if (!m_mdiArea->subWindowList().isEmpty()) {
        const QString question =
            restore
                ? QStringLiteral("还原数据库之前必须关闭所有业务录入窗口,现在是否关闭所有窗口？")
                : QStringLiteral("备份数据库之前必须关闭所有业务录入窗口,现在是否关闭所有窗口？");
        if (!AskYesNo(right, question, this))
            return;
        closeAllChildren();
    }
    const DialogFactory factory = m_dialogFactories.value(right);
    if (!factory)
        return;
    {
        std::unique_ptr<QDialog> dialog(factory(this));
        if (dialog)
            dialog->exec();
    }
    logLine(QStringLiteral("工号为：") + CurUserNo.trimmed() +
                (restore ? QStringLiteral("还原数据成功!") : QStringLiteral("备份数据成功!")),
            QStringLiteral("重要"));
}

void TFrm_Main::closeAllChildren() {
    const QList<QMdiSubWindow*> subs = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
        QMdiSubWindow* sub = *it;
        if (QWidget* widget = sub->widget())
            widget->close();
        sub->close();
    }
}

void TFrm_Main::tile(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized())
            subs << sub;
    if (subs.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = int(subs.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = subs.at(i);
        if (sub->isMaximized())
            sub->showNormal();
        QRect r;
        if (orientation == Qt::Vertical) {
            // One above the other, each the full width.
            const int h = area.height() / count;
            r = QRect(0, i * h, area.width(), h);
        } else {
            // Side by side, each the full height.
            const int w = area.width() / count;
            r = QRect(i * w, 0, w, area.height());
        }
        sub->setGeometry(r);
    }
}

void TFrm_Main::onlineUpgrade() {
    if (!AskYesNo(QStringLiteral("软件升级"),
                  QStringLiteral("软件升级之前必须退出本软件,现在是否退出软件？"), this))
        return;
    const QString updater = sys::programFile(QStringLiteral("patchrunner"));
    if (!sys::startProgram(updater, {QStringLiteral("-s")})) {
        // Ending the program without an updater would leave the user with nothing running.
        ShowWarning(QStringLiteral("软件升级"),
                    QStringLiteral("找不到升级程序 %1，无法在线升级。").arg(updater), this);
        return;
    }
    endProgram();
    hide();
}

QString TFrm_Main::statusPanelText(int panel) const {
    return m_panels[panel]->text();
}

void TFrm_Main::setStatusPanelText(int panel, const QString& text) {
    m_panels[panel]->setText(text);
}

void TFrm_Main::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    if (!AskYesNo(QStringLiteral("退出系统"), QStringLiteral("您确定要退出本系统吗？"), this)) {
        event->ignore();
        return;
    }
    try {
        logLine(QStringLiteral("工号为：") + CurUserNo + QStringLiteral(" 姓名为:") + CurUserName +
                    QStringLiteral(" 的操作员成功退出了进销存软件系统"),
                QStringLiteral("重要"));
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
    m_ending = true;
    closeAllChildren();
    event->accept();
}
