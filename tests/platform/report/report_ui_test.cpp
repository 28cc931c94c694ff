#include "platform/report/report_designer.h"
#include "platform/report/report_engine.h"
#include "platform/report/report_preview.h"
#include "platform/widgets/file_dialog.h"

#include "report_test_data.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace report;
using namespace report_test;

class ReportUiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void previewNavigatesAndZooms();
    void previewFindsText();
    void previewSavesPdfThroughFileDialog();
    void previewPageSetup();
    void previewShowsExpressionErrors();

    void designerAddMoveSaveReload();
    void designerResizesObjectsAndBands();
    void designerEditsTextFontAndFields();
    void designerAddsAndRemovesBands();
    void designerSaveAsLeavesOriginal();
    void designerSetsStretch();
    void engineDesignSavesBackToFile();

private:
    QString copyLayout(const QString& name);
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

ReportEngine listEngine(int rows) {
    ReportEngine engine;
    QString error;
    if (!engine.load(layoutPath(QStringLiteral("inputreport.frf")), &error))
        qFatal("%s", qPrintable(error));
    engine.setMainData(purchaseLines(rows));
    engine.addDataSet(QStringLiteral("company"), companyRow());
    return engine;
}

template <typename T> T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

int masterBand(const ReportLayout& layout) {
    for (int i = 0; i < layout.bands.size(); ++i)
        if (layout.bands[i].type == BandType::MasterData)
            return i;
    return -1;
}

ReportLayout loadLayout(const QString& path) {
    ReportLayout layout;
    QString error;
    if (!layout.load(path, &error))
        qFatal("%s", qPrintable(error));
    return layout;
}

} // namespace

void ReportUiTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    FileDialog::clearAnswers();
}

void ReportUiTest::cleanup() {
    FileDialog::clearAnswers();
    m_dir.reset();
}

QString ReportUiTest::copyLayout(const QString& name) {
    const QString path = m_dir->filePath(name);
    QFile::copy(layoutPath(name), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void ReportUiTest::previewNavigatesAndZooms() {
    ReportEngine engine = listEngine(60);
    ReportPreview preview(&engine);
    preview.show();
    QCOMPARE(preview.pageCount(), 3);
    QCOMPARE(preview.currentPage(), 0);
    QCOMPARE(child<QLabel>(&preview, "pageCountLabel")->text(), QStringLiteral("/ 3 页"));

    child<QPushButton>(&preview, "nextPageButton")->click();
    QCOMPARE(preview.currentPage(), 1);
    child<QPushButton>(&preview, "lastPageButton")->click();
    QCOMPARE(preview.currentPage(), 2);
    child<QPushButton>(&preview, "nextPageButton")->click(); // stays on the last page
    QCOMPARE(preview.currentPage(), 2);
    QCOMPARE(child<QSpinBox>(&preview, "pageBox")->value(), 3);
    child<QSpinBox>(&preview, "pageBox")->setValue(2);
    QCOMPARE(preview.currentPage(), 1);
    child<QPushButton>(&preview, "firstPageButton")->click();
    QCOMPARE(preview.currentPage(), 0);

    QWidget* view = child<QWidget>(&preview, "pageView");
    const int width100 = view->width();
    auto* zoom = child<QComboBox>(&preview, "zoomBox");
    zoom->setCurrentIndex(zoom->findText(QStringLiteral("200%")));
    QCOMPARE(preview.zoom(), 2.0);
    QVERIFY(qAbs(view->width() - 2 * width100) < 30);
}

void ReportUiTest::previewFindsText() {
    ReportEngine engine = listEngine(60);
    ReportPreview preview(&engine);
    // The 50th line is on the last page; the search starts on the current page.
    QVERIFY(preview.findNext(QStringLiteral("螺丝50号")));
    QCOMPARE(preview.currentPage(), 2);
    QVERIFY(preview.rendered().pages[2].text().contains(QStringLiteral("螺丝50号")));

    // "大发五金厂" is on every line: the next hit stays on page 3 and then wraps to page 1.
    auto* edit = child<QLineEdit>(&preview, "findEdit");
    auto* find = child<QPushButton>(&preview, "findButton");
    edit->setText(QStringLiteral("大发五金厂"));
    find->click();
    QCOMPARE(preview.currentPage(), 2);
    for (int i = 0; i < 12; ++i) // page 3 holds 12 lines
        find->click();
    QCOMPARE(preview.currentPage(), 0);

    edit->setText(QStringLiteral("不存在的文字"));
    find->click();
    QCOMPARE(preview.currentPage(), 0);
    QVERIFY(child<QLabel>(&preview, "errorLabel")->text().contains(QStringLiteral("找不到")));
}

void ReportUiTest::previewSavesPdfThroughFileDialog() {
    ReportEngine engine = listEngine(5);
    ReportPreview preview(&engine);
    const QString pdf = m_dir->filePath(QStringLiteral("导出"));
    FileDialog::setNextAnswer(pdf); // typed without suffix
    child<QPushButton>(&preview, "pdfButton")->click();
    QVERIFY(!FileDialog::hasPendingAnswers());
    QVERIFY(FileDialog::lastRequest().save);
    QVERIFY(QFileInfo::exists(pdf + QStringLiteral(".pdf")));
    if (havePdfToText())
        QVERIFY(pdfText(pdf + QStringLiteral(".pdf")).contains(QStringLiteral("螺丝5号")));

    FileDialog::setNextCancel();
    QVERIFY(!preview.saveAsPdf());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 1);
}

void ReportUiTest::previewPageSetup() {
    ReportEngine engine = listEngine(60);
    ReportPreview preview(&engine);
    QCOMPARE(preview.rendered().pageSizeMm, QSizeF(297, 210));
    QTimer::singleShot(0, this, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog && dialog->objectName() == QLatin1String("pageSetupDialog"));
        auto* paper = child<QComboBox>(dialog, "paperBox");
        paper->setCurrentIndex(paper->findData(QStringLiteral("A5")));
        child<QComboBox>(dialog, "orientationBox")->setCurrentIndex(1);
        child<QDoubleSpinBox>(dialog, "topMarginBox")->setValue(15);
        dialog->accept();
    });
    child<QPushButton>(&preview, "pageSetupButton")->click();
    QCOMPARE(preview.rendered().pageSizeMm, QSizeF(210, 148));
    QCOMPARE(engine.layout().page.top, 15.0);
    QVERIFY(preview.pageCount() > 3); // a smaller paper holds fewer lines
    QCOMPARE(child<QLabel>(&preview, "pageCountLabel")->text(),
             QStringLiteral("/ %1 页").arg(preview.pageCount()));
}

