#include "platform/grid/data_grid.h"

#include "platform/grid/grid_footer.h"
#include "platform/grid/grid_header.h"

#include <QScrollBar>
#include <QSqlQuery>

#include <algorithm>

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new GridModel(this))
    , m_header(new GridHeader(this))
    , m_footer(new GridFooter(this)) {
    setHorizontalHeader(m_header);
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_footer->hide();

    connect(m_header, &QHeaderView::sectionClicked, this,
            [this](int logical) { onSectionClicked(logical); });
    auto repaintFooter = [this] { m_footer->update(); };
    connect(m_header, &QHeaderView::sectionResized, this, repaintFooter);
    connect(m_header, &QHeaderView::sectionMoved, this, repaintFooter);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, repaintFooter);
    connect(m_model, &GridModel::footerChanged, this, repaintFooter);
}

DataGrid::~DataGrid() = default;

void DataGrid::setColumns(const std::vector<GridColumn>& columns) {
    m_model->setColumns(columns);
    const bool anyFooter = std::any_of(columns.begin(), columns.end(), [](const GridColumn& c) {
        return c.footer != FooterKind::None;
    });
    if (anyFooter) {
        setFooterVisible(true);
    }
    applyColumnLayout();
}

void DataGrid::applyColumnLayout() {
    const auto& columns = m_model->columns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const GridColumn& c = columns[static_cast<size_t>(i)];
        setColumnHidden(i, !c.visible);
        const int width = c.width > 0 ? c.width
                                      : std::max(60, fontMetrics().horizontalAdvance(c.caption()) +
                                                         fontMetrics().height() + 12);
        m_header->resizeSection(i, width);
    }
    m_header->updateGeometry();
    updateGeometries();
}

const GridColumn* DataGrid::column(const QString& field) const {
    const int c = columnOf(field);
    return c < 0 ? nullptr : &m_model->columns()[static_cast<size_t>(c)];
}

void DataGrid::setColumnTitle(const QString& field, const QString& title) {
    const int c = columnOf(field);
    if (c < 0) {
        return;
    }
    GridColumn definition = m_model->columns()[static_cast<size_t>(c)];
    definition.title = title;
    m_model->setColumn(c, definition);
    updateGeometries();
}

void DataGrid::setColumnVisible(const QString& field, bool visible) {
    const int c = columnOf(field);
    if (c < 0) {
        return;
    }
    GridColumn definition = m_model->columns()[static_cast<size_t>(c)];
    definition.visible = visible;
    m_model->setColumn(c, definition);
    setColumnHidden(c, !visible);
    updateGeometries();
    m_footer->update();
}

std::vector<int> DataGrid::visibleColumns() const {
    std::vector<int> result;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical)) {
            result.push_back(logical);
        }
    }
    return result;
}

void DataGrid::load(QSqlQuery& query) {
    const bool hadColumns = !m_model->columns().empty();
    m_model->load(query);
    if (!hadColumns) {
        applyColumnLayout();
    }
}

void DataGrid::loadRows(const QStringList& fields, const QList<QVariantList>& rows) {
    const bool hadColumns = !m_model->columns().empty();
    m_model->loadRows(fields, rows);
    if (!hadColumns) {
        applyColumnLayout();
    }
}

void DataGrid::clear() {
    m_model->clear();
}

int DataGrid::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

QVariant DataGrid::currentValue(const QString& field) const {
    return value(currentRow(), field);
}

QList<int> DataGrid::selectedRows() const {
    QList<int> rows;
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            rows.append(r);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int DataGrid::selectedCount() const {
    return static_cast<int>(selectedRows().size());
}

void DataGrid::setRowSelected(int row, bool selected) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    selectionModel()->select(m_model->index(row, 0), (selected ? QItemSelectionModel::Select
                                                               : QItemSelectionModel::Deselect) |
                                                         QItemSelectionModel::Rows);
}

bool DataGrid::sortBy(const QString& field, bool descending) {
    return m_model->sortBy(field, descending);
}

bool DataGrid::sortByClickRule(const QString& field) {
    return sortBy(field, sortMarker(field) != SortMarker::Down);
}

SortMarker DataGrid::sortMarker(const QString& field) const {
    return m_model->marker(columnOf(field));
}

void DataGrid::setSortMarker(const QString& field, SortMarker marker) {
    m_model->setMarker(columnOf(field), marker);
}

void DataGrid::onSectionClicked(int logical) {
    const auto& columns = m_model->columns();
    if (logical < 0 || logical >= static_cast<int>(columns.size()) ||
        !columns[static_cast<size_t>(logical)].titleButton) {
        return;
    }
    Q_EMIT titleClicked(columns[static_cast<size_t>(logical)].field);
    // Markers move on: none -> down -> up -> down; other columns lose theirs.
    const SortMarker shown = m_model->marker(logical);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        if (i != logical) {
            m_model->setMarker(i, SortMarker::None);
        }
    }
    m_model->setMarker(logical, shown == SortMarker::Down ? SortMarker::Up : SortMarker::Down);
}

void DataGrid::setFooterVisible(bool visible) {
    m_footerVisible = visible;
    m_footer->setVisible(visible);
    updateGeometries();
}

void DataGrid::setFooterColors(const QColor& background, const QColor& text) {
    m_footer->setColors(background, text);
}

QString DataGrid::footerText(const QString& field) const {
    return m_model->footerText(columnOf(field));
}

QVariant DataGrid::footerValue(const QString& field) const {
    return m_model->footerValue(columnOf(field));
}

void DataGrid::updateGeometries() {
    QTableView::updateGeometries();
    placeFooter();
}

void DataGrid::placeFooter() {
    if (m_placing) {
        return;
    }
    m_placing = true;
    // QTableView::updateGeometries() resets the margins; keep room for the footer below.
    const QMargins margins = viewportMargins();
    const int footerHeight = m_footerVisible ? m_footer->sizeHint().height() : 0;
    if (margins.bottom() != footerHeight) {
        setViewportMargins(margins.left(), margins.top(), margins.right(), footerHeight);
    }
    if (m_footerVisible) {
        const QRect vp = viewport()->geometry();
        m_footer->setGeometry(vp.left(), vp.bottom() + 1, vp.width(), footerHeight);
        m_footer->raise();
    }
    m_placing = false;
}
