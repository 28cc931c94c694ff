#include "platform/grid/grid_export.h"
#include "platform/widgets/number_text.h"

#include "platform/grid/data_grid.h"
#include "platform/grid/xls_writer.h"

#include <QFile>

namespace {

class TextSink {
public:
    explicit TextSink(const QString& fileName)
        : m_file(fileName) {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            fail();
        }
    }
    void write(const QString& text) {
        m_buffer.append(text.toUtf8());
        if (m_buffer.size() > (1 << 20)) {
            flush();
        }
    }
    void writeBytes(const QByteArray& bytes) {
        m_buffer.append(bytes);
        if (m_buffer.size() > (1 << 20)) {
            flush();
        }
    }
    void close() {
        flush();
        m_file.close();
        if (m_file.error() != QFile::NoError) {
            fail();
        }
    }

private:
    void flush() {
        if (!m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size()) {
            fail();
        }
        m_buffer.clear();
    }
    [[noreturn]] void fail() {
        throw GridExportError("cannot write " + m_file.fileName().toStdString() + ": " +
                              m_file.errorString().toStdString());
    }

    QFile m_file;
    QByteArray m_buffer;
};

bool isNumeric(const QVariant& v) {
    return hasNumberType(v) && !v.isNull();
}

// Tab-separated UTF-8; tabs and line breaks inside a value become spaces.
void writeText(const ExportTable& t, const QString& fileName) {
    TextSink out(fileName);
    auto clean = [](QString s) {
        for (QChar& c : s) {
            if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                c = QLatin1Char(' ');
            }
        }
        return s;
    };
    const auto columns = static_cast<int>(t.titles.size());
    QString line;
    for (int c = 0; c < columns; ++c) {
        line += (c ? QStringLiteral("\t") : QString()) + clean(t.titles.at(c));
    }
    out.write(line + QStringLiteral("\r\n"));
    for (int r = 0; r < t.rowCount; ++r) {
        line.clear();
        for (int c = 0; c < columns; ++c) {
            if (c) {
                line += QLatin1Char('\t');
            }
            line += clean(t.text(r, c));
        }
        out.write(line + QStringLiteral("\r\n"));
    }
    out.close();
}

// RFC 4180: comma-separated, CRLF, fields with a comma, quote or line break in double quotes
// with inner quotes doubled; UTF-8 with a byte order mark so that spreadsheets read Chinese.
void writeCsv(const ExportTable& t, const QString& fileName) {
    TextSink out(fileName);
    out.writeBytes(QByteArray("\xEF\xBB\xBF"));
    auto field = [](const QString& s) -> QString {
        if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) &&
            !s.contains(QLatin1Char('\n')) && !s.contains(QLatin1Char('\r'))) {
            return s;
        }
        QString quoted = s;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    };
    const auto columns = static_cast<int>(t.titles.size());
    QString line;
    for (int c = 0; c < columns; ++c) {
        line += (c ? QStringLiteral(",") : QString()) + field(t.titles.at(c));
    }
    out.write(line + QStringLiteral("\r\n"));
    for (int r = 0; r < t.rowCount; ++r) {
        line.clear();
        for (int c = 0; c < columns; ++c) {
            if (c) {
                line += QLatin1Char(',');
            }
            line += field(t.text(r, c));
        }
        out.write(line + QStringLiteral("\r\n"));
    }
    out.close();
}

QString htmlEscaped(const QString& s) {
    QString e = s.toHtmlEscaped(); // & < > "
    e.replace(QLatin1Char('\''), QStringLiteral("&#39;"));
    e.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    e.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return e;
}

void writeHtml(const ExportTable& t, const QString& fileName) {
    TextSink out(fileName);
    out.write(QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                             "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=utf-8\">\n<title></title>\n</head>\n<body>\n"
                             "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n"
                             "<thead>\n<tr>"));
    const auto columns = static_cast<int>(t.titles.size());
    QString line;
    for (int c = 0; c < columns; ++c) {
        line += QStringLiteral("<th>") + htmlEscaped(t.titles.at(c)) + QStringLiteral("</th>");
    }
    out.write(line + QStringLiteral("</tr>\n</thead>\n<tbody>\n"));
    for (int r = 0; r < t.rowCount; ++r) {
        line = QStringLiteral("<tr>");
        for (int c = 0; c < columns; ++c) {
            line += isNumeric(t.value(r, c)) ? QStringLiteral("<td align=\"right\">")
                                             : QStringLiteral("<td>");
            line += htmlEscaped(t.text(r, c)) + QStringLiteral("</td>");
        }
        out.write(line + QStringLiteral("</tr>\n"));
    }
    out.write(QStringLiteral("</tbody>\n</table>\n</body>\n</html>\n"));
    out.close();
}