void ReportUiTest::previewShowsExpressionErrors() {
    ReportEngine engine;
    QString error;
    QVERIFY(engine.load(layoutPath(QStringLiteral("cgjh_report.frf")), &error));
    engine.setMainData(purchaseLines(2));
    engine.addDataSet(QStringLiteral("company"), companyRow());
    engine.registerFunction(QStringLiteral("getkhaddress"), addressOf);
    ReportPreview preview(&engine);
    const QString label = child<QLabel>(&preview, "errorLabel")->text();
    QVERIFY2(label.contains(QStringLiteral("NtoC")), qPrintable(label));
    bool redText = false;
    for (const RenderedItem& item : preview.rendered().pages[0].items)
        redText = redText || (item.error && item.text.contains(QStringLiteral("未知函数")));
    QVERIFY(redText);
}

void ReportUiTest::designerAddMoveSaveReload() {
    const QString path = copyLayout(QStringLiteral("cgjh_report.frf"));
    const ReportLayout original = loadLayout(path);
    ReportDesigner designer(original, path);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    const int band = masterBand(original);
    designer.select(band, -1);
    child<QPushButton>(&designer, "addTextButton")->click();
    const int object = int(original.bands[band].objects.size());
    QCOMPARE(designer.selectedObject(), object);
    QVERIFY(designer.isModified());

    // Drag the new object about 20 mm right and 1 mm down with the mouse.
    QWidget* canvas = child<QWidget>(&designer, "designCanvas");
    const double pxPerMm = canvas->logicalDpiX() / 25.4;
    const QRect r = designer.objectRect(band, object);
    const QPoint from = r.center();
    const QPoint to = from + QPoint(qRound(20 * pxPerMm), qRound(1 * pxPerMm));
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
    const ReportObject& moved = designer.layout().bands[band].objects[object];
    QCOMPARE(moved.x, 20.0);
    QCOMPARE(moved.y, 1.0);
    QCOMPARE(child<QDoubleSpinBox>(&designer, "xBox")->value(), 20.0);

    child<QPushButton>(&designer, "saveButton")->click();
    QVERIFY(!designer.isModified());
    const ReportLayout reloaded = loadLayout(path);
    QVERIFY(reloaded == designer.layout());
    QCOMPARE(reloaded.bands[band].objects.size(), original.bands[band].objects.size() + 1);
    QCOMPARE(reloaded.bands[band].objects.last().text, QStringLiteral("文本"));
    QCOMPARE(reloaded.bands[band].objects.last().x, 20.0);
    // Everything else is untouched.
    ReportLayout withoutNew = reloaded;
    withoutNew.bands[band].objects.removeLast();
    QVERIFY(withoutNew == original);

    // Delete with the Delete key on the canvas, then save: back to the original file.
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Delete);
    QCOMPARE(designer.layout().bands[band].objects.size(), original.bands[band].objects.size());
    QVERIFY(designer.save());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QFile shipped(layoutPath(QStringLiteral("cgjh_report.frf")));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), shipped.readAll());
}

