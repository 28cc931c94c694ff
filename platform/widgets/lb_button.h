#pragma once

#include <QMenu>
#include <QPointer>
#include <QPushButton>

#include <functional>

// Flat command button. A click runs the click handler first; unless the handler abandons the
// operation (returns false), the attached drop-down menu then opens just below the button.
// A button without a handler simply opens its menu.
class LbButton : public QPushButton {
    Q_OBJECT

public:
    using ClickHandler = std::function<bool()>;

    explicit LbButton(QWidget* parent = nullptr);
    explicit LbButton(const QString& text, QWidget* parent = nullptr);

    // The handler returns false to abandon the operation (the menu then stays closed).
    void setClickHandler(ClickHandler handler);
    bool hasClickHandler() const { return static_cast<bool>(m_handler); }

    // The menu is not owned; it opens after the handler, not on press as QPushButton::setMenu.
    void setDropDownMenu(QMenu* menu);
    QMenu* dropDownMenu() const { return m_menu; }

Q_SIGNALS:
    // Emitted after the handler agreed, just before the attached menu pops up.
    void menuAboutToOpen();
    // Emitted when the handler abandoned the operation.
    void abandoned();

private:
    void runClick();

    ClickHandler m_handler;
    QPointer<QMenu> m_menu;
};
