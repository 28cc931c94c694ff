#include "admin/company_info_frm.h"

#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>

const QString Tfrm_reprot::SampleCompanyName = QStringLiteral("XXXX贸易有限公司");
const QString Tfrm_reprot::SampleTelephone = QStringLiteral("010-12345678");
const QString Tfrm_reprot::SampleFax = QStringLiteral("010-12345679");
const QString Tfrm_reprot::SampleAddress = QStringLiteral("XX省XX市XX区XX路XX号");

namespace {

QPixmap bannerPicture() {
    QPixmap picture(420, 56);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, picture.width(), 0);
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    gradient.setColorAt(1, QColor(0x5b, 0x9b, 0xd5));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPointSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect().adjusted(16, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("公司基础信息"));
    return picture;
}

} // namespace

Tfrm_reprot::Tfrm_reprot(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Tfrm_reprot"));
    setWindowTitle(QStringLiteral("公司信息设置"));

    auto* banner = new QLabel(this);
    banner->setPixmap(bannerPicture());

    auto edit = [this](const char* name, const QString& text) {
        auto* e = new QLineEdit(text, this);
        e->setObjectName(QLatin1String(name));
        e->setMinimumWidth(300);
        return e;
    };
    m_companyName = edit("companyNameEdit", SampleCompanyName);
    m_salesPhone = edit("salesPhoneEdit", SampleTelephone);
    m_fax = edit("faxEdit", SampleFax);
    m_address = edit("addressEdit", SampleAddress);
    m_ok = new QPushButton(QStringLiteral("确 定"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取 消"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("公司名称："), m_companyName);
    form->addRow(QStringLiteral("销售电话："), m_salesPhone);
    form->addRow(QStringLiteral("传    真："), m_fax);
    form->addRow(QStringLiteral("联系地址："), m_address);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(banner);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 8, 16, 0);
    body->addLayout(form);
    body->addLayout(buttons);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &Tfrm_reprot::OkClick);
    connect(m_cancel, &QPushButton::clicked, this, &Tfrm_reprot::CancelClick);

    m_query.open(QStringLiteral("select 公司名,销售电话,传真,地址 from tab_company_info"));
    if (!m_query.eof()) {
        m_companyName->setText(m_query.text(QStringLiteral("公司名")));
        m_salesPhone->setText(m_query.text(QStringLiteral("销售电话")));
        m_fax->setText(m_query.text(QStringLiteral("传真")));
        m_address->setText(m_query.text(QStringLiteral("地址")));
    }
    m_query.close();
}

void Tfrm_reprot::OkClick() {
    using db::quoted;
    const QString name = m_companyName->text().trimmed();
    const QString phone = m_salesPhone->text().trimmed();
    if (!name.isEmpty() && !phone.isEmpty()) {
        // The old row is replaced in one transaction, so a failed save keeps it.
        QSqlDatabase db = TDM_Public::database();
        const bool inTransaction = db.transaction();
        try {
            m_query.exec(QStringLiteral("delete from tab_company_info"));
            m_query.exec(
                QStringLiteral("insert into tab_company_info(公司名,销售电话,传真,地址)values(") +
                quoted(name) + QLatin1Char(',') + quoted(phone) + QLatin1Char(',') +
                quoted(m_fax->text().trimmed()) + QLatin1Char(',') +
                quoted(m_address->text().trimmed()) + QLatin1Char(')'));
            if (inTransaction && !db.commit())
                throw db::SqlError(db.lastError().text());
        } catch (const db::SqlError& e) {
            if (inTransaction)
                db.rollback();
            ShowError(e.message(), this);
            return;
        }
        try {
            AddOperationLog(CurComputer, CurUserName, CurUserNo,
                            QStringLiteral("修改了公司的基础资料信息"), QStringLiteral("重要"),
                            m_query);
        } catch (const db::SqlError& e) {
            ShowError(e.message(), this);
        }
    }
    accept();
}

void Tfrm_reprot::CancelClick() {
    try {
        AddOperationLog(CurComputer, CurUserName, CurUserNo,
                        QStringLiteral("取消修改公司的基础资料操作"), QStringLiteral("一般"),
                        m_query);
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
    reject();
}
