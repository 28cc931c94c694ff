#pragma once

// The report engine as the screens use it: load a layout file, hand over the data and the user
// functions, then preview, print, export to PDF or open the designer.
//
//   report::ReportEngine engine;
//   QString error;
//   if (!engine.load(dir + "/printreport.frf", &error)) { ... }
//   engine.setMainData(lines);                    // the rows to print
//   engine.addDataSet("company", companyRow);     // [公司名] or [company.公司名]
//   engine.registerFunction("NtoC", [](const QVariantList& a) { ... });
//   engine.showPreview(this);

#include "platform/report/report_layout.h"
#include "platform/report/report_renderer.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace report {

class ReportEngine {
public:
    // Reads the layout file; on failure keeps the previous layout and names file and place.
    bool load(const QString& path, QString* error);
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& path) { m_fileName = path; }
    const ReportLayout& layout() const { return m_layout; }
    void setLayout(const ReportLayout& layout) { m_layout = layout; }

    void setMainData(ReportDataSet data) { m_main = std::move(data); }
    const ReportDataSet& mainData() const { return m_main; }
    // Adds or replaces an extra data set; its first row is what expressions read.
    void addDataSet(const QString& name, ReportDataSet data);
    const QList<NamedDataSet>& dataSets() const { return m_extras; }
    // Registers a function by name; calls match in any letter case.
    void registerFunction(const QString& name, ReportFunction function);
    const FunctionTable& functions() const { return m_functions; }
    // Every field a layout may use: the main data's columns, then "set.field" of each extra set.
    QStringList fieldNames() const;

    RenderedReport render() const;
    // The expression errors of the last render().
    const QStringList& errors() const { return m_errors; }

    bool exportPdf(const QString& fileName, QString* error) const;
    // The preview window, modal.
    void showPreview(QWidget* parent);
    // The designer, modal; it saves to fileName(). Returns true when the layout was saved
    // (the engine then holds the saved layout).
    bool design(QWidget* parent);

private:
    QString m_fileName;
    ReportLayout m_layout;
    ReportDataSet m_main;
    QList<NamedDataSet> m_extras;
    FunctionTable m_functions;
    mutable QStringList m_errors;
};

} // namespace report
