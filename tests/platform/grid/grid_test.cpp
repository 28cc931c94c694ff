#include "platform/grid/data_grid.h"
#include "platform/grid/grid_header.h"

#include "grid_fixture.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A grid on screen over an in-memory database, with a model tester attached.
struct ShownGrid {
    MemoryDatabase database;
    QWidget window;
    DataGrid* grid;
    std::unique_ptr<QAbstractItemModelTester> tester;

    ShownGrid() {
        window.resize(900, 400);
        grid = new DataGrid(&window);
        grid->setObjectName(QStringLiteral("DBGridEh1"));
        grid->setGeometry(0, 0, 900, 400);
        tester = std::make_unique<QAbstractItemModelTester>(
            grid->gridModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    bool show() {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    void load(const QString& sql) {
        QSqlQuery q = database.select(sql);
        grid->load(q);
    }

    void clickTitle(const QString& field) {
        GridHeader* header = grid->gridHeader();
        const int c = grid->columnOf(field);
        const QPoint at(header->sectionViewportPosition(c) + header->sectionSize(c) / 2,
                        header->height() * 3 / 4);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QRect r = grid->visualRect(grid->gridModel()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, r.center());
    }

    QList<int> column(const QString& field) const {
        QList<int> values;
        for (int r = 0; r < grid->rowCount(); ++r) {
            values.append(grid->value(r, field).toInt());
        }
        return values;
    }
};

} // namespace

class GridTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titleClicksMoveMarkersAndSort();
    void startingDownMarkerSortsAscendingFirst();
    void sortOrder_data();
    void sortOrder();
    void manyDistinctTextsSortAndReadBack();
    void selectionListFollowsRowsThroughSort();
    void footerTextsAndSums();
    void twoLevelTitlesGroupAdjacentBands();
    void rowColoursAndPaintHook();
    void valuesByFieldAndOpenState();
};

void GridTest::titleClicksMoveMarkersAndSort() {
    ShownGrid g;
    g.database.exec(QStringLiteral("create table t(id integer, 名称 text, 数量 real)"));
    g.database.exec(
        QStringLiteral("insert into t values (1,'b',10),(2,'a',9),(3,'c',100),(4,'d',9.5)"));
    g.grid->setColumns({GridColumn(QStringLiteral("id")).withoutTitleButton(),
                        GridColumn(QStringLiteral("名称")), GridColumn(QStringLiteral("数量"))});
    g.load(QStringLiteral("select id, 名称, 数量 from t order by id"));
    QVERIFY(g.show());

    QList<SortMarker> markersSeenByHandler;
    connect(g.grid, &DataGrid::titleClicked, g.grid, [&](const QString& field) {
        markersSeenByHandler.append(g.grid->sortMarker(field));
        g.grid->sortByClickRule(field);
    });
    QSignalSpy clicks(g.grid, &DataGrid::titleClicked);

    struct Step {
        const char* field;
        QList<int> ids;
        SortMarker 名称;
        SortMarker 数量;
    };
    const Step steps[] = {
        {"数量", {3, 1, 4, 2}, SortMarker::None, SortMarker::Down}, // first click: descending
        {"数量", {2, 4, 1, 3}, SortMarker::None, SortMarker::Up},   // down shown: ascending
        {"数量", {3, 1, 4, 2}, SortMarker::None, SortMarker::Down}, // up shown: descending
        {"名称", {4, 3, 1, 2}, SortMarker::Down, SortMarker::None}, // other column cleared
        {"名称", {2, 1, 3, 4}, SortMarker::Up, SortMarker::None},
    };
    for (const Step& step : steps) {
        g.clickTitle(QString::fromUtf8(step.field));
        QCOMPARE(g.column(QStringLiteral("id")), step.ids);
        QCOMPARE(g.grid->sortMarker(QStringLiteral("名称")), step.名称);
        QCOMPARE(g.grid->sortMarker(QStringLiteral("数量")), step.数量);
    }
    QCOMPARE(markersSeenByHandler,
             QList<SortMarker>({SortMarker::None, SortMarker::Down, SortMarker::Up,
                                SortMarker::None, SortMarker::Down}));

    // A column without a title button neither signals nor shows a marker.
    const qsizetype before = clicks.count();
    g.clickTitle(QStringLiteral("id"));
    QCOMPARE(clicks.count(), before);
    QCOMPARE(g.grid->sortMarker(QStringLiteral("id")), SortMarker::None);
    QCOMPARE(g.grid->sortMarker(QStringLiteral("名称")), SortMarker::Up);
}

void GridTest::startingDownMarkerSortsAscendingFirst() {
    ShownGrid g;
    g.grid->setColumns({GridColumn(QStringLiteral("id")), GridColumn(QStringLiteral("备注"))});
    g.grid->setSortMarker(QStringLiteral("备注"), SortMarker::Down);
    g.grid->loadRows(
        {QStringLiteral("id"), QStringLiteral("备注")},
        {{1, QStringLiteral("乙")}, {2, QStringLiteral("甲")}, {3, QStringLiteral("丙")}});
    QCOMPARE(g.grid->sortMarker(QStringLiteral("备注")), SortMarker::Down); // kept by loading
    QVERIFY(g.show());
    connect(g.grid, &DataGrid::titleClicked, g.grid,
            [&](const QString& field) { g.grid->sortByClickRule(field); });

    g.clickTitle(QStringLiteral("备注"));
    // By pinyin: 丙 bǐng < 甲 jiǎ < 乙 yǐ.
    QCOMPARE(g.column(QStringLiteral("id")), QList<int>({3, 2, 1}));
    QCOMPARE(g.grid->sortMarker(QStringLiteral("备注")), SortMarker::Up);
}

void GridTest::sortOrder_data() {
    QTest::addColumn<QString>("values"); // SQL literals for ids 1, 2, 3, ...
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("integers as numbers") << "10, 9, 100, -1" << false << QList<int>{4, 2, 1, 3};
    QTest::newRow("integers and reals") << "2.5, 3, 2, 2.75" << false << QList<int>{3, 1, 4, 2};
    QTest::newRow("reals descending") << "2.5, 3, 2, 2.75" << true << QList<int>{2, 4, 1, 3};
    QTest::newRow("texts in dictionary order")
        << "'b', 'B', 'a', 'b', ''" << false << QList<int>{5, 3, 1, 4, 2};
    QTest::newRow("Chinese by pinyin")
        << "'张三', '李四', '王五', '阿强'" << false << QList<int>{4, 2, 3, 1};
    QTest::newRow("Chinese by pinyin descending")
        << "'张三', '李四', '王五', '阿强'" << true << QList<int>{1, 3, 2, 4};
    QTest::newRow("digit texts as texts") << "'10', '9', '100'" << false << QList<int>{1, 3, 2};
    QTest::newRow("nulls first ascending") << "3, null, 1, null" << false << QList<int>{2, 4, 3, 1};
    QTest::newRow("nulls last descending") << "3, null, 1, null" << true << QList<int>{1, 3, 2, 4};
    QTest::newRow("text nulls first") << "'x', null, 'a'" << false << QList<int>{2, 3, 1};
    QTest::newRow("stable ascending") << "1, 2, 1, 2, 1" << false << QList<int>{1, 3, 5, 2, 4};
    QTest::newRow("stable descending") << "1, 2, 1, 2, 1" << true << QList<int>{2, 4, 1, 3, 5};
    QTest::newRow("stable texts") << "'a', 'a', 'a'" << true << QList<int>{1, 2, 3};
    QTest::newRow("numbers before texts in a mixed column")
        << "'', 5, 'x', 2.5, null" << false << QList<int>{5, 4, 2, 1, 3};
    QTest::newRow("large integers exact")
        << "200708150000002, 200708150000001, 200708150000010" << false << QList<int>{2, 1, 3};
}

void GridTest::sortOrder() {
    QFETCH(QString, values);
    QFETCH(bool, descending);
    QFETCH(QList<int>, ids);

    ShownGrid g;
    g.database.exec(QStringLiteral("create table t(id integer, v)")); // no affinity: kept as given
    const QStringList literals = values.split(QStringLiteral(", "));
    for (int i = 0; i < literals.size(); ++i) {
        g.database.exec(
            QStringLiteral("insert into t values (%1, %2)").arg(i + 1).arg(literals[i]));
    }
    g.load(QStringLiteral("select id, v from t order by id"));
    QVERIFY(g.grid->sortBy(QStringLiteral("V"), descending)); // field names ignore case
    QCOMPARE(g.column(QStringLiteral("id")), ids);

    // Sorting again starts from the loaded order, not from the previous sort.
    QVERIFY(g.grid->sortBy(QStringLiteral("v"), !descending));
    QVERIFY(g.grid->sortBy(QStringLiteral("v"), descending));
    QCOMPARE(g.column(QStringLiteral("id")), ids);
    QVERIFY(!g.grid->sortBy(QStringLiteral("missing"), false));
}

void GridTest::manyDistinctTextsSortAndReadBack() {
    // Mostly distinct texts are stored apart from the shared-text pool; they must read back
    // and sort like any other texts, and a later number turns the column into a mixed one.
    for (const bool endsWithNumber : {false, true}) {
        ShownGrid g;
        QList<QVariantList> rows;
        for (int i = 0; i < 3000; ++i) {
            QVariant v =
                i % 7 == 0 ? QVariant() : QVariant(QStringLiteral("备注%1").arg(i * 7919 % 3001));
            if (i == 2999 && endsWithNumber) {
                v = 42;
            }
            rows.append({i, v});
        }
        g.grid->loadRows({QStringLiteral("id"), QStringLiteral("备注")}, rows);
        QCOMPARE(g.grid->value(10, QStringLiteral("备注")), rows[10][1]);
        QCOMPARE(g.grid->value(2999, QStringLiteral("备注")), rows[2999][1]);

        QList<int> expected;
        for (int i = 0; i < 3000; ++i) {
            expected.append(i);
        }
        auto group = [&](int i) {
            const QVariant& v = rows[i][1];
            return v.isNull() ? 0 : v.typeId() == QMetaType::Int ? 1 : 2;
        };
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            if (group(a) != group(b)) {
                return group(a) < group(b);
            }
            if (group(a) != 2)
                return false;
            // 备注N: the same Chinese prefix, then digits, which sort by code units.
            return rows[a][1].toString() < rows[b][1].toString();
        });
        QVERIFY(g.grid->sortBy(QStringLiteral("备注"), false));
        QCOMPARE(g.column(QStringLiteral("id")), expected);
    }
}

