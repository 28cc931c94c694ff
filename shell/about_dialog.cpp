#include "shell/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("关于 Vantrel"));
    auto* text =
        new QLabel(QStringLiteral("<h2>Vantrel V1.0</h2>"
                                  "<p>进销存管理系统：采购、销售、库存、利润与经营收益。</p>"
                                  "<p>适用于小型商贸企业，单机或多台电脑共享一个数据库。</p>"),
                   this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
