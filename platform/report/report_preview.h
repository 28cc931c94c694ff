#pragma once

// The preview window: pages at a chosen zoom, page navigation, find, page setup, printing and
// saving as PDF.

#include "platform/report/report_renderer.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QSpinBox;

namespace report {

class ReportEngine;
class PageView;

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    // Renders the engine's report; page setup changes the engine's layout (not its file).
    explicit ReportPreview(ReportEngine* engine, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const RenderedReport& rendered() const { return m_report; }
    int currentPage() const { return m_page; } // from 0
    int pageCount() const { return int(m_report.pages.size()); }
    double zoom() const { return m_zoom; }

    void setZoom(double zoom);
    void goToPage(int page);
    // Finds the text after the last hit (or from the current page); shows its page.
    bool findNext(const QString& text);
    // Sets the paper and margins and renders again.
    void applyPageSettings(const PageSettings& page);
    // Writes the report to a PDF file chosen through the file dialog; false when cancelled.
    bool saveAsPdf();

    // Prints every page (or the printer's page range) on an already set-up printer.
    static void printTo(const RenderedReport& report, QPrinter& printer);

private:
    void rerender();
    void refreshPage();
    void showPageSetup();
    void print();

    ReportEngine* m_engine;
    RenderedReport m_report;
    int m_page = 0;
    double m_zoom = 1.0;
    int m_foundPage = -1;
    int m_foundItem = -1;

    PageView* m_view = nullptr;
    QScrollArea* m_scroll = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCountLabel = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QLineEdit* m_findEdit = nullptr;
    QLabel* m_errorLabel = nullptr;
};

} // namespace report