void GridTest::selectionListFollowsRowsThroughSort() {
    ShownGrid g;
    QList<QVariantList> rows;
    for (int i = 1; i <= 6; ++i) {
        rows.append({i, 100 - i});
    }
    g.grid->loadRows({QStringLiteral("id"), QStringLiteral("key")}, rows);
    QVERIFY(g.show());
    QVERIFY(g.grid->selectedRows().isEmpty());

    g.clickRow(4);
    g.clickRow(1, Qt::ControlModifier);
    QCOMPARE(g.grid->selectedRows(), QList<int>({1, 4}));
    g.clickRow(2, Qt::ShiftModifier); // extends from the last clicked row
    QCOMPARE(g.grid->selectedRows(), QList<int>({1, 2, 4}));
    g.clickRow(5, Qt::ControlModifier);
    g.clickRow(1, Qt::ControlModifier); // ctrl-click again deselects
    QCOMPARE(g.grid->selectedRows(), QList<int>({2, 4, 5}));
    QCOMPARE(g.grid->value(5, QStringLiteral("id")).toInt(), 6);

    // Reversing the order keeps the same records (ids 3, 5, 6) selected, listed in the new
    // grid order.
    QVERIFY(g.grid->sortBy(QStringLiteral("key"), false));
    QCOMPARE(g.grid->selectedRows(), QList<int>({0, 1, 3}));
    QCOMPARE(g.grid->value(0, QStringLiteral("id")).toInt(), 6);
    QCOMPARE(g.grid->value(1, QStringLiteral("id")).toInt(), 5);
    QCOMPARE(g.grid->value(3, QStringLiteral("id")).toInt(), 3);

    g.clickRow(0);
    QCOMPARE(g.grid->selectedRows(), QList<int>({0}));
    QCOMPARE(g.grid->currentValue(QStringLiteral("id")).toInt(), 6);
}

