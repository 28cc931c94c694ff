#include "platform/widgets/lb_button.h"

#include <QMenu>

LbButton::LbButton(QWidget* parent)
    : LbButton(QString(), parent) {}

LbButton::LbButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
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
