#include "app/naming/Takeover.h"

#include "app/common/AppSettings.h"
#include "app/naming/ConfigClass.h"
#include "runtime/Conversions.h"
#include "runtime/DateValue.h"
#include "runtime/RuntimeError.h"

#include <cmath>

namespace {

const QString kOptions = QStringLiteral("Options");
const QString kTimeOffset = QStringLiteral("TimeOffset");

QString flagText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

bool readFlag(const QString& section, const QString& key, bool current) {
  return rt::toFlag(GetParam(section, key, flagText(current)));
}

QString readText(const QString& key, const QString& current) { return GetParam(kOptions, key, current); }

uint8_t readByte(const QString& key, uint8_t current) {
  return rt::toByte(GetParam(kOptions, key, QString::number(current)));
}

rt::DateValue readDate(const QString& key, rt::DateValue current) {
  const auto value = rt::readDate(GetParam(kTimeOffset, key, rt::generalDateText(current)));
  if (!value) rt::raise(rt::ErrTypeMismatch);
  return *value;
}

// The character at the stored 0-based index (rounded after adding 1) of list; "" past its end.
QString readListChar(const QString& key, const QString& list) {
  const double position = rt::roundHalfEven(rt::toDouble(GetParam(kOptions, key, QStringLiteral("0"))) + 1);
  if (position <= 0) rt::raise(rt::ErrInvalidArgument);
  if (position > list.size()) return QString();
  return list.mid(static_cast<qsizetype>(position) - 1, 1);
}

void readOptions(ConfigClass& config) {
  for (int i = 1; i <= 3; ++i) {
    config.SetIsDateDigit(i, readFlag(kOptions, QStringLiteral("Date%1").arg(i), config.IsDateDigit(i)));
  }
  for (int i = 0; i <= 1; ++i) {
    config.SetIsDateSep(i, readFlag(kOptions, QStringLiteral("DateSep%1").arg(i), config.IsDateSep(i)));
  }
  for (int i = 1; i <= 3; ++i) {
    config.SetIsTimeDigit(i, readFlag(kOptions, QStringLiteral("Time%1").arg(i), config.IsTimeDigit(i)));
  }
  for (int i = 0; i <= 1; ++i) {
    config.SetIsTimeSep(i, readFlag(kOptions, QStringLiteral("TimeSep%1").arg(i), config.IsTimeSep(i)));
  }
  if (rt::toDouble(GetParam(kOptions, QStringLiteral("Separ0"), QStringLiteral("0"))) == 0) {
    config.SetDateTimeSep(QString());
  } else {
    config.SetDateTimeSep(GetParam(kOptions, QStringLiteral("SeparPrefix"), QStringLiteral("0")));
  }
  config.SetPrefix(readText(QStringLiteral("Prefix"), config.Prefix()));
  config.SetPostfix(readText(QStringLiteral("Postfix"), config.Postfix()));
  config.SetIsSuffix(readFlag(kOptions, QStringLiteral("IsSuffix"), config.IsSuffix()));
  config.SetDigits(readByte(QStringLiteral("Digits"), config.Digits()));
  config.SetStartNum(rt::toInt32(GetParam(kOptions, QStringLiteral("StartNum"), QString::number(config.StartNum()))));
  config.SetSuffixType(readByte(QStringLiteral("SuffixType"), config.SuffixType()));
  config.SetNotExif(readByte(QStringLiteral("NotExif"), config.NotExif()));
  config.SetExtension(readByte(QStringLiteral("Extension"), config.Extension()));
  config.SetDateSep(readListChar(QStringLiteral("SeparDate"), QStringLiteral("_- +'#%,;=")));
  config.SetTimeSep(readListChar(QStringLiteral("SeparTime"), QStringLiteral("_-h +'#%,;=")));
}

void readTimeOffset(ConfigClass& config) {
  config.SetOffsetApply(readFlag(kTimeOffset, QStringLiteral("Apply"), config.OffsetApply()));
  config.SetOffsetNoDate(readFlag(kTimeOffset, QStringLiteral("ApplyFile"), config.OffsetNoDate()));
  config.SetDateExif(readDate(QStringLiteral("Picture"), config.DateExif()));
  config.SetDateReal(readDate(QStringLiteral("Real"), config.DateReal()));
}

void removeOldKeys() {
  static const char* const kOldKeys[] = {
      "Date1",  "Date2",  "Date3",   "Time1",       "Time2",       "Time3",       "DateSep0",
      "DateSep1", "TimeSep0", "TimeSep1", "Separ",  "Separ0",      "Separ1",      "Prefix",
      "Postfix", "Suffix", "IsSuffix", "SeparPrefix", "SeparSuffix", "Digits",     "StartNum",
      "SuffixType", "NotExif", "Extension", "SeparDate", "SeparTime"};
  for (const char* key : kOldKeys) DelParam(kOptions, QString::fromLatin1(key));
  DelSection(kTimeOffset);
  QStringList left;
  if (GetParamsList(left, kOptions) == 0) DelSection(kOptions);
}

}  // namespace

bool TakeOverOldSettings(ConfigClass& config) {
  QStringList keys;
  if (GetParamsList(keys, kTimeOffset) == 0) return false;
  readOptions(config);
  readTimeOffset(config);
  removeOldKeys();
  return true;
}