void GridTest::footerTextsAndSums() {
    ShownGrid g;
    g.database.exec(
        QStringLiteral("create table t(类别 text, 数量 real, 合计 real, 金额 integer)"));
    g.database.exec(QStringLiteral("insert into t values ('甲', 1.5, 0.1, 3), ('乙', 2.25, 0.2, "
                                   "null), ('丙', null, 0.3, 4)"));
    g.grid->setColumns({GridColumn(QStringLiteral("类别")).withFooterText(QStringLiteral("合计：")),
                        GridColumn(QStringLiteral("数量")).withFooterSum(),
                        GridColumn(QStringLiteral("合计")).withFooterSum().withFormat("0.00"),
                        GridColumn(QStringLiteral("金额")).withFooterCount()});
    QVERIFY(g.grid->isFooterVisible());
    QCOMPARE(g.grid->footerText(QStringLiteral("数量")), QString()); // closed: no sums yet

    g.load(QStringLiteral("select * from t"));
    QCOMPARE(g.grid->footerText(QStringLiteral("类别")), QStringLiteral("合计："));
    QCOMPARE(g.grid->footerValue(QStringLiteral("数量")).toDouble(), 3.75);
    QCOMPARE(g.grid->footerText(QStringLiteral("数量")), QStringLiteral("3.75"));
    QCOMPARE(g.grid->footerText(QStringLiteral("合计")), QStringLiteral("0.60"));
    QCOMPARE(g.grid->footerText(QStringLiteral("金额")), QStringLiteral("3"));

    g.load(QStringLiteral("select * from t where 类别 = '甲'")); // recomputed on load
    QCOMPARE(g.grid->footerText(QStringLiteral("数量")), QStringLiteral("1.5"));
    QCOMPARE(g.grid->footerText(QStringLiteral("金额")), QStringLiteral("1"));

    // The footer sits under the rows, lined up with the columns.
    QVERIFY(g.show());
    QWidget* footer = reinterpret_cast<QWidget*>(g.grid->footer());
    QVERIFY(footer->isVisible());
    QCOMPARE(footer->geometry().top(), g.grid->viewport()->geometry().bottom() + 1);
    QCOMPARE(footer->geometry().left(), g.grid->viewport()->geometry().left());

    g.grid->clear();
    QCOMPARE(g.grid->footerText(QStringLiteral("数量")), QString());
    QCOMPARE(g.grid->footerText(QStringLiteral("类别")), QStringLiteral("合计："));
}

