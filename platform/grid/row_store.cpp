#include "platform/grid/row_store.h"

#include <QCollator>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <numeric>

void RowStore::clear() {
    reset(QStringList());
}

void RowStore::reset(const QStringList& fields) {
    m_fields.clear();
    m_fields.resize(static_cast<size_t>(fields.size()));
    m_fieldNames = fields;
    m_fieldByName.clear();
    for (int i = 0; i < fields.size(); ++i) {
        const QString key = fields.at(i).toLower();
        if (!m_fieldByName.contains(key)) {
            m_fieldByName.insert(key, i);
        }
    }
    m_rows = 0;
}

int RowStore::fieldIndex(const QString& name) const {
    return m_fieldByName.value(name.toLower(), -1);
}

RowStore::Kind RowStore::kindOf(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return Kind::Int;
    case QMetaType::Double:
    case QMetaType::Float:
        return Kind::Real;
    case QMetaType::QString:
        return Kind::Text;
    default:
        return Kind::Variant;
    }
}

void RowStore::convert(Field& f, Kind to) {
    const size_t n = f.nulls.size();
    if (to == Kind::Strings && f.kind == Kind::Text) {
        f.strings.resize(n);
        for (size_t i = 0; i < n; ++i) {
            if (!f.nulls[i]) {
                f.strings[i] = f.pool[f.texts[i]];
            }
        }
        std::vector<quint32>().swap(f.texts);
        std::vector<QString>().swap(f.pool);
        f.poolIndex.clear();
        f.poolIndex.squeeze();
    } else if (to == Kind::Real && f.kind == Kind::Int) {
        f.reals.resize(n);
        for (size_t i = 0; i < n; ++i) {
            f.reals[i] = static_cast<double>(f.ints[i]);
        }
        std::vector<qint64>().swap(f.ints);
    } else if (to == Kind::Variant) {
        f.variants.resize(n);
        for (size_t i = 0; i < n; ++i) {
            if (!f.nulls[i]) {
                f.variants[i] = valueOf(f, static_cast<int>(i));
            }
        }
        std::vector<qint64>().swap(f.ints);
        std::vector<double>().swap(f.reals);
        std::vector<quint32>().swap(f.texts);
        std::vector<QString>().swap(f.strings);
        std::vector<QString>().swap(f.pool);
        f.poolIndex.clear();
    } else {
        // From Empty: only nulls so far.
        switch (to) {
        case Kind::Int:
            f.ints.resize(n);
            break;
        case Kind::Real:
            f.reals.resize(n);
            break;
        case Kind::Text:
            f.texts.resize(n);
            break;
        default:
            break;
        }
    }
    f.kind = to;
}

void RowStore::append(Field& f, const QVariant& v) {
    if (v.isNull()) {
        switch (f.kind) {
        case Kind::Int:
            f.ints.push_back(0);
            break;
        case Kind::Real:
            f.reals.push_back(0);
            break;
        case Kind::Text:
            f.texts.push_back(0);
            break;
        case Kind::Strings:
            f.strings.emplace_back();
            break;
        case Kind::Variant:
            f.variants.emplace_back();
            break;
        case Kind::Empty:
            break;
        }
        f.nulls.push_back(true);
        return;
    }
    Kind k = kindOf(v);
    if (f.kind == Kind::Empty) {
        convert(f, k);
    } else if (f.kind == Kind::Int && k == Kind::Real) {
        convert(f, Kind::Real);
    } else if (f.kind == Kind::Real && k == Kind::Int) {
        k = Kind::Real;
    } else if (f.kind == Kind::Strings && k == Kind::Text) {
        k = Kind::Strings;
    } else if (f.kind != k && f.kind != Kind::Variant) {
        convert(f, Kind::Variant);
    }
    switch (f.kind) {
    case Kind::Int:
        f.ints.push_back(v.toLongLong());
        break;
    case Kind::Real:
        f.reals.push_back(v.toDouble());
        break;
    case Kind::Text: {
        const QString text = v.toString();
        auto it = f.poolIndex.constFind(text);
        quint32 id;
        if (it == f.poolIndex.constEnd()) {
            id = static_cast<quint32>(f.pool.size());
            f.pool.push_back(text);
            f.poolIndex.insert(text, id);
        } else {
            id = it.value();
        }
        f.texts.push_back(id);
        // Mostly distinct texts (numbers of documents, remarks) gain nothing from the pool.
        if (f.pool.size() > 1024 && f.pool.size() * 2 > f.texts.size()) {
            f.nulls.push_back(false);
            convert(f, Kind::Strings);
            return;
        }
        break;
    }
    case Kind::Strings:
        f.strings.push_back(v.toString());
        break;
    case Kind::Variant:
    case Kind::Empty:
        f.variants.push_back(v);
        break;
    }
    f.nulls.push_back(false);
}

