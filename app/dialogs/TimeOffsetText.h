#pragma once
// The camera clock correction as the parameters dialog shows it and the rename operation reads
// it: two times typed as dates ("Heure EXIF", "Heure réelle de prise de vue") and the
// difference between them.

#include <QString>

#include <optional>

namespace TimeOffset {

// The correction in days: realText − exifText, both read as dates (rt::readDate); nullopt when
// either does not read as a date. Exact across 1899-12-30, where date values change sign.
std::optional<double> Between(const QString& exifText, const QString& realText);

// The difference as the dialog shows it, without direction: "<days>j " when it is one day or
// more, then "hh" "h " "mm" "m " "ss" "s" (two digits each), e.g. "1j 00h 00m 00s",
// "01h 30m 15s". "" when either text does not read as a date.
QString DifferenceText(const QString& first, const QString& second);

}  // namespace TimeOffset
