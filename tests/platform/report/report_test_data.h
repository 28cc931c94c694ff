#pragma once

// Small data sets and helpers shared by the report tests.

#include "platform/report/report_engine.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

namespace report_test {

inline QString layoutPath(const QString& name) {
    return QStringLiteral(REPORT_LAYOUT_DIR "/") + name;
}

inline report::ReportDataSet companyRow() {
    return {{QStringLiteral("公司名"), QStringLiteral("销售电话"), QStringLiteral("传真"),
             QStringLiteral("地址")},
            {{QStringLiteral("华联五金商行"), QStringLiteral("0571-88886666"),
              QStringLiteral("0571-88887777"), QStringLiteral("杭州市文三路100号")}}};
}

// Purchase lines: row i has quantity i + 1 at price 10, so the amounts are 10, 20, 30 ...
inline report::ReportDataSet purchaseLines(int count,
                                           const QString& kind = QStringLiteral("采购入库")) {
    report::ReportDataSet data;
    data.columns = QStringList{
        QStringLiteral("编号"),     QStringLiteral("商品大类"), QStringLiteral("商品名称"),
        QStringLiteral("规格"),     QStringLiteral("商品编码"), QStringLiteral("进货单价"),
        QStringLiteral("进货数量"), QStringLiteral("合计"),     QStringLiteral("进货日期"),
        QStringLiteral("供货商"),   QStringLiteral("进货人"),   QStringLiteral("备注"),
        QStringLiteral("类型")};
    for (int i = 0; i < count; ++i) {
        data.rows.append({1000 + i, QStringLiteral("五金"), QStringLiteral("螺丝%1号").arg(i + 1),
                          QStringLiteral("M%1").arg(i + 4),
                          QStringLiteral("LS%1").arg(i + 1, 3, 10, QLatin1Char('0')), 10.0,
                          double(i + 1), 10.0 * (i + 1), QStringLiteral("2007-08-15"),
                          QStringLiteral("大发五金厂"), QStringLiteral("888(系统管理员)"),
                          QString(), kind});
    }
    return data;
}

inline report::ReportDataSet salesLines(int count,
                                        const QString& kind = QStringLiteral("销售出库")) {
    report::ReportDataSet data;
    data.columns = QStringList{
        QStringLiteral("编号"),     QStringLiteral("商品大类"), QStringLiteral("商品名称"),
        QStringLiteral("规格"),     QStringLiteral("商品编码"), QStringLiteral("出货单价"),
        QStringLiteral("出货数量"), QStringLiteral("合计"),     QStringLiteral("出货日期"),
        QStringLiteral("客户"),     QStringLiteral("出货人"),   QStringLiteral("备注"),
        QStringLiteral("类型"),     QStringLiteral("欠款金额")};
    for (int i = 0; i < count; ++i) {
        data.rows.append({2000 + i, QStringLiteral("五金"), QStringLiteral("扳手%1号").arg(i + 1),
                          QStringLiteral("%1寸").arg(i + 6),
                          QStringLiteral("BS%1").arg(i + 1, 3, 10, QLatin1Char('0')), 25.5,
                          double(i + 1), 25.5 * (i + 1), QStringLiteral("2007-08-16"),
                          QStringLiteral("张三建材"), QStringLiteral("888(系统管理员)"),
                          QStringLiteral("急"), kind, 0.0});
    }
    return data;
}

// A stand-in for the amount in capitals: fixed answers for the totals the tests use.
inline QVariant capitalsOf(const QVariantList& args) {
    const double amount = args.value(0).toDouble();
    if (amount == 1005)
        return QStringLiteral("壹仟零伍圆整");
    if (amount == 60)
        return QStringLiteral("陆拾圆整");
    if (amount == 153)
        return QStringLiteral("壹佰伍拾叁圆整");
    return QStringLiteral("（未知金额 %1）").arg(amount);
}

inline QVariant addressOf(const QVariantList& args) {
    const QString name = args.value(0).toString().trimmed();
    if (name == QStringLiteral("大发五金厂"))
        return QStringLiteral("佛山市南海区工业大道8号");
    if (name == QStringLiteral("张三建材"))
        return QStringLiteral("杭州市莫干山路66号");
    return QString();
}

inline bool havePdfToText() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of a PDF file, pages separated by form feeds.
inline QString pdfText(const QString& file) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), file,
                   QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace report_test
