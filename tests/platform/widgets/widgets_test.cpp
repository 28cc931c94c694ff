#include "platform/widgets/date_edit.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "platform/widgets/number_text.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

class WidgetsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { FileDialog::clearAnswers(); }

    void numberEditTyping_data();
    void numberEditTyping();
    void numberEditEmptyState();
    void numberEditKeepsAssignedValuesWhole_data();
    void numberEditKeepsAssignedValuesWhole();
    void numberEditSignals();
    void formatNumber_data();
    void formatNumber();

    void lbButtonRunsHandlerThenMenu_data();
    void lbButtonRunsHandlerThenMenu();

    void dateEditShowsShortDate();

    void fileDialogAnswers();
    void fileDialogFilterConversion();
};

void WidgetsTest::numberEditTyping_data() {
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("two places cut third decimal") << 2 << "12.345"
                                                  << "12.34";
    QTest::newRow("four places") << 4 << "0.33333"
                                 << "0.3333";
    QTest::newRow("zero places refuses point digits") << 0 << "7.5"
                                                      << "7.";
    QTest::newRow("letters refused") << 2 << "1a2b.c5"
                                     << "12.5";
    QTest::newRow("second point refused") << 2 << "1.2.3"
                                          << "1.23";
    QTest::newRow("leading minus only") << 2 << "-5-3"
                                        << "-53";
    QTest::newRow("exponent refused") << 2 << "1e5"
                                      << "15";
    QTest::newRow("comma refused") << 2 << "3,5"
                                   << "35";
}

void WidgetsTest::numberEditTyping() {
    QFETCH(int, places);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    NumberEdit edit;
    if (places != 2) {
        edit.setDecimalPlaces(places);
    }
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), shown);
}

void WidgetsTest::numberEditEmptyState() {
    NumberEdit edit;
    QVERIFY(!edit.value().has_value());
    QVERIFY(edit.isEmpty());

    QTest::keyClicks(&edit, QStringLiteral("-"));
    QVERIFY(!edit.value().has_value()); // an unfinished number is no value

    QTest::keyClicks(&edit, QStringLiteral("2.5"));
    QCOMPARE(edit.value(), std::optional<double>(-2.5));

    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QVERIFY(!edit.value().has_value());

    edit.setValue(3.0);
    edit.setValue(std::optional<double>());
    QVERIFY(edit.isEmpty());
}

void WidgetsTest::numberEditKeepsAssignedValuesWhole_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");

    QTest::newRow("product not rounded") << 0.3333 * 3 << "0.9999";
    QTest::newRow("whole number") << 2.5 * 4 << "10";
    QTest::newRow("one decimal") << 12.5 << "12.5";
    QTest::newRow("more decimals than the limit") << 1.23456 << "1.23456";
    QTest::newRow("large, no exponent") << 123456789012.0 << "123456789012";
    QTest::newRow("small, no exponent") << 0.00001 << "0.00001";
    QTest::newRow("negative") << -3.75 << "-3.75";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("binary fraction noise") << 0.1 + 0.2 << "0.3";
}

void WidgetsTest::numberEditKeepsAssignedValuesWhole() {
    QFETCH(double, value);
    QFETCH(QString, shown);
    NumberEdit edit;
    edit.setValue(value);
    QCOMPARE(edit.text(), shown);
    QVERIFY(std::abs(*edit.value() - value) < 1e-12);

    // A whole value with more decimals than the limit stays editable: typing in front of it
    // does not add decimals, so it is accepted.
    if (shown == QLatin1String("1.23456")) {
        edit.setCursorPosition(0);
        QTest::keyClicks(&edit, QStringLiteral("9"));
        QCOMPARE(edit.text(), QStringLiteral("91.23456"));
        edit.end(false);
        QTest::keyClicks(&edit, QStringLiteral("7"));
        QCOMPARE(edit.text(), QStringLiteral("91.23456"));
    }
}

void WidgetsTest::numberEditSignals() {
    NumberEdit edit;
    QSignalSpy changed(&edit, &NumberEdit::valueChanged);
    QSignalSpy focused(&edit, &NumberEdit::focusEntered);
    QTest::keyClicks(&edit, QStringLiteral("4"));
    edit.setValue(5.0);
    QCOMPARE(changed.count(), 2);

    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &focusIn);
    QCOMPARE(focused.count(), 1);
}

