#pragma once

#include <QString>

class QWidget;
class TFrm_Main;

namespace testing {
class AppFixture;
}

namespace screenshots {

// Users, company details and business lines that make the pictures look like a shop's.
void fillSampleData(testing::AppFixture& fixture);

// Opens each business screen in the main window and saves it through the given function.
void saveScreens(TFrm_Main* main, void (*save)(QWidget*, const QString&));

} // namespace screenshots
