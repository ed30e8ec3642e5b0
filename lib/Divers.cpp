#include "lib/Divers.h"

#include "lib/ArgumentValues.h"
#include "lib/Global.h"
#include "lib/ProgramLauncher.h"
#include "lib/ValueComparison.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QLocale>

#include <cmath>
#include <limits>
#include <optional>

namespace orvo {
namespace {

constexpr QChar kNoBreakSpace(0x00A0);

// The first character of a locale text, or def when the locale gives none.
QString firstCharacterOr(const QString& text, const QString& def) {
  return text.isEmpty() ? def : text.left(1);
}

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Reads the whole text as a number written the locale's way: blanks around, an optional
// sign, digits in which the thousands separator may stand between two digits, an optional
// decimal separator followed by digits, an optional exponent. nullopt for anything else.
std::optional<double> readLocaleNumber(const QString& text, QChar decimal, QChar thousands) {
  const QString t = text.trimmed();
  QString plain;  // the number rewritten with "." as decimal point
  qsizetype i = 0;
  if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) plain += t[i++];
  bool digits = false;
  bool fraction = false;
  for (; i < t.size(); ++i) {
    const QChar c = t[i];
    if (isAsciiDigit(c)) {
      plain += c;
      digits = true;
    } else if (c == decimal && !fraction) {
      plain += QLatin1Char('.');
      fraction = true;
    } else if (c == thousands && !fraction && i > 0 && isAsciiDigit(t[i - 1]) &&
               i + 1 < t.size() && isAsciiDigit(t[i + 1])) {
      continue;
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
    plain += QLatin1Char('e');
    ++i;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) plain += t[i++];
    const qsizetype exponentStart = i;
    while (i < t.size() && isAsciiDigit(t[i])) plain += t[i++];
    if (i == exponentStart) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  // plain is well formed here: a failed reading is a value too small to be told from 0, or
  // one beyond the double range, which is no number the runtime recognises.
  bool ok = false;
  const double value = plain.toDouble(&ok);
  if (!std::isfinite(value)) return std::nullopt;
  return ok ? value : 0.0;
}

// "&H" hexadecimal and "&O" octal texts, which the runtime reads as numbers in any locale.
std::optional<double> readRadixNumber(const QString& text) {
  if (!text.startsWith(QLatin1Char('&')) || !rt::isNumeric(text)) return std::nullopt;
  return rt::toDouble(text);
}

// The leading number of text, or 0 when that number does not fit a double.
double leadingNumberInRange(const QString& text) { return rt::leadingNumberIfInRange(text).value_or(0.0); }

float toSingle(double value) {
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
    rt::raise(rt::ErrOverflow);
  }
  return static_cast<float>(value);
}

}  // namespace

const DispatchTable& Divers::dispatchTable() {
  static const DispatchTable table{
      method<&_Divers::SepList>("SepList"),
      method<&_Divers::SepDec>("SepDec"),
      method<&_Divers::SepMil>("SepMil"),
      method<&_Divers::Mini>("Mini"),
      method<&_Divers::Maxi>("Maxi"),
      procedure<&_Divers::Borner>("Borner"),
      method<&_Divers::Num>("Num"),
      method<&_Divers::Ceiling>("Ceiling"),
      method<&_Divers::Remplace>("Remplace"),
      method<&_Divers::LaunchAndWaitForApp>("LaunchAndWaitForApp"),
  };
  return table;
}

QString Divers::listSeparator() {
  if (listSeparator_.isEmpty()) {
    const QString decimal = QLocale::system().decimalPoint();
    listSeparator_ = decimal.startsWith(QLatin1Char(',')) ? QStringLiteral(";") : QStringLiteral(",");
  }
  return listSeparator_;
}

QString Divers::decimalSeparator() {
  if (decimalSeparator_.isEmpty()) {
    decimalSeparator_ = firstCharacterOr(QLocale::system().decimalPoint(), QStringLiteral("."));
  }
  return decimalSeparator_;
}

