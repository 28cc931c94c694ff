#pragma once

#include "db/query.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The company's own details printed on the purchase and sales forms: one row of
// tab_company_info.
class Tfrm_reprot : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_reprot(QWidget* parent = nullptr);

    void OkClick();
    void CancelClick();

    static const QString SampleCompanyName;
    static const QString SampleTelephone;
    static const QString SampleFax;
    static const QString SampleAddress;

private:
    QLineEdit* m_companyName = nullptr;
    QLineEdit* m_salesPhone = nullptr;
    QLineEdit* m_fax = nullptr;
    QLineEdit* m_address = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    db::Query m_query;
};
