#include "platform/grid/grid_model.h"

#include "platform/widgets/number_text.h"

#include <QDateTime>
#include <QSqlQuery>

#include <numeric>

namespace {

const QColor kOddRow(0xF2, 0xF2, 0xF2);
const QColor kEvenRow(0xFF, 0xFF, 0xFF);

bool isNumber(const QVariant& v) {
    return hasNumberType(v);
}

} // namespace

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void GridModel::setColumns(const std::vector<GridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    m_markers.assign(m_columns.size(), SortMarker::None);
    rebind();
    computeFooter();
    endResetModel();
}

void GridModel::setColumn(int column, const GridColumn& definition) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    const bool rebound = m_columns[static_cast<size_t>(column)].field != definition.field;
    m_columns[static_cast<size_t>(column)] = definition;
    if (rebound) {
        beginResetModel();
        rebind();
        endResetModel();
    } else if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
    }
    computeFooter();
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

int GridModel::columnOf(const QString& field) const {
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void GridModel::rebind() {
    m_columnField.assign(m_columns.size(), -1);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        m_columnField[i] = m_store.fieldIndex(m_columns[i].field);
    }
}

void GridModel::load(QSqlQuery& query) {
    beginResetModel();
    m_store.loadQuery(query);
    if (m_columns.empty()) {
        for (const QString& field : m_store.fields()) {
            m_columns.emplace_back(field);
        }
        m_markers.assign(m_columns.size(), SortMarker::None);
    }
    m_order.resize(static_cast<size_t>(m_store.rowCount()));
    std::iota(m_order.begin(), m_order.end(), 0);
    m_open = true;
    rebind();
    computeFooter();
    endResetModel();
}

void GridModel::loadRows(const QStringList& fields, const QList<QVariantList>& rows) {
    beginResetModel();
    m_store.reset(fields);
    std::vector<QVariant> row(static_cast<size_t>(fields.size()));
    for (const QVariantList& values : rows) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            row[static_cast<size_t>(i)] = i < values.size() ? values.at(i) : QVariant();
        }
        m_store.appendRow(row.data());
    }
    m_store.finishLoading();
    if (m_columns.empty()) {
        for (const QString& field : fields) {
            m_columns.emplace_back(field);
        }
        m_markers.assign(m_columns.size(), SortMarker::None);
    }
    m_order.resize(static_cast<size_t>(m_store.rowCount()));
    std::iota(m_order.begin(), m_order.end(), 0);
    m_open = true;
    rebind();
    computeFooter();
    endResetModel();
}

void GridModel::clear() {
    beginResetModel();
    m_store.clear();
    m_order.clear();
    m_open = false;
    rebind();
    computeFooter();
    endResetModel();
}

QVariant GridModel::value(int row, const QString& field) const {
    if (row < 0 || row >= rowCount()) {
        return QVariant();
    }
    return m_store.value(storeRow(row), m_store.fieldIndex(field));
}

QVariant GridModel::value(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return QVariant();
    }
    return m_store.value(storeRow(row), m_columnField[static_cast<size_t>(column)]);
}

