#pragma once

#include "business/Public_Unit_mb.h"

class PeriodQueryPanel;
class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

// Purchase entry: goods bought from a supplier, one product per line of Tab_Cgjh. The same
// screen in return mode (DocKind "退货", see TFrm_Cgth) records goods sent back.
//
// Entry and editing live in Cgjh_frm.cpp; the lists, the query panel, printing and export in
// Cgjh_list.cpp.
class TFrm_Cgjh : public TMb_Public_Unit {
    Q_OBJECT

public:
    explicit TFrm_Cgjh(QWidget* parent = nullptr);
    ~TFrm_Cgjh() override;

    // Line kind of every statement: "采购入库", or "采购退货" in return mode.
    QString LineKind() const;
    bool IsReturnMode() const;

    // Entry commands.
    bool LbButton1Click() override; // 增 加
    bool LbButton2Click() override; // 删 除
    bool LbButton3Click() override; // 修 改

    // Cascade of the product boxes and the last price.
    virtual void DBComboBoxEh1Change();
    virtual void DBComboBoxEh2Change();
    virtual void DBComboBoxEh3Change();
    virtual void DBComboBoxEh4Change();

    // A click on a grid row copies it into the editors.
    virtual void DBGridEh1CellClick();

    // Product lookup panel.
    void SpeedButton1Click();
    void mmEdit1Change();
    void BitBtn1Click();
    void BitBtn2Click();

    // Lists and the query panel.
    bool LbButton4Click() override; // 所有记录
    bool LbButton6Click() override; // 查 询: show or hide the panel
    bool LbButton8Click();          // 关闭 in the panel
    virtual bool LbButton9Click();  // 查询 in the panel
    void DBGridEh1TitleBtnClick(const QString& field);

    // Printing and report design.
    void N1Click();
    void N2Click();
    void N3Click();
    virtual void MenuItem1Click();
    virtual void MenuItem2Click();

    // Export with its log row.
    bool LbButton7Click() override;

    // The select list of every list of the screen, up to and including the kind condition.
    QString ListSelect() const;
    // The list of today's lines of the logged-in user's scope.
    QString TodayListSql() const;
    // The statement of the list shown in the grid.
    const QString& CurrentListSql() const { return Dbgrid_Ado.sql(); }

    // Layout files of the two print commands.
    QString PeriodReportFile() const;
    QString DocumentReportFile() const;

protected:
    // What the constructor runs after building the controls: the purchase screens' creation
    // (date, supplier and category lists, today's lines), or nothing for screens built on this
    // one that open their own lists (the partner records).
    enum class Creation { Purchase, None };

    // Return mode passes its kind before the screen is built.
    TFrm_Cgjh(const QString& docKind, QWidget* parent);
    TFrm_Cgjh(const QString& docKind, Creation creation, QWidget* parent);

    void FormShow() override;
    void FormClose() override;
    void resizeEvent(QResizeEvent* event) override;

    // Creation: the date, the supplier and category lists, and today's lines.
    void FormCreate();

    // The template's export, then, when a file was written, the log row
    // "工号为：<工号>导出表格数据成功!导出的模块为--<module>".
    bool ExportAndLog(const QString& module);

    QToolButton* SpeedButton1;
    QFrame* Panel4;
    QLineEdit* mmEdit1;
    QLineEdit* mmEdit2;
    QLineEdit* mmEdit3;
    QComboBox* mmCb1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    PeriodQueryPanel* Panel3;

    QMenu* m_printMenu;
    QAction* N1;
    QAction* N2;
    QAction* N3;
    QMenu* m_designMenu;
    QAction* MenuItem1;
    QAction* MenuItem2;

private:
    void buildScreen();
    void buildLookupPanel();
    void buildListPart();
    void applyReturnLabels();
    void setTabOrder();

    // Replaces the items of a cascade box by the first column of the rows of sql; selects the
    // first item (raising the next step) when there is one.
    bool fillCascadeBox(QComboBox* box, const QString& sql);
    // Opens the list of today's lines with its timing.
    void openTodayList();
    void placeQueryPanel();
    void printLines(const QString& layoutFile);
    void writeLog(const QString& content);
    // A text box's trimmed text.
    static QString boxText(const QComboBox* box);
};
