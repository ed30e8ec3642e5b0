#pragma once
// Output of tindra-cli: result lines on standard output, messages on standard error, each
// flushed as soon as it is written; errors of the program's error reporter are shown on
// standard error with the file they concern.

#include "runtime/DateValue.h"

#include <QString>

namespace cli {

// One result line (a line feed is added).
void printLine(const QString& line);

// "tindra-cli : " + message on standard error.
void printError(const QString& message);

// Routes the error reporter to standard error; every message shown there marks the run as
// failed.
void installErrorPresenter();

// The file the next reported errors concern ("" for none).
void setCurrentFile(const QString& path);

// True once a file-level failure was reported (by the error reporter or markFailed).
bool failed();
void markFailed();

// A date value as "yyyy-mm-dd hh:mm:ss"; "" when absent (0) or outside the date range.
QString dateField(rt::DateValue value);

}  // namespace cli