QString GridModel::cellText(int row, int column) const {
    const QVariant v = value(row, column);
    if (!v.isValid() || v.isNull()) {
        return QString();
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        return formatNumber(v.toDouble(), m_columns[static_cast<size_t>(column)].displayFormat);
    }
    if (isNumber(v) && !m_columns[static_cast<size_t>(column)].displayFormat.isEmpty()) {
        return formatNumber(v.toDouble(), m_columns[static_cast<size_t>(column)].displayFormat);
    }
    if (v.typeId() == QMetaType::QDate) {
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (v.typeId() == QMetaType::QDateTime) {
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    return v.toString();
}

bool GridModel::sortBy(const QString& field, bool descending) {
    const int f = m_store.fieldIndex(field);
    if (f < 0) {
        return false;
    }
    std::vector<int> order = m_store.sortedOrder(f, descending);

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Persistent indexes (selection, current row) follow their rows.
    std::vector<int> newRowOfStore(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newRowOfStore[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& idx : before) {
        const int newRow = newRowOfStore[static_cast<size_t>(storeRow(idx.row()))];
        after.append(index(newRow, idx.column()));
    }
    m_order = std::move(order);
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return true;
}

SortMarker GridModel::marker(int column) const {
    if (column < 0 || column >= columnCount()) {
        return SortMarker::None;
    }
    return m_markers[static_cast<size_t>(column)];
}

void GridModel::setMarker(int column, SortMarker marker) {
    if (column < 0 || column >= columnCount() || m_markers[static_cast<size_t>(column)] == marker) {
        return;
    }
    m_markers[static_cast<size_t>(column)] = marker;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void GridModel::setCellPaintHook(CellPaintHook hook) {
    m_hook = std::move(hook);
    if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

CellStyle GridModel::cellStyle(int row, int column) const {
    CellStyle style;
    const GridColumn& c = m_columns[static_cast<size_t>(column)];
    style.background = (row + 1) % 2 == 1 ? kOddRow : kEvenRow;
    style.text = cellText(row, column);
    if (c.alignment) {
        style.alignment = c.alignment;
    } else {
        style.alignment =
            Qt::AlignVCenter | (isNumber(value(row, column)) ? Qt::AlignRight : Qt::AlignLeft);
    }
    if (m_hook) {
        m_hook(row, c.field, style);
    }
    return style;
}

void GridModel::computeFooter() {
    m_footer.assign(m_columns.size(), QVariant());
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const GridColumn& c = m_columns[i];
        switch (c.footer) {
        case FooterKind::None:
            break;
        case FooterKind::Text:
            m_footer[i] = c.footerText;
            break;
        case FooterKind::Count:
            m_footer[i] = m_open ? QVariant(qlonglong(m_store.rowCount())) : QVariant();
            break;
        case FooterKind::Sum: {
            if (!m_open) {
                break;
            }
            double sum = 0;
            const int f = m_columnField[i];
            for (int r = 0; r < m_store.rowCount(); ++r) {
                double v;
                if (m_store.number(r, f, &v)) {
                    sum += v;
                }
            }
            m_footer[i] = sum;
            break;
        }
        }
    }
    Q_EMIT footerChanged();
}

QVariant GridModel::footerValue(int column) const {
    if (column < 0 || column >= columnCount()) {
        return QVariant();
    }
    return m_footer[static_cast<size_t>(column)];
}

QString GridModel::footerText(int column) const {
    const QVariant v = footerValue(column);
    if (!v.isValid()) {
        return QString();
    }
    if (v.typeId() == QMetaType::Double) {
        return formatNumber(v.toDouble(), m_columns[static_cast<size_t>(column)].displayFormat);
    }
    return v.toString();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        return m_hook ? cellStyle(index.row(), index.column()).text
                      : cellText(index.row(), index.column());
    case GridRoles::RawValue:
    case Qt::EditRole:
        return value(index.row(), index.column());
    case Qt::BackgroundRole:
        return cellStyle(index.row(), index.column()).background;
    case Qt::ForegroundRole: {
        const QColor c = cellStyle(index.row(), index.column()).foreground;
        return c.isValid() ? QVariant(c) : QVariant();
    }
    case Qt::FontRole: {
        const auto font = cellStyle(index.row(), index.column()).font;
        return font ? QVariant(*font) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return static_cast<int>(cellStyle(index.row(), index.column()).alignment);
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }
    if (section < 0 || section >= columnCount()) {
        return QVariant();
    }
    const GridColumn& c = m_columns[static_cast<size_t>(section)];
    switch (role) {
    case Qt::DisplayRole:
        return c.caption();
    case GridRoles::Band:
        return c.band();
    case GridRoles::FullTitle:
        return c.title;
    case GridRoles::Marker:
        return static_cast<int>(m_markers[static_cast<size_t>(section)]);
    case GridRoles::Field:
        return c.field;
    default:
        return QVariant();
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
