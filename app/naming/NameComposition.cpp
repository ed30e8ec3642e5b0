#include "app/naming/NameComposition.h"

#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QVarLengthArray>

#include <cstdlib>
#include <limits>

namespace {

// A name body as it is written, without an allocation for usual lengths.
using BodyText = QVarLengthArray<QChar, 64>;

void append(BodyText& body, QStringView text) { body.append(text.data(), text.size()); }

void appendField(BodyText& body, bool present, QStringView sGDH, int position, int length, QStringView separator) {
  if (!present) return;
  append(body, sGDH.mid(position, length));
  append(body, separator);
}

// The digits of magnitude in the given base, written by digit(d), filled with fill up to width.
template <typename Digit>
void appendPlaces(IndiceText& out, uint64_t magnitude, uint64_t base, qsizetype width, char16_t fill, Digit digit) {
  char16_t places[64];
  qsizetype count = 0;
  do {
    places[count++] = digit(magnitude % base);
    magnitude /= base;
  } while (magnitude != 0);
  for (qsizetype i = count; i < width; ++i) out += QChar(fill);
  while (count > 0) out += QChar(places[--count]);
}

void appendNumeric(IndiceText& out, int32_t n, const QString& pattern) {
  const qsizetype width = pattern.count(QLatin1Char('0'));
  if (n < 0) out += QLatin1Char('-');
  const uint64_t magnitude = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(n)));
  appendPlaces(out, magnitude, 10, width, u'0', [](uint64_t d) { return static_cast<char16_t>(u'0' + d); });
}

// Letters of a count where "A" is 0, filled with "A" up to the pattern's length.
void appendLetters(IndiceText& out, int32_t n, const QString& pattern) {
  if (n == std::numeric_limits<int32_t>::min()) rt::raise(rt::ErrOverflow);  // n - 1 overflows
  const int64_t k = static_cast<int64_t>(n) - 1;
  if (k < 0) out += QLatin1Char('-');
  appendPlaces(out, static_cast<uint64_t>(k < 0 ? -k : k), 26, pattern.size(), u'A',
               [](uint64_t d) { return static_cast<char16_t>(u'A' + d); });
}

// A pattern of zeros only is numeric; one of "X" only is not; others are read as numbers.
bool numericPattern(const QString& pattern) {
  if (!pattern.isEmpty() && pattern.count(QLatin1Char('0')) == pattern.size()) return true;
  if (pattern.count(QLatin1Char('X')) == pattern.size()) return false;
  return rt::isNumeric(pattern);
}

}  // namespace

QString ComposeNameBody(const NameLayout& layout, const QString& sGDH) {
  BodyText body;
  append(body, layout.prefix);
  appendField(body, layout.year, sGDH, 0, 4, layout.sepAfterYear);
  appendField(body, layout.month, sGDH, 4, 2, layout.sepAfterMonth);
  appendField(body, layout.day, sGDH, 6, 2, {});
  const bool anyTime = layout.hour || layout.minute || layout.second;
  if (!body.isEmpty() && anyTime) append(body, layout.dateTimeSep);
  appendField(body, layout.hour, sGDH, 8, 2, layout.sepAfterHour);
  appendField(body, layout.minute, sGDH, 10, 2, layout.sepAfterMinute);
  appendField(body, layout.second, sGDH, 12, 2, {});
  append(body, layout.postfix);
  return QString(body.constData(), body.size());
}

QString ConfigClass::FormatName(const QString& sGDH) const {
  NameLayout layout;
  layout.prefix = prefix_;
  layout.year = isDateDigit_[0];
  layout.month = isDateDigit_[1];
  layout.day = isDateDigit_[2];
  layout.sepAfterYear = isDateSep_[0] ? dateSep_ : QString();
  layout.sepAfterMonth = isDateSep_[1] ? dateSep_ : QString();
  layout.dateTimeSep = dateTimeSep_;
  layout.hour = isTimeDigit_[0];
  layout.minute = isTimeDigit_[1];
  layout.second = isTimeDigit_[2];
  layout.sepAfterHour = isTimeSep_[0] ? timeSep_ : QString();
  layout.sepAfterMinute = isTimeSep_[1] ? timeSep_ : QString();
  layout.postfix = postfix_;
  return ComposeNameBody(layout, sGDH);
}

QString SuffixPattern(uint8_t digits, uint8_t suffixType) {
  return QString(digits, suffixType == 0 ? QLatin1Char('X') : QLatin1Char('0'));
}

QString FormatIndice(int32_t n, const QString& pattern) {
  IndiceText suffix;
  AppendIndice(suffix, n, pattern);
  return suffix.isEmpty() ? QString() : QString(suffix.constData(), suffix.size());
}

void AppendIndice(IndiceText& name, int32_t n, const QString& pattern) {
  try {
    if (numericPattern(pattern))
      appendNumeric(name, n, pattern);
    else
      appendLetters(name, n, pattern);
  } catch (...) {
    ErrorHandling::ShowCurrentException(QStringLiteral("Global.FormatIndice"));
  }
}

QString ExtensionText(const QString& fileExt, uint8_t extension) {
  const QString text = QLatin1Char('.') + fileExt;
  if (extension == 1) return text.toUpper();
  if (extension == 2) return text.toLower();
  return text;
}

uint16_t FilterFileName(uint16_t key) {
  if (key == 8) return key;
  if (key < 32) return 0;
  switch (key) {
    case u'"': case u'*': case u'.': case u'/': case u':':
    case u'<': case u'>': case u'?': case u'\\': case u'|':
      return 0;
    default:
      return key;
  }
}
