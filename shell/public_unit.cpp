#include "shell/public_unit.h"

#include "db/Public_DM.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "shell/message_boxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

#include <cmath>

QString CurUserNo;
QString CurUserName;
QString CurComputer;
QString PurchaseOwnerFilter;
QString SalesOwnerFilter;

namespace {
QPointer<QWidget> g_messageOwner;
}

void ResetLoginState() {
    CurUserNo.clear();
    CurUserName.clear();
    CurComputer.clear();
    PurchaseOwnerFilter.clear();
    SalesOwnerFilter.clear();
}

QString OwnerText(const QString& workNo, const QString& userName) {
    return workNo + QLatin1Char('(') + userName + QLatin1Char(')');
}

void SetMessageOwner(QWidget* owner) {
    g_messageOwner = owner;
}

QWidget* MessageOwner() {
    if (g_messageOwner)
        return g_messageOwner;
    return QApplication::activeWindow();
}

void AddOperationLog(const QString& computer, const QString& operatorName, const QString& workNo,
                     const QString& content, const QString& nature, db::Query& query) {
    using db::quoted;
    query.close();
    const QDateTime now = QDateTime::currentDateTime();
    const QString date = now.date().toString(QStringLiteral("yyyy-MM-dd"));
    const QString time = now.time().toString(QStringLiteral("HH:mm:ss"));
    const QString sql =
        QStringLiteral("insert into tab_rz(日期,时间,操作电脑名,操作员,操作内容,性质,"
                       "工号)values(") +
        quoted(date) + QLatin1Char(',') + quoted(time) + QLatin1Char(',') +
        quoted(computer.trimmed()) + QLatin1Char(',') + quoted(operatorName) + QLatin1Char(',') +
        quoted(content) + QLatin1Char(',') + quoted(nature) + QLatin1Char(',') + quoted(workNo) +
        QLatin1Char(')');
    query.exec(sql);
}

bool HasRight(const QString& workNo, const QString& rightName) {
    using db::quoted;
    db::Query& query = TDM_Public::instance()->ADOQuery1();
    query.close();
    query.open(QStringLiteral("Select ") + rightName +
               QStringLiteral(" From tab_user where 工号=") + quoted(workNo) +
               QStringLiteral(" and ") + rightName + QLatin1Char('=') +
               quoted(QStringLiteral("1")));
    const bool granted = !query.eof();
    query.close();
    return granted;
}

void FillUserCombo(QComboBox* comboBox, db::Query& query) {
    query.close();
    query.open(QStringLiteral("select 工号,用户名称 from tab_user order by 工号 desc "));
    comboBox->clear();
    comboBox->addItem(QString());
    for (; !query.eof(); query.next())
        comboBox->addItem(
            OwnerText(query.text(QStringLiteral("工号")), query.text(QStringLiteral("用户名称"))));
}

QString IncrementDocumentNo(const QString& number) {
    const QString text = number.trimmed();
    bool digitsOnly = !text.isEmpty() && text.size() <= 18;
    for (const QChar c : text)
        digitsOnly = digitsOnly && c.isDigit() && c.unicode() < 128;
    if (digitsOnly)
        return QString::number(text.toULongLong() + 1);
    // Not a plain run of digits: read it as a number the way the platform would, and give
    // the sum in plain decimal notation.
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw db::SqlError(QStringLiteral("'%1' is not a valid floating point value").arg(number));
    return QString::number(value + 1, 'f', 15)
        .remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

QString NewDocumentNo(const QString& tableName, db::Query& query) {
    query.close();
    const QString serverDate = db::dialect().serverDateYmd();
    // The first condition only lets the index skip the earlier days; the second is the rule.
    query.open(QStringLiteral("select  编号 from ") + tableName + QStringLiteral(" where 编号>=") +
               serverDate + QStringLiteral(" and substring(编号,1,8)=") + serverDate +
               QStringLiteral("  order by 编号 desc limit 1"));
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QString highest = query.text(QStringLiteral("编号"));
    if (highest.isEmpty())
        return today + QStringLiteral("0000001");
    if (highest.trimmed().left(8) != today)
        return today + QStringLiteral("0000001");
    return IncrementDocumentNo(highest);
}

QString InsertWithDocumentNo(const QString& tableName, const QString& number,
                             const std::function<QString(const QString&)>& insertStatement,
                             db::Query& query) {
    constexpr int attempts = 50;
    QString current = number;
    for (int attempt = 1;; ++attempt) {
        try {
            query.exec(insertStatement(current));
            return current;
        } catch (const db::SqlError& e) {
            if (attempt >= attempts || !db::dialect().isUniqueViolation(e.message()))
                throw;
        }
        // Two computers that keep drawing in step would keep colliding: wait a moment of
        // random length before drawing again.
        QThread::msleep(QRandomGenerator::global()->bounded(1, 5 + 5 * attempt));
        const QString next = NewDocumentNo(tableName, query);
        // The highest number of the day may still be older than ours if the colliding line
        // is not yet visible; never go backwards.
        current =
            next.size() == current.size() && next <= current ? IncrementDocumentNo(current) : next;
    }
}

QString IfElseStr(bool flag, const QString& a, const QString& b) {
    return flag ? a : b;
}

void NoRightMessage() {
    ShowWarning(QStringLiteral("操作提示"),
                QStringLiteral("对不起,你没有操作此功能的权限,请您联系-系统管理员"));
}

QString MoneyToChinese(double amount) {
    if (amount == 0)
        return QStringLiteral("零");
    static const QString table =
        QStringLiteral("零壹贰叁肆伍陆柒捌玖◇分角圆拾佰仟万拾佰仟亿拾佰仟万");
    auto unit = [](int position) { return QString(table.at(position)); };
    auto digitName = [](QChar c) {
        const int d = c.digitValue();
        return QString(table.at(d < 0 ? 0 : d));
    };
    const QString formatted = QString::number(amount, 'f', 2);
    const qsizetype point = formatted.indexOf(QLatin1Char('.'));
    const QString digits = formatted.left(point);
    const bool small = amount < 1;
    const qsizetype n = digits.size();
    auto isZero = [](QChar c) { return c.digitValue() <= 0; };

    QString integer;
    for (qsizetype i = 1; i <= n; ++i) {
        const QChar d = digits.at(n - i);
        const bool zero = isZero(d);
        const bool zprev = i == 1 ? small : isZero(digits.at(n - i + 1));
        QString digitWord;
        if (!(zero && (zprev || i == 1 || i == 5 || i == 9)))
            digitWord = digitName(d);
        QString unitWord;
        const bool hasUnit = 12 + i < table.size();
        if (!zero) {
            if (hasUnit)
                unitWord = unit(int(12 + i));
        } else if (i == 5 || i == 9) {
            unitWord = unit(int(12 + i));
        } else if (i == 1 && !small) {
            unitWord = unit(13);
        }
        integer.prepend(digitWord + unitWord);
    }

    const QChar f = formatted.at(formatted.size() - 1);
    const QChar j = formatted.at(formatted.size() - 2);
    const QString hundredths = isZero(f) ? QStringLiteral("整") : digitName(f) + unit(11);
    QString tenths;
    if (!isZero(j))
        tenths = digitName(j) + unit(12);
    else if (!isZero(f) && !small)
        tenths = QStringLiteral("零");

    integer.replace(QStringLiteral("亿万"), QStringLiteral("亿"));
    return integer + tenths + hundredths;
}
