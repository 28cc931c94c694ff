#pragma once

#include <QString>
#include <QStringList>

class DataGrid;
class QWidget;
class TFrm_Main;

namespace testing {

// Runs a main window command and returns the open child screen with the given caption once it
// is visible, or null.
QWidget* openChildScreen(TFrm_Main* main, const QString& command, const QString& caption);

// The values of a field over the grid's rows, in grid order.
QStringList gridColumn(const DataGrid* grid, const QString& field);

} // namespace testing