QString Divers::thousandsSeparator() {
  if (thousandsSeparator_.isEmpty()) {
    thousandsSeparator_ = firstCharacterOr(QLocale::system().groupSeparator(), QStringLiteral(","));
  }
  return thousandsSeparator_;
}

HRESULT Divers::SepList(QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = listSeparator(); });
}

HRESULT Divers::SepDec(QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = decimalSeparator(); });
}

HRESULT Divers::SepMil(QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = thousandsSeparator(); });
}

HRESULT Divers::Mini(const QVariant& ValA, const QVariant& ValB, QVariant* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = valueGreater(ValA, ValB) ? ValB : ValA; });
}

HRESULT Divers::Maxi(const QVariant& ValA, const QVariant& ValB, QVariant* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = valueGreater(ValA, ValB) ? ValA : ValB; });
}

HRESULT Divers::Borner(QVariant* Valeur, QVariant* ValMin, QVariant* ValMax) {
  return rt::com::callMember([&] {
    if (!Valeur || !ValMin || !ValMax) rt::raise(rt::ErrInvalidArgument);
    QVariant value = valueGreater(*Valeur, *ValMax) ? *ValMax : *Valeur;
    if (!valueGreater(value, *ValMin)) value = *ValMin;
    *Valeur = value;
  });
}

// Blanks and no-break spaces are grouping characters wherever they stand.
float Divers::readNumber(QString text) {
  text.remove(QLatin1Char(' '));
  text.remove(kNoBreakSpace);
  if (text.isEmpty()) return 0.0f;
  const QChar decimal = decimalSeparator().at(0);
  if (auto value = readRadixNumber(text)) return toSingle(*value);
  if (auto value = readLocaleNumber(text, decimal, thousandsSeparator().at(0))) {
    return toSingle(*value);
  }
  if (text.contains(QLatin1Char('.'))) {
    text.remove(QLatin1Char(','));
    return toSingle(leadingNumberInRange(text));
  }
  const qsizetype commas = text.count(QLatin1Char(','));
  if (commas == 0) return 0.0f;
  if (commas >= 2) {
    text.remove(QLatin1Char(','));
  } else if (decimal != QLatin1Char('.')) {
    text.replace(QLatin1Char(','), QLatin1Char('.'));
  }
  return toSingle(leadingNumberInRange(text));
}

HRESULT Divers::Num(const QString& ValTxt, float* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = readNumber(ValTxt); });
}

HRESULT Divers::Ceiling(double Num, int32_t* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    // The integer part, plus 1 when there is a fraction, also below zero: -2.5 gives -1.
    const double whole = std::trunc(Num);
    const double ceiling = Num != whole ? whole + 1.0 : whole;
    if (!std::isfinite(ceiling) || ceiling < -2147483648.0 || ceiling > 2147483647.0) {
      rt::raise(rt::ErrOverflow);
    }
    *result = static_cast<int32_t>(ceiling);
  });
}

HRESULT Divers::Remplace(const QString& Original, const QString& Rech, const QString& Rempl,
                         QVariant* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const qsizetype at = Original.indexOf(Rech, 0, Qt::CaseSensitive);
    if (at < 0) {
      *result = Original;
      return;
    }
    *result = QString(Original.left(at) + Rempl + Original.mid(at + Rech.size()));
  });
}

HRESULT Divers::LaunchAndWaitForApp(const QString& AppName, const QString& AppDir,
                                    const QString& CmdLine, const QVariant& Masked,
                                    VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const bool hidden = readFlag(Masked, false);
    QString program = AppName;
    if (program.contains(QLatin1Char(' ')) && !program.startsWith(QLatin1Char('"'))) {
      program = QLatin1Char('"') + program + QLatin1Char('"');
    }
    const QString commandLine = TrimSpaces(program + QLatin1Char(' ') + CmdLine);
    *result = launchAndWait(commandLine, AppDir, hidden) ? VARIANT_TRUE : VARIANT_FALSE;
  });
}

}  // namespace orvo