void ReportUiTest::designerResizesObjectsAndBands() {
    const QString path = copyLayout(QStringLiteral("printreport.frf"));
    ReportDesigner designer(loadLayout(path), path);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    QWidget* canvas = child<QWidget>(&designer, "designCanvas");
    const double pxPerMm = canvas->logicalDpiX() / 25.4;
    const int band = masterBand(designer.layout());
    const double height = designer.layout().bands[band].height;

    // Drag the band's lower edge 5 mm down, in the left margin where no object covers it.
    const int x = designer.objectRect(band, 0).left() - 5;
    const QPoint edge(x, designer.bandBottom(band));
    const QPoint lower = edge + QPoint(0, qRound(5 * pxPerMm));
    QTest::mousePress(canvas, Qt::LeftButton, {}, edge);
    QTest::mouseMove(canvas, lower);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, lower);
    QCOMPARE(designer.layout().bands[band].height, height + 5);
    QCOMPARE(designer.selectedBand(), band);
    QCOMPARE(child<QDoubleSpinBox>(&designer, "bandHeightBox")->value(), height + 5);

    // Select the first object of the band, then drag its corner handle 10 mm right.
    const QRect r = designer.objectRect(band, 0);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, r.center());
    QCOMPARE(designer.selectedObject(), 0);
    const double width = designer.layout().bands[band].objects[0].width;
    const QPoint corner = r.bottomRight() - QPoint(2, 2);
    const QPoint wider = corner + QPoint(qRound(10 * pxPerMm), 0);
    QTest::mousePress(canvas, Qt::LeftButton, {}, corner);
    QTest::mouseMove(canvas, wider);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, wider);
    QCOMPARE(designer.layout().bands[band].objects[0].width, width + 10);
    QCOMPARE(designer.layout().bands[band].objects[0].x, 0.0); // resized, not moved

    // The band height box changes the height too.
    child<QDoubleSpinBox>(&designer, "bandHeightBox")->setValue(9.5);
    QCOMPARE(designer.layout().bands[band].height, 9.5);
}