void WidgetsTest::formatNumber_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");

    QTest::newRow("fixed two") << 3.5 << "0.00"
                               << "3.50";
    QTest::newRow("fixed rounds") << 2.005 << "0.00"
                                  << "2.00"; // 2.005 is 2.00499.. in binary
    QTest::newRow("grouping") << -1234567.891 << "#,##0.00"
                              << "-1,234,567.89";
    QTest::newRow("optional decimals") << 12.5 << "0.####"
                                       << "12.5";
    QTest::newRow("optional decimals whole") << 12.0 << "0.##"
                                             << "12";
    QTest::newRow("negative zero") << -0.001 << "0.00"
                                   << "0.00";
    QTest::newRow("no pattern") << 1e20 << ""
                                << "100000000000000000000";
}

void WidgetsTest::formatNumber() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(::formatNumber(value, pattern), text);
}

void WidgetsTest::lbButtonRunsHandlerThenMenu_data() {
    QTest::addColumn<int>("handler"); // 0 none, 1 agrees, 2 abandons
    QTest::addColumn<bool>("menuOpens");

    QTest::newRow("no handler") << 0 << true;
    QTest::newRow("handler agrees") << 1 << true;
    QTest::newRow("handler abandons") << 2 << false;
}

void WidgetsTest::lbButtonRunsHandlerThenMenu() {
    QFETCH(int, handler);
    QFETCH(bool, menuOpens);

    QWidget window;
    auto* button = new LbButton(QStringLiteral("设计报表"), &window);
    button->setGeometry(10, 20, 80, 24);
    QMenu menu;
    menu.addAction(QStringLiteral("报表一"));
    button->setDropDownMenu(&menu);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    int calls = 0;
    bool menuVisibleDuringHandler = false;
    if (handler != 0) {
        button->setClickHandler([&] {
            ++calls;
            menuVisibleDuringHandler = menu.isVisible();
            return handler == 1;
        });
    }
    QSignalSpy opening(button, &LbButton::menuAboutToOpen);
    QTest::mouseClick(button, Qt::LeftButton);

    QCOMPARE(calls, handler == 0 ? 0 : 1);
    QVERIFY(!menuVisibleDuringHandler);
    QCOMPARE(opening.count(), menuOpens ? 1 : 0);
    QCOMPARE(menu.isVisible(), menuOpens);
    if (menuOpens) {
        QCOMPARE(menu.pos().y(), button->mapToGlobal(QPoint(0, button->height())).y());
    }
    menu.hide();
}

void WidgetsTest::dateEditShowsShortDate() {
    DateEdit edit(QDate(2007, 8, 5));
    QCOMPARE(edit.text(), QStringLiteral("2007-08-05"));
    QCOMPARE(edit.dateText(), QStringLiteral("2007-08-05"));
    QVERIFY(edit.calendarPopup());
    QCOMPARE(edit.displayedSections(),
             QDateTimeEdit::YearSection | QDateTimeEdit::MonthSection | QDateTimeEdit::DaySection);
}

void WidgetsTest::fileDialogAnswers() {
    const QString filters =
        QStringLiteral("Microsoft Excel 文件(*.xls)|*.XLS|文本文件(*.txt)|*.TXT|"
                       "Csv文件(*.csv)|*.Csv");
    FileDialog::setNextAnswer(QStringLiteral("/tmp/a"), 3);
    FileDialog::setNextCancel();
    FileDialog::setNextAnswer(QStringLiteral("/tmp/b.csv"), 2);

    int index = -1;
    QCOMPARE(FileDialog::getSaveFileName(nullptr, QStringLiteral("导出"), QStringLiteral("进货单"),
                                         filters, QStringLiteral("xls"), &index),
             QStringLiteral("/tmp/a.xls"));
    QCOMPARE(index, 3);
    QCOMPARE(FileDialog::lastRequest().presetName, QStringLiteral("进货单"));
    QCOMPARE(FileDialog::lastRequest().filters, filters);

    QVERIFY(FileDialog::getSaveFileName(nullptr, {}, {}, filters, QStringLiteral("xls"), &index)
                .isEmpty());
    QCOMPARE(index, 0);

    QCOMPARE(FileDialog::getOpenFileName(nullptr, {}, {}, filters, &index),
             QStringLiteral("/tmp/b.csv"));
    QCOMPARE(index, 2);
    QVERIFY(!FileDialog::hasPendingAnswers());
}

void WidgetsTest::fileDialogFilterConversion() {
    QCOMPARE(FileDialog::toNameFilters(QStringLiteral(
                 "Microsoft Excel 文件(*.xls)|*.XLS|数据文件|*.db|HTML文件(*.htm)|*.htm")),
             QStringList({QStringLiteral("Microsoft Excel 文件(*.xls)"),
                          QStringLiteral("数据文件 (*.db)"), QStringLiteral("HTML文件(*.htm)")}));
}

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
