#include "platform/report/report_preview.h"

#include "platform/report/report_engine.h"
#include "platform/widgets/file_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace report {

// Shows one page as a picture at the preview's zoom, with the last find hit marked.
class PageView : public QWidget {
public:
    explicit PageView(QWidget* parent)
        : QWidget(parent) {
        setObjectName(QStringLiteral("pageView"));
    }

    void setPage(const RenderedPage* page, QSizeF paperMm, double zoom, QRectF highlightMm) {
        const double dpi = 96.0 * zoom;
        const double pxPerMm = dpi / 25.4;
        const QSize size(qMax(1, qRound(paperMm.width() * pxPerMm)),
                         qMax(1, qRound(paperMm.height() * pxPerMm)));
        m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_image.setDotsPerMeterX(qRound(dpi / 0.0254));
        m_image.setDotsPerMeterY(qRound(dpi / 0.0254));
        m_image.fill(Qt::white);
        if (page) {
            QPainter painter(&m_image);
            paintPage(painter, *page);
            if (!highlightMm.isNull()) {
                const double scale = m_image.logicalDpiX() / 25.4;
                const QRectF r(highlightMm.x() * scale, highlightMm.y() * scale,
                               highlightMm.width() * scale, highlightMm.height() * scale);
                painter.fillRect(r, QColor(255, 200, 0, 90));
                painter.setPen(QPen(QColor(230, 120, 0), 2));
                painter.drawRect(r);
            }
        }
        setFixedSize(m_image.size() + QSize(2 * kMargin, 2 * kMargin));
        update();
    }

    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        painter.fillRect(QRect(kMargin + 3, kMargin + 3, m_image.width(), m_image.height()),
                         QColor(60, 60, 60));
        painter.drawImage(kMargin, kMargin, m_image);
    }

private:
    static constexpr int kMargin = 12;
    QImage m_image;
};

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// Paper, orientation and margins.
class PageSetupDialog : public QDialog {
public:
    PageSetupDialog(const PageSettings& page, QWidget* parent)
        : QDialog(parent)
        , m_page(page) {
        setObjectName(QStringLiteral("pageSetupDialog"));
        setWindowTitle(QStringLiteral("页面设置"));
        auto* form = new QFormLayout(this);
        m_paper = new QComboBox(this);
        m_paper->setObjectName(QStringLiteral("paperBox"));
        m_paper->addItem(QStringLiteral("A4 (210 x 297 毫米)"), QStringLiteral("A4"));
        m_paper->addItem(QStringLiteral("A5 (148 x 210 毫米)"), QStringLiteral("A5"));
        m_paper->addItem(QStringLiteral("连续纸 241 x 279.4 毫米"),
                         QStringLiteral("continuous241"));
        if (page.size == QLatin1String("custom"))
            m_paper->addItem(QStringLiteral("自定义 %1 x %2 毫米").arg(page.width).arg(page.height),
                             QStringLiteral("custom"));
        m_paper->setCurrentIndex(qMax(0, m_paper->findData(page.size)));
        form->addRow(QStringLiteral("纸张:"), m_paper);
        m_orientation = new QComboBox(this);
        m_orientation->setObjectName(QStringLiteral("orientationBox"));
        m_orientation->addItems({QStringLiteral("纵向"), QStringLiteral("横向")});
        m_orientation->setCurrentIndex(page.landscape ? 1 : 0);
        form->addRow(QStringLiteral("方向:"), m_orientation);
        auto margin = [&](double value, const char* name, const QString& label) {
            auto* box = new QDoubleSpinBox(this);
            box->setObjectName(QLatin1String(name));
            box->setRange(0, 100);
            box->setDecimals(1);
            box->setSuffix(QStringLiteral(" 毫米"));
            box->setValue(value);
            form->addRow(label, box);
            return box;
        };
        m_left = margin(page.left, "leftMarginBox", QStringLiteral("左边距:"));
        m_top = margin(page.top, "topMarginBox", QStringLiteral("上边距:"));
        m_right = margin(page.right, "rightMarginBox", QStringLiteral("右边距:"));
        m_bottom = margin(page.bottom, "bottomMarginBox", QStringLiteral("下边距:"));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        form->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    PageSettings settings() const {
        PageSettings page = m_page;
        const QString size = m_paper->currentData().toString();
        if (size != QLatin1String("custom"))
            page.setNamedSize(size);
        page.landscape = m_orientation->currentIndex() == 1;
        page.left = m_left->value();
        page.top = m_top->value();
        page.right = m_right->value();
        page.bottom = m_bottom->value();
        return page;
    }

private:
    PageSettings m_page;
    QComboBox* m_paper;
    QComboBox* m_orientation;
    QDoubleSpinBox* m_left;
    QDoubleSpinBox* m_top;
    QDoubleSpinBox* m_right;
    QDoubleSpinBox* m_bottom;
};

} // namespace

