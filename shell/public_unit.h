#pragma once

#include <QString>

#include <functional>

class QComboBox;
class QWidget;

namespace db {
class Query;
}

// The login state: set once after the login and read by every screen.
extern QString CurUserNo;
extern QString CurUserName;
extern QString CurComputer;
extern QString PurchaseOwnerFilter;
extern QString SalesOwnerFilter;

// Clears the login state (a new run, or a test starting afresh).
void ResetLoginState();

// The owner text of a user, as written in the owner columns and the user lists:
// "<工号>(<用户名称>)" with no blanks added.
QString OwnerText(const QString& workNo, const QString& userName);

// Appends one row to the operation log, on the query the caller lends. Statement errors
// throw db::SqlError.
void AddOperationLog(const QString& computer, const QString& operatorName, const QString& workNo,
                     const QString& content, const QString& nature, db::Query& query);

// True when the user with this work number holds the right (a tab_user rights column).
bool HasRight(const QString& workNo, const QString& rightName);

// Fills a combo box with an empty item and one "<工号>(<用户名称>)" item per user, highest
// work number first.
void FillUserCombo(QComboBox* comboBox, db::Query& query);

// The next line number of a business table: today's date as yyyymmdd and a 7-digit running
// number of the day. Throws db::SqlError when the highest number of the day is not a number.
QString NewDocumentNo(const QString& tableName, db::Query& query);

// Inserts a new line of a business table under the number drawn for it. Numbers are not
// reserved, so another computer may have written a line under the same number meanwhile; the
// table's unique key refuses the second line, and the next number is drawn and tried again, a
// bounded number of times. insertStatement builds the insert for a given number. Returns the
// number the line was written under; other statement errors throw db::SqlError.
QString InsertWithDocumentNo(const QString& tableName, const QString& number,
                             const std::function<QString(const QString&)>& insertStatement,
                             db::Query& query);

// Adds one to a line number given as decimal text, exactly, without rounding (the running
// number carries into the date digits past 9999999). Throws db::SqlError when the text is not
// a number.
QString IncrementDocumentNo(const QString& number);

QString IfElseStr(bool flag, const QString& a, const QString& b);

// The refusal of a command: a warning box over the main window.
void NoRightMessage();

// An amount of money in Chinese financial capitals (大写): 1005 gives 壹仟零伍圆整.
QString MoneyToChinese(double amount);

// The window that owns the program's message boxes (the main window once it exists).
void SetMessageOwner(QWidget* owner);
QWidget* MessageOwner();