void RowStore::appendRow(const QVariant* values) {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        append(m_fields[i], values[i]);
    }
    ++m_rows;
}

void RowStore::loadQuery(QSqlQuery& query) {
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i) {
        names.append(record.fieldName(i));
    }
    reset(names);
    std::vector<QVariant> row(static_cast<size_t>(names.size()));
    while (query.next()) {
        for (int i = 0; i < names.size(); ++i) {
            row[static_cast<size_t>(i)] = query.value(i);
        }
        appendRow(row.data());
    }
    finishLoading();
}

void RowStore::finishLoading() {
    for (Field& f : m_fields) {
        f.poolIndex.clear();
        f.poolIndex.squeeze();
        f.ints.shrink_to_fit();
        f.reals.shrink_to_fit();
        f.texts.shrink_to_fit();
        f.strings.shrink_to_fit();
        f.variants.shrink_to_fit();
        f.nulls.shrink_to_fit();
        f.pool.shrink_to_fit();
    }
}

QVariant RowStore::valueOf(const Field& f, int row) const {
    const auto r = static_cast<size_t>(row);
    if (f.nulls[r]) {
        return QVariant();
    }
    switch (f.kind) {
    case Kind::Int:
        return QVariant(f.ints[r]);
    case Kind::Real:
        return QVariant(f.reals[r]);
    case Kind::Text:
        return QVariant(f.pool[f.texts[r]]);
    case Kind::Strings:
        return QVariant(f.strings[r]);
    case Kind::Variant:
        return f.variants[r];
    case Kind::Empty:
        break;
    }
    return QVariant();
}

QVariant RowStore::value(int row, int field) const {
    if (field < 0 || field >= fieldCount() || row < 0 || row >= m_rows) {
        return QVariant();
    }
    return valueOf(m_fields[static_cast<size_t>(field)], row);
}

bool RowStore::isNull(int row, int field) const {
    if (field < 0 || field >= fieldCount() || row < 0 || row >= m_rows) {
        return true;
    }
    return m_fields[static_cast<size_t>(field)].nulls[static_cast<size_t>(row)];
}

bool RowStore::number(int row, int field, double* out) const {
    if (isNull(row, field)) {
        return false;
    }
    const Field& f = m_fields[static_cast<size_t>(field)];
    const auto r = static_cast<size_t>(row);
    switch (f.kind) {
    case Kind::Int:
        *out = static_cast<double>(f.ints[r]);
        return true;
    case Kind::Real:
        *out = f.reals[r];
        return true;
    default: {
        bool ok = false;
        const QVariant v = valueOf(f, row);
        if (v.typeId() == QMetaType::QString) {
            *out = v.toString().trimmed().toDouble(&ok);
        } else {
            *out = v.toDouble(&ok);
        }
        return ok;
    }
    }
}

namespace {

namespace {

// Texts sort in the order of a Chinese dictionary (by pinyin), as a shop expects its names
// listed; texts the collation holds equal keep a fixed order by their code units.
const QCollator& textCollator() {
    static const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    return collator;
}

bool textLess(const QString& a, const QString& b) {
    const int c = textCollator().compare(a, b);
    return c != 0 ? c < 0 : a < b;
}

bool isAscii(const QString& text) {
    for (const QChar ch : text)
        if (ch.unicode() >= 0x80)
            return false;
    return true;
}

} // namespace

template <typename Less> void stableSort(std::vector<int>& order, bool descending, Less less) {
    if (descending) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
    } else {
        std::stable_sort(order.begin(), order.end(), less);
    }
}

} // namespace

