// ConfigClass::Save and ConfigClass::Load: the 21 keys of a settings file, in their order.

#include "app/naming/SettingsFile.h"

#include "app/common/ErrorHandling.h"
#include "app/common/Orvofonctions2.h"
#include "app/naming/ConfigClass.h"
#include "runtime/Conversions.h"

namespace {

const QString kSpace = QStringLiteral(" ");
const QString kBar = QStringLiteral("|");

QString flagText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

// Flags given as the default of a read, in the words the conversion accepts.
QString flagWord(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

// A separator that is a single space is stored as "|", since values lose their blanks.
QString separatorText(const QString& separator) { return separator == kSpace ? kBar : separator; }
QString separatorValue(const QString& stored) { return stored == kBar ? kSpace : stored; }

class Writer {
 public:
  explicit Writer(const QString& file) : file_(file) {}
  void put(const QString& key, const QString& value) {
    Orvofonctions2::SetPrivateParam(kSettingsSection, key, value, file_);
  }

 private:
  const QString& file_;
};

class Reader {
 public:
  explicit Reader(const QString& file) : file_(file) {}
  QString text(const QString& key, const QString& current) const {
    return Orvofonctions2::GetPrivateParam(kSettingsSection, key, current, file_);
  }
  bool flag(const QString& key, bool current) const { return rt::toFlag(text(key, flagWord(current))); }
  uint8_t byte(const QString& key, uint8_t current) const {
    return rt::toByte(text(key, QString::number(current)));
  }
  int32_t int32(const QString& key, int32_t current) const {
    return rt::toInt32(text(key, QString::number(current)));
  }
  QString separator(const QString& key, const QString& current) const {
    return separatorValue(text(key, current));
  }

 private:
  const QString& file_;
};

}  // namespace

bool ConfigClass::Save(const QString& sPath) {
  const QString file = sPath.isEmpty() ? path_ : sPath;
  if (file.isEmpty()) return false;
  if (dateTimeSep_ == kBar) dateTimeSep_ = kSpace;
  try {
    Writer w(file);
    for (int i = 0; i < 3; ++i) w.put(QStringLiteral("Date%1").arg(i + 1), flagText(isDateDigit_[i]));
    for (int i = 0; i < 2; ++i) w.put(QStringLiteral("DateSep%1").arg(i), flagText(isDateSep_[i]));
    for (int i = 0; i < 3; ++i) w.put(QStringLiteral("Time%1").arg(i + 1), flagText(isTimeDigit_[i]));
    for (int i = 0; i < 2; ++i) w.put(QStringLiteral("TimeSep%1").arg(i), flagText(isTimeSep_[i]));
    w.put(QStringLiteral("Prefix"), prefix_);
    w.put(QStringLiteral("Postfix"), postfix_);
    w.put(QStringLiteral("IsSuffix"), flagText(isSuffix_));
    w.put(QStringLiteral("Digits"), QString::number(digits_));
    w.put(QStringLiteral("StartNum"), QString::number(startNum_));
    w.put(QStringLiteral("SuffixType"), QString::number(suffixType_));
    w.put(QStringLiteral("NotExif"), QString::number(notExif_));
    w.put(QStringLiteral("Extension"), QString::number(extension_));
    w.put(QStringLiteral("DateSep"), separatorText(dateSep_));
    w.put(QStringLiteral("TimeSep"), separatorText(timeSep_));
    w.put(QStringLiteral("DateTimeSep"), separatorText(dateTimeSep_));
  } catch (...) {
    ErrorHandling::ShowCurrentException(QStringLiteral("ConfigClass.Save"));
    return false;
  }
  path_ = file;
  modified_ = false;
  return true;
}

bool ConfigClass::Load(const QString& sPath) {
  if (sPath.isEmpty()) return false;
  const Reader r(sPath);
  for (int i = 0; i < 3; ++i) isDateDigit_[i] = r.flag(QStringLiteral("Date%1").arg(i + 1), isDateDigit_[i]);
  for (int i = 0; i < 2; ++i) isDateSep_[i] = r.flag(QStringLiteral("DateSep%1").arg(i), isDateSep_[i]);
  for (int i = 0; i < 3; ++i) isTimeDigit_[i] = r.flag(QStringLiteral("Time%1").arg(i + 1), isTimeDigit_[i]);
  for (int i = 0; i < 2; ++i) isTimeSep_[i] = r.flag(QStringLiteral("TimeSep%1").arg(i), isTimeSep_[i]);
  prefix_ = r.text(QStringLiteral("Prefix"), prefix_);
  postfix_ = r.text(QStringLiteral("Postfix"), postfix_);
  isSuffix_ = r.flag(QStringLiteral("IsSuffix"), isSuffix_);
  digits_ = r.byte(QStringLiteral("Digits"), digits_);
  startNum_ = r.int32(QStringLiteral("StartNum"), startNum_);
  suffixType_ = r.byte(QStringLiteral("SuffixType"), suffixType_);
  notExif_ = r.byte(QStringLiteral("NotExif"), notExif_);
  extension_ = r.byte(QStringLiteral("Extension"), extension_);
  dateSep_ = r.separator(QStringLiteral("DateSep"), dateSep_);
  timeSep_ = r.separator(QStringLiteral("TimeSep"), timeSep_);
  dateTimeSep_ = r.separator(QStringLiteral("DateTimeSep"), dateTimeSep_);
  path_ = sPath;
  modified_ = false;
  return true;
}
