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
  QString text;
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
  if (rt::isNumeric(text)) return {Kind::Number, rt::toDouble(text), {}};
  if (auto date = rt::readDate(text)) return {Kind::Date, timeLine(*date), {}};
  return {Kind::Text, 0.0, text};
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

bool isNumeric(Kind kind) { return kind == Kind::Number || kind == Kind::Date; }

}  // namespace

bool valueGreater(const QVariant& a, const QVariant& b) {
  Classified ca = classify(a);
  Classified cb = classify(b);
  if (ca.kind == Kind::Null || cb.kind == Kind::Null) {
    if (ca.kind == Kind::Incomparable || cb.kind == Kind::Incomparable) rt::raise(rt::ErrTypeMismatch);
    return false;
  }
  if (ca.kind == Kind::Incomparable || cb.kind == Kind::Incomparable) rt::raise(rt::ErrTypeMismatch);
  // Empty takes the kind of the other side (0 or ""); two empties are equal.
  if (ca.kind == Kind::Empty && cb.kind == Kind::Empty) return false;
  if (ca.kind == Kind::Empty) ca.kind = cb.kind == Kind::Text ? Kind::Text : Kind::Number;
  if (cb.kind == Kind::Empty) cb.kind = ca.kind == Kind::Text ? Kind::Text : Kind::Number;
  if (ca.kind == Kind::Text && cb.kind == Kind::Text) return ca.text > cb.text;
  if (isNumeric(ca.kind) && isNumeric(cb.kind)) return ca.number > cb.number;
  // A number or a date against a text: the text is the greater.
  return ca.kind == Kind::Text;
}

}  // namespace orvo
