#pragma once

// The layout designer: the page with its bands and objects; objects are added, selected, moved
// and resized with the mouse, their text, font, frame and box edited on the right, fields
// inserted from the field list on the left; bands are added, removed and made taller or
// shorter (drag their lower edge where no object covers it, e.g. in the page margin, or use the
// height box). The stretch boxes set a band's and an object's stretch attributes (see
// report_layout.h). "保存" writes the layout back to its file.

#include "platform/report/report_layout.h"

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace report {

class DesignCanvas;

class ReportDesigner : public QDialog {
    Q_OBJECT
public:
    ReportDesigner(const ReportLayout& layout, const QString& fileName, QWidget* parent = nullptr);
    ~ReportDesigner() override;

    const ReportLayout& layout() const { return m_layout; }
    const QString& fileName() const { return m_fileName; }
    void setFieldNames(const QStringList& names);

    // Selection: band index into layout().bands, object index into its objects (-1: none).
    void select(int band, int object);
    int selectedBand() const { return m_band; }
    int selectedObject() const { return m_object; }
    // Where an object is drawn on the canvas (canvas coordinates), for tests and tools.
    QRect objectRect(int band, int object) const;
    // The lower edge of a band on the canvas.
    int bandBottom(int band) const;
    DesignCanvas* canvas() const { return m_canvas; }

    void addObject(ObjectType type);
    void deleteSelected();
    void addBand(BandType type);
    void removeSelectedBand();
    void insertField(const QString& field);

    bool save();   // to fileName(), or asks for one
    bool saveAs(); // asks for a file name through the file dialog seam
    bool isModified() const { return m_modified; }
    bool savedOnce() const { return m_savedOnce; }
    const ReportLayout& savedLayout() const { return m_saved; }

protected:
    void done(int result) override;

private:
    void buildUi();
    bool canvasKey(QKeyEvent* event); // Delete and the arrow keys on the canvas
    void layoutChanged();             // after any change of the layout: repaint, mark modified
    void showSelection();             // fills the property editors from the selection
    void applyProperties();           // writes the property editors into the selected object
    ReportObject* selectedObjectPtr();
    ReportBand* selectedBandPtr();
    void updateTitle();

    ReportLayout m_layout;
    ReportLayout m_saved;
    QString m_fileName;
    int m_band = -1;
    int m_object = -1;
    bool m_modified = false;
    bool m_savedOnce = false;
    bool m_updating = false;

    DesignCanvas* m_canvas = nullptr;
    QListWidget* m_fieldList = nullptr;
    QComboBox* m_bandTypeBox = nullptr;
    QLabel* m_selectionLabel = nullptr;
    QDoubleSpinBox* m_bandHeightBox = nullptr;
    QLineEdit* m_groupFieldEdit = nullptr;
    QCheckBox* m_bandStretchBox = nullptr;
    QPlainTextEdit* m_textEdit = nullptr;
    QFontComboBox* m_fontBox = nullptr;
    QDoubleSpinBox* m_fontSizeBox = nullptr;
    QCheckBox* m_boldBox = nullptr;
    QComboBox* m_alignBox = nullptr;
    QComboBox* m_valignBox = nullptr;
    QCheckBox* m_frameBox = nullptr;
    QCheckBox* m_wrapBox = nullptr;
    QCheckBox* m_stretchBox = nullptr;
    QCheckBox* m_stretchWithBandBox = nullptr;
    QDoubleSpinBox* m_xBox = nullptr;
    QDoubleSpinBox* m_yBox = nullptr;
    QDoubleSpinBox* m_widthBox = nullptr;
    QDoubleSpinBox* m_heightBox = nullptr;
    QDoubleSpinBox* m_lineWidthBox = nullptr;
};

} // namespace report
