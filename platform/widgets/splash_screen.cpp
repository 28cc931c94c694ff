#include "platform/widgets/splash_screen.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>

namespace {
int g_holdTime = 1500;
}

SplashScreen::SplashScreen(const QPixmap& picture, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(picture) {
    setObjectName(QStringLiteral("SplashScreen"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashScreen::setHoldTime(int milliseconds) {
    g_holdTime = milliseconds;
}

int SplashScreen::holdTime() {
    return g_holdTime;
}

void SplashScreen::run() {
    show();
    for (m_rows = 1; m_rows <= RowsPerBand; ++m_rows) {
        repaint();
        QThread::msleep(1);
    }
    m_rows = RowsPerBand;
    repaint();
    if (g_holdTime > 0) {
        QEventLoop loop;
        QTimer::singleShot(g_holdTime, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    close();
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int bandHeight = height() / Bands;
    for (int band = 0; band < Bands; ++band) {
        const QRect strip(0, band * bandHeight, width(), qMin(m_rows, bandHeight));
        painter.drawPixmap(strip, m_picture, strip);
    }
}

QPixmap SplashScreen::defaultPicture() {
    QPixmap picture(480, Bands * RowsPerBand);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, picture.height());
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    gradient.setColorAt(1, QColor(0x5b, 0x9b, 0xd5));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setPointSize(28);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, 70, picture.width(), 60), Qt::AlignCenter, QStringLiteral("Vantrel"));
    QFont subtitle = painter.font();
    subtitle.setPointSize(16);
    subtitle.setBold(false);
    painter.setFont(subtitle);
    painter.drawText(QRect(0, 140, picture.width(), 40), Qt::AlignCenter,
                     QStringLiteral("进销存管理系统  V1.0"));
    subtitle.setPointSize(10);
    painter.setFont(subtitle);
    painter.drawText(QRect(0, 240, picture.width(), 30), Qt::AlignCenter,
                     QStringLiteral("正在启动，请稍候……"));
    return picture;
}
