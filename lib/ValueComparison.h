#pragma once
// Ordering of self-describing values (QVariant) for the typed minimum and maximum.
//
// Each value is first classified:
//   date (QDateTime, QDate, QTime)                    -> date, by its moment
//   text that reads as a number                       -> number
//   text that reads as a date (and not as a number)   -> date
//   other text (QString, QChar)                       -> text, compared by character codes
//   integers, floating values                         -> number
//   boolean                                           -> number (true = 1, false = 0)
//   anything else (empty, null, object, array...)     -> other
// Two numbers, two dates or two texts compare within their kind. Any other pair follows the
// runtime's general comparison, which looks at how each value is held: two values held as
// text compare as texts, a text (even one that reads as a number or a date) sorts after a
// number or a date, empty reads as "" beside a text and as 0 beside anything else; a
// comparison with null is never true; objects, arrays and other values cannot be compared (13).

#include <QVariant>

namespace orvo {

// True when a is greater than b under the rules above. Raises 13 for incomparable values.
bool valueGreater(const QVariant& a, const QVariant& b);

}  // namespace orvo