void ReportUiTest::designerEditsTextFontAndFields() {
    const QString path = copyLayout(QStringLiteral("printreport.frf"));
    ReportDesigner designer(loadLayout(path), path);
    designer.setFieldNames({QStringLiteral("商品名称"), QStringLiteral("company.公司名")});
    const int band = masterBand(designer.layout());
    designer.select(band, 2);
    auto* text = child<QPlainTextEdit>(&designer, "textEdit");
    QCOMPARE(text->toPlainText(), QStringLiteral("[商品名称]"));
    text->setPlainText(QStringLiteral("名称："));
    text->moveCursor(QTextCursor::End);
    auto* fields = child<QListWidget>(&designer, "fieldList");
    fields->setCurrentRow(1);
    child<QPushButton>(&designer, "insertFieldButton")->click();
    child<QDoubleSpinBox>(&designer, "fontSizeBox")->setValue(12);
    child<QCheckBox>(&designer, "boldBox")->setChecked(true);
    child<QComboBox>(&designer, "alignBox")->setCurrentIndex(2);
    child<QCheckBox>(&designer, "frameBox")->setCheckState(Qt::Unchecked);
    child<QCheckBox>(&designer, "wrapBox")->setChecked(true);

    const ReportObject& o = designer.layout().bands[band].objects[2];
    QCOMPARE(o.text, QStringLiteral("名称：[company.公司名]"));
    QCOMPARE(o.fontSize, 12.0);
    QVERIFY(o.bold);
    QCOMPARE(o.align, HAlign::Right);
    QCOMPARE(o.frame, int(FrameNone));
    QVERIFY(o.wordWrap);
    QCOMPARE(o.fontFamily, QString::fromLatin1(kDefaultFontFamily)); // not changed by the box

    // With no object selected, inserting a field adds a text object holding it.
    designer.select(band, -1);
    fields->setCurrentRow(0);
    child<QPushButton>(&designer, "insertFieldButton")->click();
    QCOMPARE(designer.layout().bands[band].objects.last().text, QStringLiteral("[商品名称]"));

    QVERIFY(designer.save());
    QVERIFY(loadLayout(path) == designer.layout());
}

void ReportUiTest::designerAddsAndRemovesBands() {
    const QString path = copyLayout(QStringLiteral("printreport.frf"));
    ReportDesigner designer(loadLayout(path), path);
    auto* types = child<QComboBox>(&designer, "bandTypeBox");
    types->setCurrentIndex(types->findData(int(BandType::GroupFooter)));
    child<QPushButton>(&designer, "addBandButton")->click();
    QVERIFY(designer.layout().band(BandType::GroupFooter));
    QCOMPARE(designer.layout().bands[designer.selectedBand()].type, BandType::GroupFooter);
    child<QLineEdit>(&designer, "groupFieldEdit")->setText(QStringLiteral("客户"));
    child<QPushButton>(&designer, "addTextButton")->click();
    QVERIFY(designer.save());
    ReportLayout saved = loadLayout(path);
    QCOMPARE(saved.groupField(), QStringLiteral("客户"));
    QCOMPARE(saved.band(BandType::GroupFooter)->objects.size(), 1);
    // Bands are kept in printing order: the group footer sits after the master band.
    QVERIFY(saved.bands.indexOf(*saved.band(BandType::GroupFooter)) >
            saved.bands.indexOf(*saved.band(BandType::MasterData)));

    // Adding a band that exists selects it; removing takes the selected band away.
    types->setCurrentIndex(types->findData(int(BandType::PageFooter)));
    child<QPushButton>(&designer, "addBandButton")->click();
    QCOMPARE(designer.layout().bands[designer.selectedBand()].type, BandType::PageFooter);
    const auto count = designer.layout().bands.size();
    child<QPushButton>(&designer, "removeBandButton")->click();
    QCOMPARE(designer.layout().bands.size(), count - 1);
    QVERIFY(!designer.layout().band(BandType::PageFooter));
}

void ReportUiTest::designerSaveAsLeavesOriginal() {
    const QString path = copyLayout(QStringLiteral("kcbb.frf"));
    ReportDesigner designer(loadLayout(path), path);
    child<QPushButton>(&designer, "addLineButton")->click();
    const QString copy = m_dir->filePath(QStringLiteral("我的库存报表"));
    FileDialog::setNextAnswer(copy);
    child<QPushButton>(&designer, "saveAsButton")->click();
    QCOMPARE(designer.fileName(), copy + QStringLiteral(".frf"));
    QVERIFY(loadLayout(copy + QStringLiteral(".frf")) == designer.layout());
    QVERIFY(loadLayout(path) == loadLayout(layoutPath(QStringLiteral("kcbb.frf"))));

    // A cancelled "save as" keeps the file name and writes nothing.
    FileDialog::setNextCancel();
    QVERIFY(!designer.saveAs());
    QCOMPARE(designer.fileName(), copy + QStringLiteral(".frf"));
}

