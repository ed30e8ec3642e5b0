#include "runtime/Conversions.h"

#include "runtime/RuntimeError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace rt {
namespace {

constexpr uint64_t kMax16 = 0xFFFF;
constexpr uint64_t kMax32 = 0xFFFFFFFF;
constexpr int64_t kExponentCap = 1000000;  // far beyond any double; keeps the sum from overflowing

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int digitValue(QChar c, int radix) {
  const char16_t u = c.unicode();
  int v = -1;
  if (u >= '0' && u <= '9') v = u - '0';
  else if (u >= 'a' && u <= 'f') v = u - 'a' + 10;
  else if (u >= 'A' && u <= 'F') v = u - 'A' + 10;
  return v >= 0 && v < radix ? v : -1;
}

// A number read from the start of a text. `end` is where reading stopped; 0 when no number
// starts there.
struct Scan {
  qsizetype end = 0;
  bool overflow = false;
  double value = 0;
};

// "&H" hexadecimal or "&O" octal at the start of `s`. Values up to 16 bits are 16-bit two's
// complement (&HFFFF is -1), up to 32 bits 32-bit two's complement, beyond that an overflow.
Scan scanRadix(const QString& s) {
  Scan scan;
  if (s.size() < 3 || s[0] != QLatin1Char('&')) return scan;
  const QChar kind = s[1].toUpper();
  const int radix = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
  if (radix == 0) return scan;
  uint64_t v = 0;
  qsizetype i = 2;
  for (; i < s.size() && digitValue(s[i], radix) >= 0; ++i) {
    if (v <= kMax32) v = v * radix + digitValue(s[i], radix);
  }
  if (i == 2) return scan;
  scan.end = i;
  if (v > kMax32) {
    scan.overflow = true;
  } else if (v <= kMax16) {
    scan.value = static_cast<int16_t>(static_cast<uint16_t>(v));
  } else {
    scan.value = static_cast<int32_t>(static_cast<uint32_t>(v));
  }
  return scan;
}

// The decimal number at the start of `s`: optional sign, digits with an optional decimal point
// ("." always, "," when `commaIsPoint`), then an exponent ("e", and "d" when `dExponent`)
// only when digits follow it. Values too large for a double are an overflow; too small ones 0.
Scan scanDecimal(const QString& s, bool commaIsPoint, bool dExponent) {
  Scan scan;
  std::string ascii;
  qsizetype i = 0;
  const qsizetype n = s.size();
  if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
    if (s[i] == QLatin1Char('-')) ascii += '-';
    ++i;
  }
  bool digits = false;
  int64_t magnitude = 0;  // decimal position of the first significant digit, roughly
  bool significant = false;
  for (; i < n && isAsciiDigit(s[i]); ++i) {
    digits = true;
    significant = significant || s[i] != QLatin1Char('0');
    if (significant) ++magnitude;
    ascii += static_cast<char>(s[i].unicode());
  }
  if (i < n && (s[i] == QLatin1Char('.') || (commaIsPoint && s[i] == QLatin1Char(',')))) {
    ascii += '.';
    for (++i; i < n && isAsciiDigit(s[i]); ++i) {
      digits = true;
      if (!significant && s[i] == QLatin1Char('0')) --magnitude;
      significant = significant || s[i] != QLatin1Char('0');
      ascii += static_cast<char>(s[i].unicode());
    }
  }
  if (!digits) return scan;
  scan.end = i;
  const QChar marker = i < n ? s[i].toLower() : QChar();
  if (marker == QLatin1Char('e') || (dExponent && marker == QLatin1Char('d'))) {
    qsizetype j = i + 1;
    std::string exponent = "e";
    bool negative = false;
    if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) {
      negative = s[j] == QLatin1Char('-');
      if (negative) exponent += '-';
      ++j;
    }
    int64_t e = 0;
    const qsizetype firstDigit = j;
    for (; j < n && isAsciiDigit(s[j]); ++j) {
      e = std::min<int64_t>(e * 10 + (s[j].unicode() - '0'), kExponentCap);
      exponent += static_cast<char>(s[j].unicode());
    }
    if (j > firstDigit) {
      ascii += exponent;
      magnitude += negative ? -e : e;
      scan.end = j;
    }
  }
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), scan.value);
  if (result.ec == std::errc::result_out_of_range) {
    if (significant && magnitude > 0) scan.overflow = true;
    else scan.value = ascii[0] == '-' ? -0.0 : 0.0;
  }
  return scan;
}

enum class Reading { Number, NotANumber, TooLarge };

// Reads the whole text (blanks around ignored) as a number.
Reading readWhole(const QString& text, double* value) {
  const QString s = text.trimmed();
  Scan scan = scanRadix(s);
  if (scan.end == 0) scan = scanDecimal(s, /*commaIsPoint=*/true, /*dExponent=*/false);
  if (scan.end == 0 || scan.end != s.size()) return Reading::NotANumber;
  if (scan.overflow) return Reading::TooLarge;
  *value = scan.value;
  return Reading::Number;
}

template <typename T>
T toInteger(double value) {
  if (std::isnan(value)) raise(ErrOverflow);
  const double r = roundHalfEven(value);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max())) {
    raise(ErrOverflow);
  }
  return static_cast<T>(r);
}

}  // namespace

bool toFlag(const QString& text) {
  const QString s = text.trimmed();
  if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
      s.compare(QLatin1String("Vrai"), Qt::CaseInsensitive) == 0) {
    return true;
  }
  if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
      s.compare(QLatin1String("Faux"), Qt::CaseInsensitive) == 0) {
    return false;
  }
  return toDouble(s) != 0.0;
}

uint8_t toByte(const QString& text) { return toByte(toDouble(text)); }
int16_t toInt16(const QString& text) { return toInt16(toDouble(text)); }
int32_t toInt32(const QString& text) { return toInt32(toDouble(text)); }

uint8_t toByte(double value) { return toInteger<uint8_t>(value); }
int16_t toInt16(double value) { return toInteger<int16_t>(value); }
int32_t toInt32(double value) { return toInteger<int32_t>(value); }

double roundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double below = std::floor(value);
  const double rest = value - below;
  if (rest < 0.5) return below;
  if (rest > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

bool isNumeric(const QString& text) {
  double value = 0;
  return readWhole(text, &value) == Reading::Number;
}

double toDouble(const QString& text) {
  double value = 0;
  switch (readWhole(text, &value)) {
    case Reading::Number: return value;
    case Reading::TooLarge: raise(ErrOverflow);
    case Reading::NotANumber: break;
  }
  raise(ErrTypeMismatch);
}

double leadingNumber(const QString& text) {
  const std::optional<double> value = leadingNumberIfInRange(text);
  if (!value) raise(ErrOverflow);
  return *value;
}

std::optional<double> leadingNumberIfInRange(const QString& text) {
  QString s;
  s.reserve(text.size());
  for (QChar c : text) {
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) s += c;
  }
  Scan scan = scanRadix(s);
  if (scan.end == 0) scan = scanDecimal(s, /*commaIsPoint=*/false, /*dExponent=*/true);
  if (scan.overflow) return std::nullopt;
  return scan.value;
}

QString numberToText(double value) {
  if (!std::isfinite(value)) raise(ErrOverflow);
  if (value == 0.0) return QStringLiteral("0");  // also for -0
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace rt
