// ConfigClass::Save and ConfigClass::Load: the 22 keys of a settings file, in their order.

#include "app/naming/SettingsFile.h"

#include "app/common/ErrorHandling.h"
#include "app/common/ErrorNumbers.h"
#include "app/common/Orvofonctions2.h"
#include "app/naming/ConfigClass.h"
#include "runtime/AtomicFile.h"
#include "runtime/Conversions.h"
#include "runtime/FileLock.h"
#include "runtime/FileSystem.h"
#include "runtime/IniDocument.h"
#include "runtime/RuntimeError.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

namespace {

// Settings files are small; a larger file is refused rather than rewritten.
constexpr qint64 kMaxSettingsFileSize = 4 * 1024 * 1024;

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

void raiseOnError(int32_t error) {
  if (error != 0) rt::raise(error);
}

// Lets writeKeys fill a private copy of file, then puts the copy in place in one step, so that
// a failure part-way (a text the file format cannot hold, a full disk) leaves the file exactly
// as it was instead of half old, half new. Raises the file error of any step.
void writeAllOrNothing(const QString& file, const std::function<void(const QString&)>& writeKeys) {
  const rt::files::FileLock lock(QFileInfo(file).absolutePath(), rt::files::FileLock::Kind::Folder);
  if (!lock.locked()) rt::raise(lock.error());
  const rt::files::ReadResult current = rt::files::readWholeFile(file, kMaxSettingsFileSize);
  raiseOnError(current.error);
  const QTemporaryDir stagingDir;
  if (!stagingDir.isValid()) rt::raise(rt::ErrPathFileAccess);
  const QString staging = stagingDir.filePath(QStringLiteral("settings.tdc"));
  if (current.exists) raiseOnError(rt::files::writeFileAtomically(staging, current.bytes));
  writeKeys(staging);
  const rt::files::ReadResult staged = rt::files::readWholeFile(staging, kMaxSettingsFileSize);
  raiseOnError(staged.error);
  if (!staged.exists) rt::raise(rt::ErrPathFileAccess);
  raiseOnError(rt::files::writeFileAtomically(file, staged.bytes));
}

void writeKeys(const ConfigClass& c, const QString& target) {
  Writer w(target);
  for (int i = 1; i <= 3; ++i) w.put(QStringLiteral("Date%1").arg(i), flagText(c.IsDateDigit(i)));
  for (int i = 0; i <= 1; ++i) w.put(QStringLiteral("DateSep%1").arg(i), flagText(c.IsDateSep(i)));
  for (int i = 1; i <= 3; ++i) w.put(QStringLiteral("Time%1").arg(i), flagText(c.IsTimeDigit(i)));
  for (int i = 0; i <= 1; ++i) w.put(QStringLiteral("TimeSep%1").arg(i), flagText(c.IsTimeSep(i)));
  w.put(QStringLiteral("Prefix"), c.Prefix());
  w.put(QStringLiteral("Postfix"), c.Postfix());
  w.put(QStringLiteral("IsSuffix"), flagText(c.IsSuffix()));
  w.put(QStringLiteral("Digits"), QString::number(c.Digits()));
  w.put(QStringLiteral("StartNum"), QString::number(c.StartNum()));
  w.put(QStringLiteral("SuffixType"), QString::number(c.SuffixType()));
  w.put(QStringLiteral("NotExif"), QString::number(c.NotExif()));
  w.put(QStringLiteral("Extension"), QString::number(c.Extension()));
  w.put(QStringLiteral("DateSep"), separatorText(c.DateSep()));
  w.put(QStringLiteral("TimeSep"), separatorText(c.TimeSep()));
  w.put(QStringLiteral("DateTimeSep"), separatorText(c.DateTimeSep()));
  w.put(QStringLiteral("Companions"), flagText(c.Companions()));
}

}  // namespace

QString SettingsFileProblem(const QString& path) {
  const rt::files::ReadResult file = rt::files::readWholeFile(path, kMaxSettingsFileSize);
  if (!file.exists) return QStringLiteral("fichier introuvable");
  if (file.error != 0) {
    if (rt::entryKind(path) != rt::EntryKind::File) return QStringLiteral("ce n'est pas un fichier ordinaire");
    if (const QString oversize = rt::files::oversizeText(path, kMaxSettingsFileSize); !oversize.isEmpty())
      return oversize;
    return QStringLiteral("lecture impossible : %1").arg(rt::errorDescription(file.error));
  }
  const QStringList sections = rt::ini::IniDocument(file.bytes).sections();
  if (!sections.contains(kSettingsSection, Qt::CaseInsensitive))
    return QStringLiteral("ce n'est pas un fichier de paramètres (pas de section [%1])").arg(kSettingsSection);
  return QString();
}

bool ConfigClass::Save(const QString& sPath) {
  const QString file = sPath.isEmpty() ? path_ : sPath;
  if (file.isEmpty()) return false;
  if (dateTimeSep_ == kBar) dateTimeSep_ = kSpace;
  try {
    writeAllOrNothing(file, [this](const QString& target) { writeKeys(*this, target); });
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
  companions_ = r.flag(QStringLiteral("Companions"), true);  // absent from older files: on
  path_ = sPath;
  modified_ = false;
  return true;
}

QString WithSettingsExtension(const QString& path) {
  const QString name = Orvofonctions2::GetFilenameFromPath(path);
  if (name.isEmpty() || !Orvofonctions2::GetFileExt(name).isEmpty()) return path;
  return path + (name.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + kSettingsExtension;
}

void OpenSettingsFile(ConfigClass& config, const QString& path) {
  if (const QString problem = SettingsFileProblem(path); !problem.isEmpty()) {
    rt::raise(errors::kBadFileFormat, rt::defaultErrorSource(),
              QStringLiteral("Format de fichier incorrect : « %1 » : %2").arg(path, problem));
  }
  ConfigClass loaded = config;
  loaded.Load(path);
  config = loaded;
}
