#pragma once
// The texts that tell the user how a rename ended, for the window and the command-line tool
// alike: the failure with its real reason, how many files got their old names back, which
// could not and why, which vanished, the files left alone, and one closing line saying what to
// do next. Long lists show their first entries, then "… et N autres".

#include "app/naming/RenameEngine.h"

#include <QString>
#include <QStringList>

#include <vector>

// The first `shown` lines, then "… et N autres" when there are more.
QStringList SummarisedList(const QStringList& lines, int shown = 10);

// "« path » : reason" for each file left alone, summarised; "" when there is none.
QString LeftAloneReport(const std::vector<RenameNotice>& leftAlone);

// The whole report of a failed run, one fact per line, ending with what to do next.
QString RenameFailureReport(const RenameFailure& failure);