void GridTest::twoLevelTitlesGroupAdjacentBands() {
    ShownGrid g;
    g.grid->setColumns({GridColumn(QStringLiteral("商品"), QStringLiteral("商品")),
                        GridColumn(QStringLiteral("a"), QStringLiteral("进货统计|累计进货数")),
                        GridColumn(QStringLiteral("h"), QStringLiteral("进货统计|隐藏")).hidden(),
                        GridColumn(QStringLiteral("b"), QStringLiteral("进货统计|进货金额")),
                        GridColumn(QStringLiteral("c"), QStringLiteral("销售统计|出货数")),
                        GridColumn(QStringLiteral("d"), QStringLiteral("进货统计|退货数"))});
    QVERIFY(g.show());
    GridHeader* header = g.grid->gridHeader();
    QVERIFY(header->hasBands());
    const auto spans = header->bandSpans();
    QCOMPARE(spans.size(), 3);
    QCOMPARE(spans[0].band, QStringLiteral("进货统计"));
    QCOMPARE(spans[0].firstVisual, 1);
    QCOMPARE(spans[0].lastVisual, 3); // across the hidden column
    QCOMPARE(spans[1].band, QStringLiteral("销售统计"));
    QCOMPARE(spans[2].band, QStringLiteral("进货统计")); // not adjacent: a band of its own
    QCOMPARE(spans[2].firstVisual, 5);

    QCOMPARE(g.grid->gridModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("累计进货数"));
    QCOMPARE(g.grid->column(QStringLiteral("a"))->caption(), QStringLiteral("累计进货数"));
    QCOMPARE(g.grid->column(QStringLiteral("商品"))->band(), QString());

    // Two rows of titles: the header is about twice as tall as a one-level header.
    const int twoLevel = header->sizeHint().height();
    g.grid->setColumns({GridColumn(QStringLiteral("商品"))});
    QVERIFY(!header->hasBands());
    QVERIFY(twoLevel >= header->sizeHint().height() * 2 - 2);

    // Renaming a title to two levels makes a band.
    g.grid->setColumnTitle(QStringLiteral("商品"), QStringLiteral("库存|商品"));
    QVERIFY(header->hasBands());
}

