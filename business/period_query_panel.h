#pragma once

#include "db/dialect.h"

#include <QFrame>

class DateEdit;
class LbButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QVBoxLayout;

namespace db {
class Query;
}

// The pop-up query panel of the list screens: a period group (year, month, day, range or all
// time), a product group whose boxes fill one another from the purchase lines, a persons group
// (partner and owner), and the buttons 查询, 所有记录 and 关闭.
//
// Screens name the boxes their own way; the names and captions come in Names.
class PeriodQueryPanel : public QFrame {
    Q_OBJECT

public:
    enum class Mode { Year, Month, Day, Range, AllTime };

    struct Names {
        QString panel;                      // objectName of the panel
        QString title;                      // caption shown on the panel
        QString category, name, spec, code; // product boxes
        QString partner, owner;             // persons boxes
        QString partnerLabel, ownerLabel;
        QString specLabel = QStringLiteral("规格(型号颜色口味)");
    };

    PeriodQueryPanel(const Names& names, QWidget* parent);

    // The caption shown on the panel.
    void setTitle(const QString& title);
    // Puts a screen's own filter content in place of the period, product and persons groups,
    // which are hidden (screens that search in another way). The panel takes ownership.
    void setFilterContent(QWidget* content);

    Mode mode() const;
    void setMode(Mode mode);

    // The date condition of the chosen mode over a date column, beginning with " and ", or
    // empty for all time. A year or month that is not a number makes the statement fail.
    QString periodCondition(const QString& dateColumn) const;

    // " and <column> like '%text%'" for a box.
    static QString likeFilter(const QString& column, const QComboBox* box);

    // Opening: year and month preset to now, dates preset; shows or hides the panel.
    void toggle();

    // Product cascade of the boxes, run on the given query.
    void setLookupQuery(db::Query* query) { m_lookup = query; }
    void categoryChanged();
    void nameChanged();
    void specChanged();

    // Hide the panel when the focus moves to another control of the same window.
    void setHideOnFocusLeave(bool hide);

    QRadioButton* rb1;
    QRadioButton* rb2;
    QRadioButton* rb3;
    QRadioButton* rb4;
    QRadioButton* rb5;
    QComboBox* cbyear;
    QComboBox* cbmos;
    DateEdit* dt1;
    DateEdit* dt2;
    QComboBox* categoryBox;
    QComboBox* nameBox;
    QComboBox* specBox;
    QComboBox* codeBox;
    QComboBox* partnerBox;
    QComboBox* ownerBox;
    LbButton* LbButton9;  // 查询
    LbButton* LbButton10; // 所有记录
    LbButton* LbButton8;  // 关闭

Q_SIGNALS:
    // The spec list changed (sales screens copy it to their entry panel).
    void specsFilled(const QStringList& specs);

private:
    void applyMode();
    void fillBox(QComboBox* box, const QString& sql);

    QLabel* m_title;
    QGroupBox* m_periodGroup;
    QGroupBox* m_productGroup;
    QGroupBox* m_personsGroup;
    QVBoxLayout* m_layout;
    QLabel* m_chooseLabel;
    QLabel* m_yearLabel;
    QLabel* m_monthLabel;
    QLabel* m_fromLabel;
    QLabel* m_toLabel;
    db::Query* m_lookup = nullptr;
    bool m_hideOnFocusLeave = false;
};
