#include "platform/grid/xls_writer.h"
#include "platform/widgets/number_text.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cstring>
#include <vector>

// BIFF8 records and the compound file (CFB version 3, 512-byte sectors) around the
// "Workbook" stream. Only what a reader needs: globals with fonts, cell formats, sheet list
// and shared strings; per sheet dimensions, window and the cells (LABELSST / NUMBER).

namespace {

constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kWindow2 = 0x023E;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kNumber = 0x0203;

constexpr int kMaxRecordData = 8224;
constexpr int kMaxColumns = 256;
constexpr quint16 kCellXf = 15;

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kSectorSize = 512;

constexpr quint32 kEmptyCell = 0xFFFFFFFF;
constexpr quint32 kNumberCell = 0xFFFFFFFE;

void put8(QByteArray& b, quint8 v) {
    b.append(static_cast<char>(v));
}
void put16(QByteArray& b, quint16 v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>(v >> 8));
}
void put32(QByteArray& b, quint32 v) {
    put16(b, static_cast<quint16>(v & 0xFFFF));
    put16(b, static_cast<quint16>(v >> 16));
}
void putDouble(QByteArray& b, double v) {
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    put32(b, static_cast<quint32>(bits & 0xFFFFFFFFu));
    put32(b, static_cast<quint32>(bits >> 32));
}
void record(QByteArray& out, quint16 type, const QByteArray& body) {
    put16(out, type);
    put16(out, static_cast<quint16>(body.size()));
    out.append(body);
}
void set32(QByteArray& b, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

bool isWide(const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() > 0xFF; });
}

void putChars(QByteArray& b, const QString& s, qsizetype from, qsizetype count, bool wide) {
    for (qsizetype i = from; i < from + count; ++i) {
        const quint16 u = s.at(i).unicode();
        if (wide) {
            put16(b, u);
        } else {
            put8(b, static_cast<quint8>(u));
        }
    }
}

QByteArray bof(quint16 kind) {
    QByteArray b;
    put16(b, 0x0600); // BIFF8
    put16(b, kind);   // 0x0005 globals, 0x0010 worksheet
    put16(b, 0x0DBB); // build
    put16(b, 0x07CC); // year
    put32(b, 0);
    put32(b, 0x00000006);
    return b;
}

QByteArray font() {
    QByteArray b;
    put16(b, 200);    // 10 pt
    put16(b, 0);      // attributes
    put16(b, 0x7FFF); // automatic colour
    put16(b, 400);    // normal weight
    put16(b, 0);      // no super/subscript
    put8(b, 0);       // no underline
    put8(b, 0);       // family
    put8(b, 0x86);    // GB2312 character set
    put8(b, 0);
    const QString name = QStringLiteral("Arial");
    put8(b, static_cast<quint8>(name.size()));
    put8(b, 0);
    putChars(b, name, 0, name.size(), false);
    return b;
}

QByteArray xf(bool style) {
    QByteArray b;
    put16(b, 0);                       // font
    put16(b, 0);                       // General
    put16(b, style ? 0xFFF5 : 0x0001); // style XF / cell XF locked, parent 0
    put8(b, 0x20);                     // bottom aligned
    put8(b, 0);                        // rotation
    put8(b, 0);                        // indent
    put8(b, style ? 0x00 : 0xF8);      // attributes used
    put32(b, 0);                       // borders
    put32(b, 0);
    put16(b, 0x20C0); // pattern colours: automatic
    return b;
}

// Shared string table split into SST and CONTINUE records.
class SstWriter {
public:
    explicit SstWriter(QByteArray& out)
        : m_out(out) {}

    void begin(quint32 total, quint32 unique) {
        m_type = kSst;
        put32(m_body, total);
        put32(m_body, unique);
    }

    void add(QString s) {
        if (s.size() > 32767) {
            s.truncate(32767);
        }
        const bool wide = isWide(s);
        const int unit = wide ? 2 : 1;
        // The string's header and its first character stay together.
        if (m_body.size() + 3 + (s.isEmpty() ? 0 : unit) > kMaxRecordData) {
            flush();
        }
        put16(m_body, static_cast<quint16>(s.size()));
        put8(m_body, wide ? 0x01 : 0x00);
        qsizetype pos = 0;
        while (pos < s.size()) {
            const qsizetype room = (kMaxRecordData - m_body.size()) / unit;
            if (room == 0) {
                flush();
                put8(m_body, wide ? 0x01 : 0x00); // a continued string repeats its width flag
                continue;
            }
            const qsizetype take = std::min(room, s.size() - pos);
            putChars(m_body, s, pos, take, wide);
            pos += take;
        }
    }

