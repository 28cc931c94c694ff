#include "business/report_printing.h"

#include "db/Public_DM.h"
#include "db/query.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/report/report_engine.h"
#include "platform/sys/program_folder.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

report::ReportDataSet readRows(const QString& sql, bool withRows) {
    QSqlQuery query(TDM_Public::database());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw db::SqlError(query.lastError().text(), sql);
    report::ReportDataSet data;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        data.columns << record.fieldName(i);
    while (withRows && query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        data.rows << row;
    }
    return data;
}

void prepare(report::ReportEngine& engine, db::Query& lookupQuery) {
    engine.addDataSet(
        QStringLiteral("company"),
        readRows(QStringLiteral("select 公司名,销售电话,传真,地址 from tab_company_info"), true));
    engine.registerFunction(QStringLiteral("NtoC"), [](const QVariantList& args) {
        return QVariant(MoneyToChinese(args.value(0).toDouble()));
    });
    engine.registerFunction(
        QStringLiteral("getkhaddress"), [&lookupQuery](const QVariantList& args) {
            return QVariant(CustomerAddress(args.value(0).toString(), lookupQuery));
        });
}

} // namespace

QString CustomerAddress(const QString& shortName, db::Query& query) {
    query.open(QStringLiteral("select 通讯地址 from tab_khgl where 客户简称=") +
               db::quoted(shortName.trimmed()) + QStringLiteral(" order by 客户简称 desc "));
    const QString address = query.text(QStringLiteral("通讯地址"));
    query.close();
    return address;
}

bool PreviewReport(QWidget* parent, const QString& layoutFile, const QString& linesSql,
                   db::Query& lookupQuery) {
    report::ReportDataSet lines = readRows(linesSql, true);
    if (lines.rows.isEmpty())
        return false;
    const QString path = sys::programFile(layoutFile);
    if (!QFileInfo::exists(path))
        return false;
    report::ReportEngine engine;
    QString error;
    if (!engine.load(path, &error)) {
        ShowError(error, parent);
        return false;
    }
    engine.setMainData(std::move(lines));
    prepare(engine, lookupQuery);
    engine.showPreview(parent);
    return true;
}

void PrintSelectedLines(QWidget* parent, const QString& table, const DataGrid& grid,
                        const QString& listSql, const QString& flaggedLinesSql,
                        const QString& layoutFile, db::Query& query) {
    query.exec(QStringLiteral("update  ") + table + QStringLiteral(" set 打印标志=0"));
    const QList<int> rows = grid.selectedRows();
    for (int row : rows) {
        auto stored = [&](const char* field) -> QString {
            return db::quoted(grid.value(row, QString::fromUtf8(field)).toString());
        };
        query.exec(QStringLiteral("update  ") + table + QStringLiteral(" set 打印标志=") +
                   db::quoted(QStringLiteral("1")) + QStringLiteral(" where 编号=") +
                   stored("编号") + QStringLiteral(" and 商品编码=") + stored("商品编码") +
                   QStringLiteral(" and 规格=") + stored("规格"));
    }
    const QString linesSql = rows.isEmpty() ? listSql : flaggedLinesSql;
    if (linesSql.isEmpty())
        return;
    PreviewReport(parent, layoutFile, linesSql, query);
}

void DesignReport(QWidget* parent, const QString& layoutFile, const QString& linesSql,
                  db::Query& lookupQuery) {
    ShowInformation(
        QStringLiteral("建议您在设计报表前先备份一份报表文件!\n"
                       "备份方法:将本软件安装目录下面扩展名为[.frf]文件 复制一份起来即可!"),
        parent);
    report::ReportEngine engine;
    const QString path = sys::programFile(layoutFile);
    QString error;
    if (QFileInfo::exists(path) && !engine.load(path, &error)) {
        ShowError(error, parent);
        return;
    }
    engine.setFileName(path);
    engine.setMainData(readRows(linesSql, false));
    prepare(engine, lookupQuery);
    engine.design(parent);
}