void ReportUiTest::designerSetsStretch() {
    const QString path = copyLayout(QStringLiteral("inputreport.frf"));
    const ReportLayout original = loadLayout(path);
    ReportDesigner designer(original, path);
    const int band = masterBand(original);
    QVERIFY(!original.bands[band].stretch);
    auto* bandStretch = child<QCheckBox>(&designer, "bandStretchBox");
    auto* stretch = child<QCheckBox>(&designer, "stretchBox");
    auto* withBand = child<QCheckBox>(&designer, "stretchWithBandBox");

    designer.select(band, -1);
    bandStretch->setChecked(true);
    designer.select(band, 0);
    QVERIFY(stretch->isEnabled());
    stretch->setChecked(true);
    withBand->setChecked(true);
    designer.select(band, 1);
    withBand->setChecked(true);
    // A line grows with its band too, but has no text to grow for.
    child<QPushButton>(&designer, "addLineButton")->click();
    const int line = designer.selectedObject();
    QVERIFY(!stretch->isEnabled());
    withBand->setChecked(true);
    QVERIFY(designer.save());

    const ReportLayout saved = loadLayout(path);
    QVERIFY(saved == designer.layout());
    const ReportBand& b = saved.bands[band];
    QVERIFY(b.stretch);
    QVERIFY(b.objects[0].stretch && b.objects[0].stretchWithBand);
    QVERIFY(!b.objects[1].stretch && b.objects[1].stretchWithBand);
    QVERIFY(b.objects[line].stretchWithBand);
    for (int i = 2; i < line; ++i)
        QVERIFY(!b.objects[i].stretch && !b.objects[i].stretchWithBand);

    // A designer on the saved file shows the settings; clearing them gives the original file.
    ReportDesigner again(saved, path);
    auto* bandStretch2 = child<QCheckBox>(&again, "bandStretchBox");
    auto* stretch2 = child<QCheckBox>(&again, "stretchBox");
    auto* withBand2 = child<QCheckBox>(&again, "stretchWithBandBox");
    again.select(band, 0);
    QVERIFY(bandStretch2->isChecked());
    QVERIFY(stretch2->isChecked());
    QVERIFY(withBand2->isChecked());
    again.select(band, 1);
    QVERIFY(!stretch2->isChecked());
    QVERIFY(withBand2->isChecked());
    withBand2->setChecked(false);
    again.select(band, 0);
    stretch2->setChecked(false);
    withBand2->setChecked(false);
    bandStretch2->setChecked(false);
    again.select(band, line);
    again.deleteSelected();
    QVERIFY(again.save());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QFile shipped(layoutPath(QStringLiteral("inputreport.frf")));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), shipped.readAll());
}

void ReportUiTest::engineDesignSavesBackToFile() {
    const QString path = copyLayout(QStringLiteral("sell_report.frf"));
    ReportEngine engine;
    QString error;
    QVERIFY(engine.load(path, &error));
    engine.setMainData(salesLines(1));
    engine.addDataSet(QStringLiteral("company"), companyRow());
    QStringList listed;
    QTimer::singleShot(0, this, [&] {
        auto* designer = qobject_cast<ReportDesigner*>(QApplication::activeModalWidget());
        QVERIFY(designer);
        auto* fields = child<QListWidget>(designer, "fieldList");
        for (int i = 0; i < fields->count(); ++i)
            listed.append(fields->item(i)->text());
        child<QPushButton>(designer, "addRectButton")->click();
        child<QPushButton>(designer, "saveButton")->click();
        child<QPushButton>(designer, "closeButton")->click();
    });
    QVERIFY(engine.design(nullptr));
    QVERIFY(listed.contains(QStringLiteral("欠款金额")));
    QVERIFY(listed.contains(QStringLiteral("company.公司名")));
    QVERIFY(engine.layout() == loadLayout(path));
    QCOMPARE(engine.layout().bands.first().objects.last().type, ObjectType::Rect);

    // Closing with unsaved changes asks; "No" closes without writing.
    QTimer::singleShot(0, this, [&] {
        auto* designer = qobject_cast<ReportDesigner*>(QApplication::activeModalWidget());
        QVERIFY(designer);
        child<QPushButton>(designer, "addTextButton")->click();
        QTimer::singleShot(0, this, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            box->button(QMessageBox::No)->click();
        });
        child<QPushButton>(designer, "closeButton")->click();
    });
    const ReportLayout before = engine.layout();
    QVERIFY(!engine.design(nullptr));
    QVERIFY(engine.layout() == before);
    QVERIFY(loadLayout(path) == before);
}

QTEST_MAIN(ReportUiTest)
#include "report_ui_test.moc"
