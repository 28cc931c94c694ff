#pragma once

#include "db/query.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The logged-in user changes his own password.
class Tfrm_modify_password : public QDialog {
    Q_OBJECT

public:
    Tfrm_modify_password(const QString& userName, const QString& workNo, QWidget* parent = nullptr);

    void ConfirmClick();
    void CancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void emptyPasswordToggled(bool on);

    QLineEdit* m_userName = nullptr;
    QLineEdit* m_workNo = nullptr;
    QLineEdit* m_oldPassword = nullptr;
    QLineEdit* m_newPassword = nullptr;
    QLineEdit* m_repeat = nullptr;
    QCheckBox* m_emptyPassword = nullptr;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_cancel = nullptr;
    db::Query m_query;
};
