#pragma once

#include <QPixmap>
#include <QWidget>

// A borderless picture in the screen centre, revealed in ten horizontal bands that grow one
// pixel row per step, then held on screen for a while before it closes.
class SplashScreen : public QWidget {
    Q_OBJECT

public:
    explicit SplashScreen(const QPixmap& picture, QWidget* parent = nullptr);

    // Reveals the picture, holds it, and closes; returns when the splash has closed.
    void run();

    // The revealed rows of each band (for painting and tests).
    int revealedRows() const { return m_rows; }

    static constexpr int Bands = 10;
    static constexpr int RowsPerBand = 30;

    // How long the complete picture stays on screen, in milliseconds (1500 normally).
    static void setHoldTime(int milliseconds);
    static int holdTime();

    // The program's own splash picture, drawn in code.
    static QPixmap defaultPicture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    int m_rows = 0;
};
