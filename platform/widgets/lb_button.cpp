#include "platform/widgets/lb_button.h"

#include <QMenu>

LbButton::LbButton(QWidget* parent)
    : LbButton(QString(), parent) {}

LbButton::LbButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    // Flat, yet recognisable as a button: a light frame that lights up under the mouse.
    setStyleSheet(QStringLiteral(
        "LbButton { border: 1px solid #b7c3d3; border-radius: 4px; padding: 4px 12px;"
        " background: #f4f7fb; }"
        "LbButton:hover { background: #e3ecf8; border-color: #7a9cc6; }"
        "LbButton:pressed { background: #cfdcf0; }"
        "LbButton:disabled { color: #9a9a9a; border-color: #d5d5d5; }"));
    connect(this, &QPushButton::clicked, this, [this] { runClick(); });
}

void LbButton::setClickHandler(ClickHandler handler) {
    m_handler = std::move(handler);
}

void LbButton::setDropDownMenu(QMenu* menu) {
    m_menu = menu;
}

void LbButton::runClick() {
    if (m_handler && !m_handler()) {
        Q_EMIT abandoned();
        return;
    }
    if (!m_menu) {
        return;
    }
    Q_EMIT menuAboutToOpen();
    m_menu->popup(mapToGlobal(QPoint(0, height())));
}