void GridTest::rowColoursAndPaintHook() {
    ShownGrid g;
    g.grid->loadRows(
        {QStringLiteral("名称"), QStringLiteral("数量")},
        {{QStringLiteral("甲"), 1.4}, {QStringLiteral("乙"), -12.6}, {QStringLiteral("丙"), 2.5}});
    GridModel* model = g.grid->gridModel();
    auto background = [&](int row) {
        return model->index(row, 0).data(Qt::BackgroundRole).value<QColor>();
    };
    QCOMPARE(background(0), QColor(0xF2, 0xF2, 0xF2));
    QCOMPARE(background(1), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(background(2), QColor(0xF2, 0xF2, 0xF2));

    // The colours go by position, whatever row lands there after sorting.
    g.grid->sortBy(QStringLiteral("数量"), false);
    QCOMPARE(g.grid->value(0, QStringLiteral("名称")).toString(), QStringLiteral("乙"));
    QCOMPARE(background(0), QColor(0xF2, 0xF2, 0xF2));

    // Drawn on screen: sample the left end of the right-aligned number cells, away from the
    // text and from the current cell's focus frame in the first column.
    QVERIFY(g.show());
    const QImage shot = g.grid->viewport()->grab().toImage();
    const int x = g.grid->columnViewportPosition(1) + 4;
    QCOMPARE(QColor(shot.pixel(x, g.grid->rowViewportPosition(0) + 3)), QColor(0xF2, 0xF2, 0xF2));
    QCOMPARE(QColor(shot.pixel(x, g.grid->rowViewportPosition(1) + 3)), QColor(0xFF, 0xFF, 0xFF));

    // A hook sees the grid row and field and may change colours, alignment and text.
    g.grid->setCellPaintHook([](int row, const QString& field, CellStyle& style) {
        if (field == QStringLiteral("数量")) {
            style.foreground = Qt::red;
            style.text = QString::number(row);
            style.alignment = Qt::AlignCenter;
        }
    });
    const QModelIndex amount = model->index(2, 1);
    QCOMPARE(amount.data(Qt::DisplayRole).toString(), QStringLiteral("2"));
    QCOMPARE(amount.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(amount.data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QCOMPARE(amount.data(GridRoles::RawValue).toDouble(), 2.5);
    QVERIFY(!model->index(2, 0).data(Qt::ForegroundRole).isValid());
    QCOMPARE(model->index(2, 0).data(Qt::DisplayRole).toString(), QStringLiteral("丙"));
}

void GridTest::valuesByFieldAndOpenState() {
    ShownGrid g;
    g.database.exec(
        QStringLiteral("create table t(编号 text, QQMSN text, 数量 real, 打印标志 integer)"));
    g.database.exec(QStringLiteral("insert into t values ('200708150000001', 'q1', 10, 0), "
                                   "('200708150000002', 'q2', 0.3333, 1)"));
    g.grid->setColumns({GridColumn(QStringLiteral("qqmsn")),
                        GridColumn(QStringLiteral("数量")).withFormat(QStringLiteral("0.00")),
                        GridColumn(QStringLiteral("编号")).hidden()});
    QVERIFY(!g.grid->isOpen());
    QCOMPARE(g.grid->rowCount(), 0);

    g.load(QStringLiteral("select * from t order by 编号"));
    QVERIFY(g.grid->isOpen());
    QCOMPARE(g.grid->rowCount(), 2);
    QCOMPARE(g.grid->value(1, QStringLiteral("编号")).toString(),
             QStringLiteral("200708150000002"));
    QCOMPARE(g.grid->value(1, QStringLiteral("打印标志")).toInt(), 1); // loaded, no column
    QCOMPARE(g.grid->value(0, QStringLiteral("QQMSN")).toString(), QStringLiteral("q1"));
    QCOMPARE(g.grid->value(1, QStringLiteral("数量")).toDouble(), 0.3333); // kept whole
    QCOMPARE(g.grid->gridModel()->index(1, 1).data().toString(), QStringLiteral("0.33"));
    QVERIFY(!g.grid->value(2, QStringLiteral("编号")).isValid());
    QVERIFY(!g.grid->value(0, QStringLiteral("nothing")).isValid());
    QCOMPARE(g.grid->visibleColumns(), std::vector<int>({0, 1}));

    QVERIFY(g.show());
    QVERIFY(g.grid->isColumnHidden(2));
    g.grid->setColumnVisible(QStringLiteral("编号"), true);
    QVERIFY(!g.grid->isColumnHidden(2));

    g.grid->clear();
    QVERIFY(!g.grid->isOpen());
    QCOMPARE(g.grid->rowCount(), 0);
    QVERIFY(g.grid->selectedRows().isEmpty());

    // An empty result is open, with no rows.
    g.load(QStringLiteral("select * from t where 1 = 0"));
    QVERIFY(g.grid->isOpen());
    QCOMPARE(g.grid->rowCount(), 0);
}

QTEST_MAIN(GridTest)
#include "grid_test.moc"
