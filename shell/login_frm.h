#pragma once

#include "db/query.h"

#include <QDialog>
#include <QPoint>

class QComboBox;
class QLineEdit;
class QToolButton;
class QLabel;

// The login dialog: the user picks or types a work number, the name follows, and the
// password is checked against tab_user. resultFlag() is 1 after a successful login.
class Tfrm_login : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_login(QWidget* parent = nullptr);
    ~Tfrm_login() override;

    int resultFlag() const { return m_resultFlag; }

    // Whether creating the dialog shows the splash picture first (tests turn it off).
    static void setSplashEnabled(bool enabled);

    // Finds the user of the work-number box and shows the name; tells when none exists.
    void Lookup();
    // Tries the login with the work number and password in the boxes.
    void LoginClick();
    void ExitClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillWorkNumbers();
    bool lookupRow(const QString& workNo, bool tell);

    QComboBox* m_workNoBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QLineEdit* m_passwordBox = nullptr;
    QToolButton* m_loginButton = nullptr;
    QToolButton* m_exitButton = nullptr;
    QToolButton* m_closeMark = nullptr;
    db::Query m_userQuery;

    bool m_haveRow = false;
    QString m_rowWorkNo;
    QString m_rowName;
    QString m_rowPassword;

    int m_resultFlag = 0;
    QPoint m_dragOffset;
};
