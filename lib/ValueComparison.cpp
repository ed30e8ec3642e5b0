#include "lib/ValueComparison.h"

#include "lib/ArgumentValues.h"
#include "runtime/Conversions.h"
#include "runtime/DateValue.h"
#include "runtime/RuntimeError.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>

namespace orvo {
namespace {

enum class Kind { Number, Date, Text, Empty, Null, Incomparable };

struct Classified {
  Kind kind = Kind::Incomparable;
  double number = 0.0;  // numbers, and dates as a position on the time line in days
  QString text;         // every value held as text, whatever it reads as
  bool heldAsText = false;
};

constexpr qint64 kMsecsPerDay = 86400000;

double timeFraction(const QTime& time) {
  return static_cast<double>(time.msecsSinceStartOfDay()) / static_cast<double>(kMsecsPerDay);
}

double dayNumber(const QDate& date) {
  return static_cast<double>(QDate(1899, 12, 30).daysTo(date));
}

// A date value puts the time of day after a negative day count as a positive fraction
// (-1.25 is 1899-12-29 06:00); on the time line that moment is -0.75.
double timeLine(rt::DateValue value) {
  const double day = std::trunc(value);
  return day + std::fabs(value - day);
}

Classified classifyText(const QString& text) {
  if (rt::isNumeric(text)) return {Kind::Number, rt::toDouble(text), text, true};
  if (auto date = rt::readDate(text)) return {Kind::Date, timeLine(*date), text, true};
  return {Kind::Text, 0.0, text, true};
}

Classified classify(const QVariant& value) {
  if (!value.isValid()) return {Kind::Empty, 0.0, {}};
  const int type = value.typeId();
  if (type == QMetaType::Nullptr) return {Kind::Null, 0.0, {}};
  if (type == QMetaType::Bool) return {Kind::Number, value.toBool() ? 1.0 : 0.0, {}};
  if (isNumberType(type)) return {Kind::Number, value.toDouble(), {}};
  if (type == QMetaType::QString || type == QMetaType::QChar) return classifyText(value.toString());
  if (type == QMetaType::QDateTime) {
    const QDateTime moment = value.toDateTime();
    return {Kind::Date, dayNumber(moment.date()) + timeFraction(moment.time()), {}};
  }
  if (type == QMetaType::QDate) return {Kind::Date, dayNumber(value.toDate()), {}};
  if (type == QMetaType::QTime) return {Kind::Date, timeFraction(value.toTime()), {}};
  return {};
}

// The runtime's general comparison, for values of different kinds. It looks at how each value
// is held, not at what a text reads as: two texts compare as texts, two numbers or dates as
// numbers, and a text is greater than a number or a date. Empty is "" beside a text and 0
// beside anything else; two empties are equal.
bool generalGreater(const Classified& a, const Classified& b) {
  if (a.kind == Kind::Empty && b.kind == Kind::Empty) return false;
  const bool aText = a.heldAsText || (a.kind == Kind::Empty && b.heldAsText);
  const bool bText = b.heldAsText || (b.kind == Kind::Empty && a.heldAsText);
  if (aText && bText) return a.text > b.text;
  if (aText != bText) return aText;
  return a.number > b.number;
}

}  // namespace

bool valueGreater(const QVariant& a, const QVariant& b) {
  const Classified ca = classify(a);
  const Classified cb = classify(b);
  if (ca.kind == Kind::Null || cb.kind == Kind::Null) {
    if (ca.kind == Kind::Incomparable || cb.kind == Kind::Incomparable) rt::raise(rt::ErrTypeMismatch);
    return false;
  }
  if (ca.kind == Kind::Incomparable || cb.kind == Kind::Incomparable) rt::raise(rt::ErrTypeMismatch);
  const bool sameKind = ca.kind == cb.kind && ca.kind != Kind::Empty;
  if (!sameKind) return generalGreater(ca, cb);
  if (ca.kind == Kind::Text) return ca.text > cb.text;
  return ca.number > cb.number;
}

}  // namespace orvo
