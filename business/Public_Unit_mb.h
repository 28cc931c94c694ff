#pragma once

#include "business/grid_query.h"
#include "db/query.h"

#include <QHash>
#include <QWidget>

class DataGrid;
class DateEdit;
class LbButton;
class NumberEdit;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPlainTextEdit;
class QVBoxLayout;

// The business screen template: an entry panel with editors and a row of command buttons
// above a record grid, the rights checks that guard the buttons, the line total, the export
// of the grid and the query timing in the main window's status bar.
//
// Derived screens override the handlers below. A derived handler calls the template's handler
// of the same name first and stops when it refuses (returns false): the refusal has already
// been shown, and the derived handler adds no message, query or log row of its own. The
// buttons are bound to the virtual handlers, so an override is what a click runs.
//
// The template never touches a business table: every statement belongs to the derived screen.
class TMb_Public_Unit : public QWidget {
    Q_OBJECT

public:
    explicit TMb_Public_Unit(QWidget* parent = nullptr);
    ~TMb_Public_Unit() override;

    // State fields set by derived screens before they call the inherited handlers.
    QString TableName;
    QString NewDocNo;
    QString DocKind;
    QString ExportFileName;
    QString PartnerKind;
    double QueryStartTick = 0;
    double QueryEndTick = 0;

    // Add check: right 新增单据, then NewDocNo := the next number of TableName.
    virtual bool LbButton1Click();
    // Delete and modify checks: right 删除修改.
    virtual bool LbButton2Click();
    virtual bool LbButton3Click();
    // Buttons without a template handler ("全部记录", "查 询", "打 印").
    virtual bool LbButton4Click() { return true; }
    virtual bool LbButton6Click() { return true; }
    virtual bool LbButton5Click() { return true; }
    // Export: right 导出数据, then ExportGrid with ExportFileName. True when a file was written.
    virtual bool LbButton7Click();
    // Report design check: right 设计报表.
    virtual bool KlLbButton11Click();

    // The question before deleting the selected lines: "真的要删除这<n>行单据吗？" with the
    // caption "单据删除", no icon, Yes and No. True only for Yes.
    bool AskDeleteLines(int count);

    // Writes the grid to a file the user chooses, in the format of the chosen filter entry.
    // Returns false when the list is closed or the dialog was cancelled.
    bool ExportGrid(DataGrid* grid, const QString& defaultFileName);

    // Takes QueryStartTick now.
    void StartQueryTiming();
    // Takes QueryEndTick now and shows "查询时间：…秒   共查询到 N 条记录" in the first status
    // panel of the main window.
    void ReportQueryTiming(int rows);
    static QString QueryTimingText(double startTick, double endTick, int rows);

    // The line total: djdb × sldb into sumdb; an empty editor gives an empty total.
    void djdbChange();

    // The label shown before a control of the entry panel.
    QLabel* labelOf(QWidget* control) const { return m_labels.value(control); }
    void setLabelText(QWidget* control, const QString& text);
    // Hides a control with its label.
    void hideControl(QWidget* control);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // FormShow: the owner box gets the logged-in user as its only entry.
    virtual void FormShow();
    // FormClose: the screen is destroyed; derived screens clear the status panel.
    virtual void FormClose();

    // Adds a control with its label to the entry panel at a grid position.
    QLabel* addEntry(QWidget* control, const QString& label, int row, int column,
                     int columnSpan = 1);

    QComboBox* DBComboBoxEh1;
    QComboBox* DBComboBoxEh2;
    QComboBox* DBComboBoxEh3;
    QComboBox* DBComboBoxEh4;
    QComboBox* DBComboBoxEh5;
    QComboBox* DBComboBoxEh6;
    NumberEdit* djdb;
    NumberEdit* sldb;
    NumberEdit* sumdb;
    QPlainTextEdit* Memo1;
    DateEdit* DBDateTimeEditEh1;

    LbButton* LbButton1;
    LbButton* LbButton2;
    LbButton* LbButton3;
    LbButton* LbButton4;
    LbButton* LbButton6;
    LbButton* LbButton7;
    LbButton* LbButton5;
    LbButton* KlLbButton11;

    DataGrid* DBGridEh1;

    // Look-ups and changes of the screen, and the list in the grid.
    db::Query Append_Ado;
    GridQuery Dbgrid_Ado;

    QWidget* m_entryPanel;
    QGridLayout* m_entryLayout;
    QHBoxLayout* m_buttonRow;
    QVBoxLayout* m_mainLayout;

private:
    bool warnUnlessRight(const QString& right, const QString& message);

    QHash<QWidget*, QLabel*> m_labels;
    bool m_shown = false;
};
