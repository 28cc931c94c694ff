#pragma once

#include "business/Public_Unit_mb.h"
#include "platform/grid/grid_column.h"

#include <vector>

class PeriodQueryPanel;
class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

// 销售出货开单: one line of Tab_xsch per product sold. The product is found by its code (or in
// the product lookup panel) among the purchased products; the panel shows the product's stock,
// the customer's last price and the amount still owed on the line.
//
// DocKind "销售退库" puts every handler in return mode (Tfrm_xsth): the lines written are
// returns, and the lists show returns.
//
// The entry handlers live in xsch_frm.cpp; the list, the query panel, printing and export in
// xsch_list.cpp.
class Tfrm_xsch : public TMb_Public_Unit {
    Q_OBJECT

public:
    explicit Tfrm_xsch(QWidget* parent = nullptr);
    ~Tfrm_xsch() override;

    // The line type of the current mode: "销售退库" in return mode, else "销售出库".
    QString LineType() const;

    // Entry commands.
    bool LbButton1Click() override; // 增 加
    bool LbButton2Click() override; // 删 除
    bool LbButton3Click() override; // 修 改

    // List commands.
    bool LbButton4Click() override; // 全部记录 / 所有记录
    bool LbButton6Click() override; // 查 询: opens or closes the query panel
    bool LbButton7Click() override; // 导出Excel
    virtual void LbButton9Click();  // 查询 in the query panel
    void LbButton8Click();          // 关闭 in the query panel
    virtual void N1Click();         // the period report
    virtual void N2Click();         // the customer's document
    void N3Click();                 // 报表抬头信息设置
    virtual void MenuItem1Click();  // design the period report
    virtual void MenuItem2Click();  // design the document

    // Look-ups of the entry panel.
    void Edit1Change();
    void SpeedButton1Click();
    void DBComboBoxEh7Change();
    void DBComboBoxEh8Change();
    void DBComboBoxEh9Change();
    void BitBtn1Click();
    void Panel3Exit();
    void DBComboBoxEh3Change();
    void DBComboBoxEh5Change();
    void sumdbChange();
    void DBGridEh1CellClick();
    void DBGridEh1TitleBtnClick(const QString& field);

    // The computed stock of the entered product into the stock field.
    void ShowProductStock();
    // The purchased categories into the lookup panel and the query panel.
    void LoadCategoryLists();

    // The list statement up to "where 类型=" (the fixed column list of the sales lists).
    static QString ListSelect();

protected:
    // For the return screen: the mode is fixed before the screen opens its list.
    Tfrm_xsch(QWidget* parent, const QString& docKind);

    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Today's lines of the screen's type (and of the user unless all may be seen).
    QString TodayListSql() const;
    // The report layout files of the current mode.
    QString PeriodReportFile() const;
    QString DocumentReportFile() const;
    // Flags the selected rows and previews them (or the list) with a layout.
    void PrintWith(const QString& layoutFile);

    QLineEdit* Edit1;
    QToolButton* SpeedButton1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    NumberEdit* Qkje;
    NumberEdit* DBNumberEditEh2;
    QLabel* MLabel14;

    QFrame* Panel3;
    QComboBox* DBComboBoxEh7;
    QComboBox* DBComboBoxEh8;
    QComboBox* DBComboBoxEh9;
    QComboBox* DBComboBoxEh10;
    QPushButton* BitBtn1;

    PeriodQueryPanel* Panel4;

    QMenu* m_printMenu;
    QAction* N1;
    QAction* N2;
    QAction* N3;
    QMenu* m_designMenu;
    QAction* MenuItem1;
    QAction* MenuItem2;

    // The sales grid's columns; the return screen shows them under its own titles.
    static std::vector<GridColumn> SalesColumns(bool returnMode);

private:
    void buildEntryPanel();
    void buildLookupPanel();
    void buildMenus();
    void FormCreate();
    void placeEntry(QWidget* control, int row, int column, int columnSpan = 1);
    void fillSpecList(const QStringList& specs, const QString& text);
    QStringList specsOf(const QString& name, const QString& code);
    QStringList readColumn(const QString& sql);
    void showPopup(QWidget* panel, QWidget* below);
    double stockOf(const QString& condition);
};