    void end() {
        record(m_out, m_type, m_body);
        m_body.clear();
    }

private:
    void flush() {
        record(m_out, m_type, m_body);
        m_body.clear();
        m_type = kContinue;
    }

    QByteArray& m_out;
    QByteArray m_body;
    quint16 m_type = kSst;
};

class CellPlan {
public:
    // Per cell: index into the shared strings, kNumberCell or kEmptyCell.
    std::vector<quint32> refs;
    std::vector<double> numbers;
    std::vector<QString> strings;
    quint32 total = 0;
};

bool isNumeric(const QVariant& v) {
    return hasNumberType(v) && !v.isNull();
}

class FileSink {
public:
    explicit FileSink(QFile& file)
        : m_file(file) {}
    void write(const QByteArray& data) {
        m_buffer.append(data);
        if (m_buffer.size() > (1 << 20)) {
            flush();
        }
    }
    void flush() {
        if (!m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size()) {
            throw GridExportError("cannot write " + m_file.fileName().toStdString() + ": " +
                                  m_file.errorString().toStdString());
        }
        m_buffer.clear();
    }

private:
    QFile& m_file;
    QByteArray m_buffer;
};

QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 start,
                          quint32 size) {
    QByteArray b;
    for (int i = 0; i < 32; ++i) {
        put16(b, i < name.size() ? name.at(i).unicode() : 0);
    }
    put16(b, name.isEmpty() ? 0 : static_cast<quint16>((name.size() + 1) * 2));
    put8(b, type);
    put8(b, name.isEmpty() ? 0 : 1); // black
    put32(b, kNoStream);             // left sibling
    put32(b, kNoStream);             // right sibling
    put32(b, child);
    b.append(QByteArray(16 + 4 + 8 + 8, '\0')); // class id, state, times
    put32(b, start);
    put32(b, size);
    put32(b, 0);
    return b;
}

} // namespace