// RTF is 7-bit: other characters as \uN? (N the signed 16-bit code unit, '?' the fallback).
QByteArray rtfEscaped(const QString& s) {
    QByteArray b;
    b.reserve(s.size() * 2);
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s.at(i).unicode();
        if (u == '\\' || u == '{' || u == '}') {
            b.append('\\');
            b.append(static_cast<char>(u));
        } else if (u == '\n') {
            b.append("\\line ");
        } else if (u == '\r') {
            continue;
        } else if (u == '\t') {
            b.append("\\tab ");
        } else if (u >= 0x20 && u < 0x80) {
            b.append(static_cast<char>(u));
        } else if (u < 0x20) {
            continue;
        } else {
            b.append("\\u");
            b.append(QByteArray::number(static_cast<qint16>(u)));
            b.append('?');
        }
    }
    return b;
}

void writeRtf(const ExportTable& t, const QString& fileName) {
    TextSink out(fileName);
    out.writeBytes("{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1"
                   "{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\n\\f0\\fs18\n");
    const auto columns = static_cast<int>(t.titles.size());
    QByteArray rowDefinition("\\trowd\\trgaph60\\trleft0");
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        const int pixels = c < t.widths.size() && t.widths.at(c) > 0 ? t.widths.at(c) : 100;
        right += pixels * 15; // twips at 96 dpi
        rowDefinition += "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx" +
                         QByteArray::number(right);
    }
    rowDefinition += '\n';
    QByteArray line;
    line = rowDefinition + "\\pard\\intbl\\b ";
    for (int c = 0; c < columns; ++c) {
        line += rtfEscaped(t.titles.at(c)) + "\\cell ";
    }
    line += "\\b0\\row\n";
    out.writeBytes(line);
    for (int r = 0; r < t.rowCount; ++r) {
        line = rowDefinition + "\\pard\\intbl ";
        for (int c = 0; c < columns; ++c) {
            if (isNumeric(t.value(r, c))) {
                line += "\\qr ";
            } else {
                line += "\\ql ";
            }
            line += rtfEscaped(t.text(r, c)) + "\\cell ";
        }
        line += "\\row\n";
        out.writeBytes(line);
    }
    out.writeBytes("\\pard\n}\n");
    out.close();
}

} // namespace

QString exportFilters() {
    return QStringLiteral("Microsoft Excel 文件(*.xls)|*.XLS|文本文件(*.txt)|*.TXT|"
                          "Csv文件(*.csv)|*.Csv|HTML文件(*.htm)|*.htm|RTF文件(*.rtf)|*.RTF");
}

std::optional<ExportFormat> exportFormatFromFilterIndex(int index) {
    if (index < 1 || index > 5) {
        return std::nullopt;
    }
    return static_cast<ExportFormat>(index);
}

ExportTable exportTableOf(const DataGrid& grid, ExportScope scope) {
    const std::vector<int> columns = grid.visibleColumns();
    QList<int> rows;
    bool allRows = scope == ExportScope::AllRows;
    if (!allRows) {
        rows = grid.selectedRows();
        allRows = scope == ExportScope::SelectedOrAll && rows.isEmpty();
    }
    ExportTable table;
    for (int c : columns) {
        table.titles.append(grid.columns()[static_cast<size_t>(c)].title);
        table.widths.append(grid.columnWidth(c));
    }
    table.rowCount = allRows ? grid.rowCount() : static_cast<int>(rows.size());
    const GridModel* model = grid.gridModel();
    auto gridRow = [allRows, rows](int r) { return allRows ? r : rows.at(r); };
    table.value = [model, columns, gridRow](int r, int c) {
        return model->value(gridRow(r), columns[static_cast<size_t>(c)]);
    };
    table.text = [model, columns, gridRow](int r, int c) {
        return model->cellText(gridRow(r), columns[static_cast<size_t>(c)]);
    };
    return table;
}

void writeExport(const ExportTable& table, const QString& fileName, ExportFormat format) {
    switch (format) {
    case ExportFormat::Excel:
        writeXlsWorkbook(table, fileName);
        break;
    case ExportFormat::Text:
        writeText(table, fileName);
        break;
    case ExportFormat::Csv:
        writeCsv(table, fileName);
        break;
    case ExportFormat::Html:
        writeHtml(table, fileName);
        break;
    case ExportFormat::Rtf:
        writeRtf(table, fileName);
        break;
    }
}

void exportGrid(const DataGrid& grid, const QString& fileName, ExportFormat format,
                ExportScope scope) {
    writeExport(exportTableOf(grid, scope), fileName, format);
}
