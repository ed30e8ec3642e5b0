#include "app/naming/NameComposition.h"

#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <cstdlib>
#include <limits>

namespace {

void appendField(QString& body, bool present, const QString& sGDH, int position, int length,
                 const QString& separator) {
  if (!present) return;
  body += sGDH.mid(position, length);
  body += separator;
}

QString numericSuffix(int32_t n, const QString& pattern) {
  const int width = static_cast<int>(pattern.count(QLatin1Char('0')));
  const int64_t magnitude = std::llabs(static_cast<int64_t>(n));
  QString digits = QString::number(magnitude).rightJustified(width, QLatin1Char('0'));
  return n < 0 ? QLatin1Char('-') + digits : digits;
}

// Letters of a count k >= 0 where "A" is 0, filled with "A" up to width.
QString letters(int64_t k, qsizetype width) {
  QString result;
  do {
    result.prepend(QChar(static_cast<char16_t>(u'A' + k % 26)));
    k /= 26;
  } while (k != 0);
  while (result.size() < width) result.prepend(QLatin1Char('A'));
  return result;
}

QString letterSuffix(int32_t n, const QString& pattern) {
  if (n == std::numeric_limits<int32_t>::min()) rt::raise(rt::ErrOverflow);  // n - 1 overflows
  const int64_t k = static_cast<int64_t>(n) - 1;
  if (k >= 0) return letters(k, pattern.size());
  return QLatin1Char('-') + letters(-k, pattern.size());
}

}  // namespace

QString ComposeNameBody(const NameLayout& layout, const QString& sGDH) {
  QString body = layout.prefix;
  appendField(body, layout.year, sGDH, 0, 4, layout.sepAfterYear);
  appendField(body, layout.month, sGDH, 4, 2, layout.sepAfterMonth);
  appendField(body, layout.day, sGDH, 6, 2, QString());
  const bool anyTime = layout.hour || layout.minute || layout.second;
  if (!body.isEmpty() && anyTime) body += layout.dateTimeSep;
  appendField(body, layout.hour, sGDH, 8, 2, layout.sepAfterHour);
  appendField(body, layout.minute, sGDH, 10, 2, layout.sepAfterMinute);
  appendField(body, layout.second, sGDH, 12, 2, QString());
  return body + layout.postfix;
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
  try {
    if (rt::isNumeric(pattern)) return numericSuffix(n, pattern);
    return letterSuffix(n, pattern);
  } catch (...) {
    ErrorHandling::ShowCurrentException(QStringLiteral("Global.FormatIndice"));
    return QString();
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
