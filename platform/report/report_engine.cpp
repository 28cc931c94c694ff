#include "platform/report/report_engine.h"

#include "platform/report/report_designer.h"
#include "platform/report/report_preview.h"

namespace report {

bool ReportEngine::load(const QString& path, QString* error) {
    ReportLayout layout;
    if (!layout.load(path, error))
        return false;
    m_layout = layout;
    m_fileName = path;
    return true;
}

void ReportEngine::addDataSet(const QString& name, ReportDataSet data) {
    for (NamedDataSet& set : m_extras) {
        if (set.name == name) {
            set.data = std::move(data);
            return;
        }
    }
    m_extras.append(NamedDataSet{name, std::move(data)});
}

void ReportEngine::registerFunction(const QString& name, ReportFunction function) {
    m_functions.insert(name.toLower(), std::move(function));
}

QStringList ReportEngine::fieldNames() const {
    QStringList names = m_main.columns;
    for (const NamedDataSet& set : m_extras)
        for (const QString& column : set.data.columns)
            names.append(set.name + QLatin1Char('.') + column);
    return names;
}

RenderedReport ReportEngine::render() const {
    RenderedReport report = renderReport(m_layout, m_main, m_extras, m_functions);
    m_errors = report.errors;
    return report;
}

bool ReportEngine::exportPdf(const QString& fileName, QString* error) const {
    return writePdf(render(), fileName, error);
}

void ReportEngine::showPreview(QWidget* parent) {
    ReportPreview preview(this, parent);
    preview.exec();
}

bool ReportEngine::design(QWidget* parent) {
    ReportDesigner designer(m_layout, m_fileName, parent);
    designer.setFieldNames(fieldNames());
    designer.exec();
    if (!designer.savedOnce())
        return false;
    m_layout = designer.savedLayout();
    m_fileName = designer.fileName();
    return true;
}

} // namespace report
