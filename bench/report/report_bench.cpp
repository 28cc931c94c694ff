// Times the preview of a 2,000-line document: loading the layout, rendering every page,
// painting every page at 100 % as the preview does, and opening the preview window.
//
//   report_bench [--lines N] [--pdf-dir DIR]
// With --pdf-dir, also writes every shipped layout over sample data to DIR/<layout>.pdf, for
// looking at them (pdftoppm -png -r 60).

#include "platform/report/report_engine.h"
#include "platform/report/report_preview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

using namespace report;

namespace {

ReportDataSet companyRow() {
    return {
        {"公司名", "销售电话", "传真", "地址"},
        {{"华联五金商行", "0571-88886666", "0571-88887777", "杭州市西湖区文三路100号华星大厦5楼"}}};
}

// One line in the middle of a document has a very long name and specification, to show its
// row growing to fit them.
ReportDataSet lines(int count, bool sales, bool longLine = false) {
    ReportDataSet data;
    const QString price = sales ? "出货单价" : "进货单价";
    const QString qty = sales ? "出货数量" : "进货数量";
    data.columns = QStringList{"编号",
                               "商品大类",
                               "商品名称",
                               "规格",
                               "商品编码",
                               price,
                               qty,
                               "合计",
                               sales ? "出货日期" : "进货日期",
                               sales ? "客户" : "供货商",
                               sales ? "出货人" : "进货人",
                               "备注",
                               "类型"};
    if (sales)
        data.columns.append("欠款金额");
    const QStringList names = {"不锈钢螺丝", "六角扳手", "电工胶布", "镀锌水管", "铜芯电线"};
    for (int i = 0; i < count; ++i) {
        const double unit = 2.5 + (i % 7) * 1.25;
        const double q = 1 + i % 12;
        QVariantList row{1000 + i,
                         "五金",
                         names[i % names.size()],
                         QString("M%1×%2").arg(4 + i % 5).arg(20 + i % 30),
                         QString("WJ%1").arg(i + 1, 5, 10, QLatin1Char('0')),
                         unit,
                         q,
                         unit * q,
                         "2007-08-15",
                         sales ? "张三建材" : "大发五金厂",
                         "888(系统管理员)",
                         i % 3 == 0 ? "常规补货" : "",
                         sales ? "销售出库" : "采购入库"};
        if (sales)
            row.append(i % 4 == 0 ? unit * q : 0.0);
        if (longLine && i == count / 2) {
            row[2] =
                "加厚型不锈钢内六角圆柱头螺丝带弹簧垫圈和平垫圈组合套装特级防锈处理工业专用加长版";
            row[3] = "M8×30 304不锈钢 全牙 国标GB70.1 每盒100只";
        }
        data.rows.append(row);
    }
    return data;
}

ReportDataSet stock() {
    ReportDataSet data;
    data.columns =
        QStringList{"商品大类",   "商品名称",     "规格",         "商品编码",   "库存数量",
                    "进货数量",   "采购进货数",   "采购退货数量", "采购退货数", "销售数量",
                    "销售出货数", "销售退货数量", "销售退货数"};
    for (int i = 0; i < 30; ++i)
        data.rows.append({"五金", QString("不锈钢螺丝%1号").arg(i + 1),
                          QString("M%1").arg(4 + i % 6),
                          QString("LS%1").arg(i + 1, 3, 10, QLatin1Char('0')), 10.0 - i % 4 * 3,
                          20.0 + i, 5.0, 2.0, 1.0, 8.0 + i % 3, 3.0, 1.0, 0.0});
    return data;
}

void registerFunctions(ReportEngine& engine) {
    engine.registerFunction("NtoC", [](const QVariantList&) { return QVariant("壹仟零伍圆整"); });
    engine.registerFunction("getkhaddress", [](const QVariantList& a) {
        return QVariant(a.value(0).toString() + "所在地：佛山市南海区工业大道8号");
    });
    engine.registerFunction("getgridcaption", [](const QVariantList& a) {
        return QVariant("2007年" + a.value(0).toString());
    });
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTextStream out(stdout);
    int count = 2000;
    QString pdfDir;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--lines")
            count = args[i + 1].toInt();
        else if (args[i] == "--pdf-dir")
            pdfDir = args[i + 1];
    }
    const QString dir = QStringLiteral(REPORT_LAYOUT_DIR);

    QElapsedTimer timer;
    timer.start();
    ReportEngine engine;
    QString error;
    if (!engine.load(dir + "/printreport.frf", &error)) {
        out << error << Qt::endl;
        return 1;
    }
    engine.setMainData(lines(count, true));
    engine.addDataSet("company", companyRow());
    registerFunctions(engine);
    const qint64 loaded = timer.nsecsElapsed();
    const RenderedReport report = engine.render();
    const qint64 rendered = timer.nsecsElapsed();
    // Paint every page at 100 % (96 dpi) as the preview shows them.
    const double dpi = 96.0;
    for (const RenderedPage& page : report.pages) {
        QImage image(qRound(report.pageSizeMm.width() / 25.4 * dpi),
                     qRound(report.pageSizeMm.height() / 25.4 * dpi),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        paintPage(painter, page);
    }
    const qint64 painted = timer.nsecsElapsed();
    out << QString(
               "%1 lines, %2 pages: load %3 ms, render %4 ms, paint all pages %5 ms, total %6 ms")
               .arg(count)
               .arg(report.pages.size())
               .arg(loaded / 1e6, 0, 'f', 1)
               .arg((rendered - loaded) / 1e6, 0, 'f', 1)
               .arg((painted - rendered) / 1e6, 0, 'f', 1)
               .arg(painted / 1e6, 0, 'f', 1)
        << Qt::endl;
    // The preview window as a screen opens it: render, then show the first page.
    timer.restart();
    {
        ReportPreview preview(&engine);
        if (preview.pageCount() != report.pages.size())
            return 1;
    }
    out << QString("preview window ready in %1 ms").arg(timer.nsecsElapsed() / 1e6, 0, 'f', 1)
        << Qt::endl;
    if (!report.errors.isEmpty())
        out << "errors: " << report.errors.join("; ") << Qt::endl;

    if (!pdfDir.isEmpty()) {
        const QStringList purchase = {"inputreport.frf", "cgjh_report.frf",
                                      "return_inputreport.frf", "return_cgjh_report.frf"};
        const QStringList sales = {"sell_report.frf", "printreport.frf", "return_report.frf",
                                   "return_printreport.frf"};
        for (const QString& name : purchase + sales + QStringList{"kcbb.frf"}) {
            ReportEngine e;
            if (!e.load(dir + "/" + name, &error)) {
                out << error << Qt::endl;
                return 1;
            }
            const bool document = name.contains("cgjh") || name.contains("printreport");
            if (name == "kcbb.frf")
                e.setMainData(stock());
            else
                e.setMainData(lines(document ? 8 : 40, sales.contains(name), document));
            e.addDataSet("company", companyRow());
            registerFunctions(e);
            if (!e.exportPdf(pdfDir + "/" + QString(name).replace(".frf", ".pdf"), &error)) {
                out << error << Qt::endl;
                return 1;
            }
            if (!e.errors().isEmpty())
                out << name << ": " << e.errors().join("; ") << Qt::endl;
        }
    }
    return 0;
}