ReportPreview::ReportPreview(ReportEngine* engine, QWidget* parent)
    : QDialog(parent)
    , m_engine(engine) {
    setObjectName(QStringLiteral("reportPreview"));
    const QString title = engine->layout().name.isEmpty()
                              ? QFileInfo(engine->fileName()).completeBaseName()
                              : engine->layout().name;
    setWindowTitle(QStringLiteral("报表预览 - %1").arg(title));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(980, 760);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    layout->addLayout(bar);

    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("zoomBox"));
    for (int percent : {50, 75, 100, 125, 150, 200, 300})
        m_zoomBox->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
    m_zoomBox->setCurrentIndex(2);
    bar->addWidget(m_zoomBox);

    auto* first = button(QStringLiteral("首页"), "firstPageButton", this);
    auto* prev = button(QStringLiteral("上一页"), "prevPageButton", this);
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("pageBox"));
    m_pageCountLabel = new QLabel(this);
    m_pageCountLabel->setObjectName(QStringLiteral("pageCountLabel"));
    auto* next = button(QStringLiteral("下一页"), "nextPageButton", this);
    auto* last = button(QStringLiteral("末页"), "lastPageButton", this);
    for (QWidget* w :
         std::initializer_list<QWidget*>{first, prev, m_pageBox, m_pageCountLabel, next, last})
        bar->addWidget(w);
    bar->addSpacing(12);

    m_findEdit = new QLineEdit(this);
    m_findEdit->setObjectName(QStringLiteral("findEdit"));
    m_findEdit->setPlaceholderText(QStringLiteral("查找文字"));
    m_findEdit->setMinimumWidth(140);
    auto* find = button(QStringLiteral("查找"), "findButton", this);
    bar->addWidget(m_findEdit);
    bar->addWidget(find);
    bar->addSpacing(12);

    auto* setup = button(QStringLiteral("页面设置"), "pageSetupButton", this);
    auto* printButton = button(QStringLiteral("打印"), "printButton", this);
    auto* pdf = button(QStringLiteral("保存为PDF"), "pdfButton", this);
    auto* close = button(QStringLiteral("关闭"), "closeButton", this);
    for (QWidget* w : std::initializer_list<QWidget*>{setup, printButton, pdf, close})
        bar->addWidget(w);
    bar->addStretch();

    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView(m_scroll);
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);

    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(QStringLiteral("errorLabel"));
    m_errorLabel->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_errorLabel->setWordWrap(true);
    layout->addWidget(m_errorLabel);

    connect(m_zoomBox, &QComboBox::currentIndexChanged, this,
            [this](int) { setZoom(m_zoomBox->currentData().toDouble()); });
    connect(first, &QPushButton::clicked, this, [this] { goToPage(0); });
    connect(prev, &QPushButton::clicked, this, [this] { goToPage(m_page - 1); });
    connect(next, &QPushButton::clicked, this, [this] { goToPage(m_page + 1); });
    connect(last, &QPushButton::clicked, this, [this] { goToPage(pageCount() - 1); });
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int v) { goToPage(v - 1); });
    auto doFind = [this] {
        if (!findNext(m_findEdit->text()))
            m_errorLabel->setText(QStringLiteral("找不到 \"%1\"").arg(m_findEdit->text()));
    };
    connect(find, &QPushButton::clicked, this, doFind);
    connect(m_findEdit, &QLineEdit::returnPressed, this, doFind);
    connect(setup, &QPushButton::clicked, this, &ReportPreview::showPageSetup);
    connect(printButton, &QPushButton::clicked, this, &ReportPreview::print);
    connect(pdf, &QPushButton::clicked, this, [this] { saveAsPdf(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    rerender();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::rerender() {
    m_report = m_engine->render();
    m_foundPage = -1;
    m_foundItem = -1;
    m_page = qBound(0, m_page, qMax(0, pageCount() - 1));
    {
        const QSignalBlocker block(m_pageBox);
        m_pageBox->setRange(1, qMax(1, pageCount()));
        m_pageBox->setValue(m_page + 1);
    }
    m_pageCountLabel->setText(QStringLiteral("/ %1 页").arg(pageCount()));
    if (m_report.errors.isEmpty()) {
        m_errorLabel->clear();
        m_errorLabel->setToolTip(QString());
    } else {
        m_errorLabel->setText(QStringLiteral("报表有 %1 处错误: %2")
                                  .arg(m_report.errors.size())
                                  .arg(m_report.errors.first()));
        m_errorLabel->setToolTip(m_report.errors.join(QLatin1Char('\n')));
    }
    refreshPage();
}

void ReportPreview::refreshPage() {
    const RenderedPage* page = m_page < pageCount() ? &m_report.pages[m_page] : nullptr;
    QRectF highlight;
    if (page && m_foundPage == m_page && m_foundItem >= 0 && m_foundItem < page->items.size())
        highlight = page->items[m_foundItem].rect;
    m_view->setPage(page, m_report.pageSizeMm, m_zoom, highlight);
    if (!highlight.isNull()) {
        const double scale = m_view->image().logicalDpiX() / 25.4;
        m_scroll->ensureVisible(int(highlight.center().x() * scale),
                                int(highlight.center().y() * scale), 50, 100);
    }
}

void ReportPreview::setZoom(double zoom) {
    m_zoom = qBound(0.1, zoom, 8.0);
    refreshPage();
}

void ReportPreview::goToPage(int page) {
    if (pageCount() == 0)
        return;
    page = qBound(0, page, pageCount() - 1);
    if (page == m_page && m_pageBox->value() == page + 1)
        return;
    m_page = page;
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setValue(page + 1);
    refreshPage();
}

bool ReportPreview::findNext(const QString& text) {
    int page = m_foundPage >= 0 ? m_foundPage : m_page;
    int item = m_foundPage >= 0 ? m_foundItem + 1 : 0;
    bool found = m_report.find(text, &page, &item, Qt::CaseInsensitive);
    if (!found && m_foundPage >= 0) { // wrap around
        page = 0;
        item = 0;
        found = m_report.find(text, &page, &item, Qt::CaseInsensitive);
    }
    if (!found)
        return false;
    m_foundPage = page;
    m_foundItem = item;
    m_errorLabel->setText(QString());
    m_page = page;
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setValue(page + 1);
    refreshPage();
    return true;
}

void ReportPreview::applyPageSettings(const PageSettings& page) {
    ReportLayout layout = m_engine->layout();
    layout.page = page;
    m_engine->setLayout(layout);
    rerender();
}

void ReportPreview::showPageSetup() {
    PageSetupDialog dialog(m_engine->layout().page, this);
    if (dialog.exec() == QDialog::Accepted)
        applyPageSettings(dialog.settings());
}

bool ReportPreview::saveAsPdf() {
    const QFileInfo info(m_engine->fileName());
    const QString proposed = info.fileName().isEmpty()
                                 ? QStringLiteral("report.pdf")
                                 : info.absolutePath() + QLatin1Char('/') +
                                       info.completeBaseName() + QStringLiteral(".pdf");
    const QString file =
        FileDialog::getSaveFileName(this, QStringLiteral("保存为 PDF"), proposed,
                                    QStringLiteral("PDF 文件(*.pdf)|*.pdf"), QStringLiteral("pdf"));
    if (file.isEmpty())
        return false;
    QString error;
    if (!writePdf(m_report, file, &error)) {
        QMessageBox::warning(this, QStringLiteral("Vantrel"), error);
        return false;
    }
    return true;
}

void ReportPreview::printTo(const RenderedReport& report, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutFor(report.pageSizeMm));
    int from = 1;
    int to = int(report.pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = qMax(1, printer.fromPage());
        to = qMin(to, printer.toPage() > 0 ? printer.toPage() : to);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    for (int p = from; p <= to; ++p) {
        if (p > from)
            printer.newPage();
        paintPage(painter, report.pages[p - 1]);
    }
    painter.end();
}

void ReportPreview::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutFor(m_report.pageSizeMm));
    printer.setFromTo(1, qMax(1, pageCount()));
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, qMax(1, pageCount()));
    if (dialog.exec() == QDialog::Accepted)
        printTo(m_report, printer);
}

} // namespace report
