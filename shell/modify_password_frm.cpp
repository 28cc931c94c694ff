#include "shell/modify_password_frm.h"

#include "db/sql_error.h"
#include "db/sql_text.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

Tfrm_modify_password::Tfrm_modify_password(const QString& userName, const QString& workNo,
                                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Tfrm_modify_password"));
    setWindowTitle(QStringLiteral("密码修改"));

    auto edit = [this](const char* name, bool password) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        if (password)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_userName = edit("userNameEdit", false);
    m_userName->setReadOnly(true);
    m_userName->setText(userName);
    m_workNo = edit("workNoEdit", false);
    m_workNo->setReadOnly(true);
    m_workNo->setText(workNo);
    m_oldPassword = edit("oldPasswordEdit", true);
    m_newPassword = edit("newPasswordEdit", true);
    m_repeat = edit("confirmPasswordEdit", true);
    m_emptyPassword = new QCheckBox(QStringLiteral("使用空密码"), this);
    m_emptyPassword->setObjectName(QStringLiteral("emptyPasswordCheck"));
    m_confirm = new QPushButton(QStringLiteral("确认"), this);
    m_confirm->setObjectName(QStringLiteral("confirmButton"));
    m_confirm->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("取 消"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用户名:"), m_userName);
    form->addRow(QStringLiteral("工  号:"), m_workNo);
    form->addRow(QStringLiteral("原始密码:"), m_oldPassword);
    form->addRow(QStringLiteral("现设密码:"), m_newPassword);
    form->addRow(QStringLiteral("确认密码:"), m_repeat);
    form->addRow(QString(), m_emptyPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_confirm);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_emptyPassword, &QCheckBox::toggled, this,
            &Tfrm_modify_password::emptyPasswordToggled);
    connect(m_confirm, &QPushButton::clicked, this, &Tfrm_modify_password::ConfirmClick);
    connect(m_cancel, &QPushButton::clicked, this, &Tfrm_modify_password::CancelClick);
}

void Tfrm_modify_password::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_oldPassword->setFocus();
}

void Tfrm_modify_password::emptyPasswordToggled(bool on) {
    // Disabled boxes are painted grey by the style; enabled ones in the window colour.
    m_newPassword->setEnabled(!on);
    m_repeat->setEnabled(!on);
}

void Tfrm_modify_password::ConfirmClick() {
    using db::quoted;
    const QString workNo = m_workNo->text().trimmed();
    try {
        m_query.open(QStringLiteral("select 用户密码 from tab_user where 工号=") + quoted(workNo));
        const QVariant stored = m_query.value(QStringLiteral("用户密码"));
        m_query.close();
        if (!stored.isNull() && stored.toString().trimmed() != m_oldPassword->text().trimmed()) {
            ShowInformation(QStringLiteral("原始密码错误!"), this);
            m_oldPassword->clear();
            m_newPassword->clear();
            m_repeat->clear();
            m_oldPassword->setFocus();
            return;
        }
        const QString update = QStringLiteral("update tab_user set 用户密码=");
        const QString where = QStringLiteral(" where 工号=") + quoted(workNo);
        if (m_emptyPassword->isChecked()) {
            m_query.exec(update + quoted(QString()) + where);
            ShowInformation(QStringLiteral("密码修改成功！"), this);
            accept();
            return;
        }
        const QString newPassword = m_newPassword->text().trimmed();
        if (!newPassword.isEmpty() && newPassword == m_repeat->text().trimmed()) {
            m_query.exec(update + quoted(newPassword) + where);
            ShowInformation(QStringLiteral("密码修改成功！"), this);
            accept();
            return;
        }
        m_newPassword->clear();
        m_repeat->clear();
        m_newPassword->setFocus();
        ShowInformation(QStringLiteral("输入有误！请重新输入密码"), this);
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
}

void Tfrm_modify_password::CancelClick() {
    try {
        AddOperationLog(CurComputer, CurUserName, CurUserNo,
                        QStringLiteral("工号为：") + m_workNo->text().trimmed() +
                            QStringLiteral(" 放弃修改密码!"),
                        QStringLiteral("重要"), m_query);
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
    reject();
}