void writeXlsWorkbook(const ExportTable& table, const QString& fileName) {
    const int columns = std::min<int>(static_cast<int>(table.titles.size()), kMaxColumns);
    const int rows = table.rowCount;
    const int sheets = std::max(1, (rows + kXlsDataRowsPerSheet - 1) / kXlsDataRowsPerSheet);

    // Pass 1: classify every cell and collect the distinct strings.
    CellPlan plan;
    QHash<QString, quint32> stringIndex;
    auto stringRef = [&](const QString& s) {
        ++plan.total;
        auto it = stringIndex.constFind(s);
        if (it != stringIndex.constEnd()) {
            return it.value();
        }
        const auto id = static_cast<quint32>(plan.strings.size());
        plan.strings.push_back(s);
        stringIndex.insert(s, id);
        return id;
    };
    std::vector<quint32> titleRefs;
    for (int c = 0; c < columns; ++c) {
        titleRefs.push_back(stringRef(table.titles.at(c)));
    }
    plan.refs.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const size_t at =
                static_cast<size_t>(r) * static_cast<size_t>(columns) + static_cast<size_t>(c);
            const QVariant v = table.value(r, c);
            if (isNumeric(v)) {
                plan.refs[at] = kNumberCell;
                plan.numbers.push_back(v.toDouble());
                continue;
            }
            const QString text = table.text(r, c);
            plan.refs[at] = text.isEmpty() ? kEmptyCell : stringRef(text);
        }
    }
    stringIndex.clear();

    // Workbook globals.
    QByteArray globals;
    record(globals, kBof, bof(0x0005));
    {
        QByteArray b;
        put16(b, 1200); // UTF-16
        record(globals, kCodePage, b);
    }
    {
        QByteArray b;
        put16(b, 0);
        put16(b, 0);
        put16(b, 0x4000);
        put16(b, 0x2000);
        put16(b, 0x0038);
        put16(b, 0); // active sheet
        put16(b, 0); // first visible tab
        put16(b, 1); // selected tabs
        put16(b, 0x0258);
        record(globals, kWindow1, b);
    }
    for (int i = 0; i < 5; ++i) { // font 4 is never referenced by convention
        record(globals, kFont, font());
    }
    for (int i = 0; i < 15; ++i) {
        record(globals, kXf, xf(true));
    }
    record(globals, kXf, xf(false)); // XF 15: the cells
    {
        QByteArray b;
        put16(b, 0x8000); // built-in style on XF 0
        put8(b, 0);       // Normal
        put8(b, 0xFF);
        record(globals, kStyle, b);
    }
    std::vector<qsizetype> sheetOffsetAt;
    for (int s = 0; s < sheets; ++s) {
        const QString name = QStringLiteral("Sheet%1").arg(s + 1);
        QByteArray b;
        put32(b, 0); // patched once the sheet's position is known
        put8(b, 0);  // visible
        put8(b, 0);  // worksheet
        put8(b, static_cast<quint8>(name.size()));
        put8(b, 0);
        putChars(b, name, 0, name.size(), false);
        sheetOffsetAt.push_back(globals.size() + 4);
        record(globals, kBoundSheet, b);
    }
    {
        SstWriter sst(globals);
        sst.begin(plan.total, static_cast<quint32>(plan.strings.size()));
        for (const QString& s : plan.strings) {
            sst.add(s);
        }
        sst.end();
    }
    record(globals, kEof, QByteArray());
    std::vector<QString>().swap(plan.strings);

    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw GridExportError("cannot write " + fileName.toStdString() + ": " +
                              file.errorString().toStdString());
    }
    FileSink sink(file);
    sink.write(QByteArray(kSectorSize, '\0')); // header, written last
    // The sheet positions follow from the globals' size and each sheet's size.
    quint64 streamSize = static_cast<quint64>(globals.size());
    std::vector<quint32> sheetOffsets;
    size_t nextNumber = 0;
    sink.write(globals);
    for (int s = 0; s < sheets; ++s) {
        sheetOffsets.push_back(static_cast<quint32>(streamSize));
        const int first = s * kXlsDataRowsPerSheet;
        const int count = std::min(kXlsDataRowsPerSheet, rows - first);
        QByteArray out;
        record(out, kBof, bof(0x0010));
        {
            QByteArray b;
            put32(b, 0);
            put32(b, static_cast<quint32>(count + 1));
            put16(b, 0);
            put16(b, static_cast<quint16>(columns));
            put16(b, 0);
            record(out, kDimensions, b);
        }
        {
            QByteArray b;
            put16(b, s == 0 ? 0x06B6 : 0x00B6); // the first sheet is the selected one
            put16(b, 0);
            put16(b, 0);
            put32(b, 64);
            put16(b, 0);
            put16(b, 0);
            put32(b, 0);
            record(out, kWindow2, b);
        }
        auto label = [&](int row, int column, quint32 ref) {
            put16(out, kLabelSst);
            put16(out, 10);
            put16(out, static_cast<quint16>(row));
            put16(out, static_cast<quint16>(column));
            put16(out, kCellXf);
            put32(out, ref);
        };
        for (int c = 0; c < columns; ++c) {
            label(0, c, titleRefs[static_cast<size_t>(c)]);
        }
        for (int r = 0; r < std::max(0, count); ++r) {
            const size_t base = static_cast<size_t>(first + r) * static_cast<size_t>(columns);
            for (int c = 0; c < columns; ++c) {
                const quint32 ref = plan.refs[base + static_cast<size_t>(c)];
                if (ref == kEmptyCell) {
                    continue;
                }
                if (ref == kNumberCell) {
                    put16(out, kNumber);
                    put16(out, 14);
                    put16(out, static_cast<quint16>(r + 1));
                    put16(out, static_cast<quint16>(c));
                    put16(out, kCellXf);
                    putDouble(out, plan.numbers[nextNumber++]);
                } else {
                    label(r + 1, c, ref);
                }
            }
            if (out.size() > (1 << 20)) {
                streamSize += static_cast<quint64>(out.size());
                sink.write(out);
                out.clear();
            }
        }
        record(out, kEof, QByteArray());
        streamSize += static_cast<quint64>(out.size());
        sink.write(out);
    }
    if (streamSize > 0xFFFFFFF0ull) {
        throw GridExportError("too much data for one workbook: " + fileName.toStdString());
    }
    // Streams below 4096 bytes would belong in the mini stream; pad instead.
    if (streamSize < 4096) {
        sink.write(QByteArray(static_cast<qsizetype>(4096 - streamSize), '\0'));
        streamSize = 4096;
    }
    const quint64 tail = streamSize % kSectorSize;
    if (tail != 0) {
        sink.write(QByteArray(static_cast<qsizetype>(kSectorSize - tail), '\0'));
    }
    const auto streamSectors = static_cast<quint32>((streamSize + kSectorSize - 1) / kSectorSize);
    const quint32 dirSector = streamSectors;
    quint32 fatSectors = 1;
    quint32 difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > 109 ? (fatSectors - 109 + 126) / 127 : 0;
        if (quint64(fatSectors) * 128 >= quint64(streamSectors) + 1 + fatSectors + difatSectors) {
            break;
        }
        ++fatSectors;
    }
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + fatSectors;

    // Directory: root, Workbook, two empty entries.
    QByteArray dir;
    dir.append(directoryEntry(QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0));
    dir.append(directoryEntry(QStringLiteral("Workbook"), 2, kNoStream, 0,
                              static_cast<quint32>(streamSize)));
    dir.append(directoryEntry(QString(), 0, kNoStream, 0, 0));
    dir.append(directoryEntry(QString(), 0, kNoStream, 0, 0));
    sink.write(dir);

    QByteArray fat;
    fat.reserve(static_cast<qsizetype>(fatSectors) * kSectorSize);
    for (quint32 i = 0; i < fatSectors * 128; ++i) {
        quint32 v = kFreeSect;
        if (i < streamSectors) {
            v = i + 1 == streamSectors ? kEndOfChain : i + 1;
        } else if (i == dirSector) {
            v = kEndOfChain;
        } else if (i >= firstFat && i < firstDifat) {
            v = kFatSect;
        } else if (i >= firstDifat && i < firstDifat + difatSectors) {
            v = kDifSect;
        }
        put32(fat, v);
    }
    sink.write(fat);

    QByteArray difat;
    for (quint32 d = 0; d < difatSectors; ++d) {
        for (quint32 k = 0; k < 127; ++k) {
            const quint32 fatIndex = 109 + d * 127 + k;
            put32(difat, fatIndex < fatSectors ? firstFat + fatIndex : kFreeSect);
        }
        put32(difat, d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
    }
    sink.write(difat);

    QByteArray header;
    header.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(QByteArray(16, '\0'));
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header.append(QByteArray(6, '\0'));
    put32(header, 0); // directory sectors (version 3)
    put32(header, fatSectors);
    put32(header, dirSector);
    put32(header, 0);
    put32(header, 4096);
    put32(header, kEndOfChain); // no mini FAT
    put32(header, 0);
    put32(header, difatSectors > 0 ? firstDifat : kEndOfChain);
    put32(header, difatSectors);
    for (quint32 i = 0; i < 109; ++i) {
        put32(header, i < fatSectors ? firstFat + i : kFreeSect);
    }
    sink.flush();

    // Patch the header and the sheets' positions in the globals.
    auto writeAt = [&](qint64 at, const QByteArray& bytes) {
        if (!file.seek(at) || file.write(bytes) != bytes.size()) {
            throw GridExportError("cannot write " + fileName.toStdString() + ": " +
                                  file.errorString().toStdString());
        }
    };
    writeAt(0, header);
    for (int s = 0; s < sheets; ++s) {
        QByteArray offset(4, '\0');
        set32(offset, 0, sheetOffsets[static_cast<size_t>(s)]);
        writeAt(kSectorSize + sheetOffsetAt[static_cast<size_t>(s)], offset);
    }
    file.close();
    if (file.error() != QFile::NoError) {
        throw GridExportError("cannot write " + fileName.toStdString() + ": " +
                              file.errorString().toStdString());
    }
}