std::vector<int> RowStore::sortedOrder(int field, bool descending) const {
    std::vector<int> order(static_cast<size_t>(m_rows));
    std::iota(order.begin(), order.end(), 0);
    if (field < 0 || field >= fieldCount()) {
        return order;
    }
    const Field& f = m_fields[static_cast<size_t>(field)];
    const std::vector<bool>& nulls = f.nulls;
    switch (f.kind) {
    case Kind::Empty:
        break;
    case Kind::Int:
        stableSort(order, descending, [&](int a, int b) {
            const bool na = nulls[static_cast<size_t>(a)];
            const bool nb = nulls[static_cast<size_t>(b)];
            if (na || nb) {
                return na && !nb;
            }
            return f.ints[static_cast<size_t>(a)] < f.ints[static_cast<size_t>(b)];
        });
        break;
    case Kind::Real:
        stableSort(order, descending, [&](int a, int b) {
            const bool na = nulls[static_cast<size_t>(a)];
            const bool nb = nulls[static_cast<size_t>(b)];
            if (na || nb) {
                return na && !nb;
            }
            return f.reals[static_cast<size_t>(a)] < f.reals[static_cast<size_t>(b)];
        });
        break;
    case Kind::Text: {
        // Rank the distinct texts once, then compare ranks (0 for null).
        std::vector<quint32> byText(f.pool.size());
        std::iota(byText.begin(), byText.end(), 0u);
        std::sort(byText.begin(), byText.end(),
                  [&](quint32 a, quint32 b) { return textLess(f.pool[a], f.pool[b]); });
        std::vector<quint32> rank(f.pool.size());
        for (size_t i = 0; i < byText.size(); ++i) {
            rank[byText[i]] = static_cast<quint32>(i + 1);
        }
        std::vector<quint32> keys(static_cast<size_t>(m_rows));
        for (size_t r = 0; r < keys.size(); ++r) {
            keys[r] = nulls[r] ? 0 : rank[f.texts[r]];
        }
        stableSort(order, descending, [&](int a, int b) {
            return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
        });
        break;
    }
    case Kind::Strings: {
        // Mostly distinct texts (numbers of lines, remarks): plain ASCII keeps the order of its
        // code units, which the collation shares for it; anything else is compared through
        // collation keys made once per row.
        const bool ascii = std::all_of(f.strings.begin(), f.strings.end(), isAscii);
        std::vector<QCollatorSortKey> keys;
        if (!ascii) {
            keys.reserve(f.strings.size());
            for (const QString& text : f.strings)
                keys.push_back(textCollator().sortKey(text));
        }
        stableSort(order, descending, [&](int a, int b) {
            const size_t ia = static_cast<size_t>(a);
            const size_t ib = static_cast<size_t>(b);
            const bool na = nulls[ia];
            const bool nb = nulls[ib];
            if (na || nb) {
                return na && !nb;
            }
            if (!ascii) {
                const int c = keys[ia].compare(keys[ib]);
                if (c != 0)
                    return c < 0;
            }
            return f.strings[ia] < f.strings[ib];
        });
        break;
    }
    case Kind::Variant: {
        // Mixed kinds: nulls, then numbers, then everything else as text.
        struct Key {
            int group;
            double number;
            QString text;
        };
        std::vector<Key> keys(static_cast<size_t>(m_rows));
        for (int r = 0; r < m_rows; ++r) {
            Key& k = keys[static_cast<size_t>(r)];
            const QVariant& v = f.variants[static_cast<size_t>(r)];
            if (nulls[static_cast<size_t>(r)]) {
                k.group = 0;
            } else if (v.typeId() != QMetaType::QString && v.typeId() != QMetaType::QByteArray &&
                       v.canConvert<double>()) {
                k.group = 1;
                k.number = v.toDouble();
            } else {
                k.group = 2;
                k.text = v.toString();
            }
        }
        stableSort(order, descending, [&](int a, int b) {
            const Key& ka = keys[static_cast<size_t>(a)];
            const Key& kb = keys[static_cast<size_t>(b)];
            if (ka.group != kb.group) {
                return ka.group < kb.group;
            }
            if (ka.group == 1) {
                return ka.number < kb.number;
            }
            return textLess(ka.text, kb.text);
        });
        break;
    }
    }
    return order;
}
