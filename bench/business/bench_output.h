#pragma once

#include <QString>

#include <functional>

// What the business benchmarks share: timing a piece of work and printing figures.

// A field of /proc/self/status in kB ("VmHWM:", "VmRSS:"), -1 when unknown.
long statusKb(const char* key);

// One line of figures: what was timed, milliseconds, and a note.
void line(const QString& what, double ms, const QString& note = QString());

// The peak and current memory of the process.
void memory(const QString& when);

// Milliseconds the work took.
double timed(const std::function<void()>& work);
