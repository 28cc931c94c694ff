#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <vector>

class QSqlQuery;

// Compact column-wise store of loaded rows. Each field keeps its values in one typed vector:
// whole numbers, real numbers, texts (as indexes into a pool of distinct texts) or, for fields
// that mix kinds, plain QVariants. Rows are addressed by load position.
class RowStore {
public:
    void clear();
    void reset(const QStringList& fields);

    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    int rowCount() const { return m_rows; }
    const QStringList& fields() const { return m_fieldNames; }
    // Index of a field by name, ignoring case; -1 when absent.
    int fieldIndex(const QString& name) const;

    // Appends one row: values[i] belongs to field i.
    void appendRow(const QVariant* values);
    // Reads every remaining row of an active query; fields are the query's columns.
    void loadQuery(QSqlQuery& query);
    // Frees load-time lookup tables once loading is done.
    void finishLoading();

    QVariant value(int row, int field) const;
    bool isNull(int row, int field) const;
    // The value as a number; false when null or not a number.
    bool number(int row, int field, double* out) const;

    // Load positions in sorted order: nulls first, numbers as numbers, texts by UTF-16 code
    // units; stable (equal values keep their load order); descending reverses the comparison.
    std::vector<int> sortedOrder(int field, bool descending) const;

private:
    // Text keeps few distinct texts in a pool; Strings holds mostly distinct texts as they are.
    enum class Kind : std::uint8_t { Empty, Int, Real, Text, Strings, Variant };

    struct Field {
        Kind kind = Kind::Empty;
        std::vector<qint64> ints;
        std::vector<double> reals;
        std::vector<quint32> texts;
        std::vector<QString> strings;
        std::vector<QVariant> variants;
        std::vector<bool> nulls;
        std::vector<QString> pool;
        QHash<QString, quint32> poolIndex;
    };

    static Kind kindOf(const QVariant& v);
    void append(Field& f, const QVariant& v);
    void convert(Field& f, Kind to);
    QVariant valueOf(const Field& f, int row) const;

    std::vector<Field> m_fields;
    QStringList m_fieldNames;
    QHash<QString, int> m_fieldByName; // lower-case name to index
    int m_rows = 0;
};
