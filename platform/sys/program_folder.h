#pragma once

#include <QString>

namespace sys {

// The program folder: where the database, the report layouts and both programs live. It is
// the folder of the running executable, unless the environment variable MERCHDESK_HOME names
// another (tests and benchmarks set it).
QString programFolder();

// A file in the program folder.
QString programFile(const QString& name);

} // namespace sys
