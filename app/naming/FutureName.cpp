#include "app/naming/FutureName.h"

#include "app/common/Orvofonctions2.h"
#include "app/common/ErrorHandling.h"
#include "app/naming/BaseName.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/NameComposition.h"
#include "runtime/RuntimeError.h"

namespace {

QString fileExtension(const QString& fileName) {
  return Orvofonctions2::GetFileExt(Orvofonctions2::GetFilenameFromPath(fileName));
}

}  // namespace

QString RowDateKey(const JpegInfosClass& info) {
  rt::DateValue date = info.FileDate();
  if (info.CreateDate() > 0)
    date = info.CreateDate();
  else if (info.ModifDate() > 0)
    date = info.ModifDate();
  if (!(date > 0)) return QString();
  try {
    return rt::toDateKey(date);
  } catch (const rt::RuntimeError&) {
    return QString();  // a date no key can hold sorts with the pictures without date
  }
}

bool HasExifDate(const JpegInfosClass& info) { return info.CreateDate() > 0 || info.ModifDate() > 0; }

QString NewExtensionText(const QString& fileName, uint8_t extension) {
  const QString ext = fileExtension(fileName);
  return ext.isEmpty() ? QString() : ExtensionText(ext, extension);
}

QString FutureName(const QString& path, const JpegInfosClass& info, const QString& dateKey, bool exifMark) {
  const ConfigClass& config = CurrentConfig();
  BaseNameChoice choice;
  try {
    choice = ChooseBaseName(config, RenameOffsets::fromConfig(config), info, dateKey, exifMark);
  } catch (...) {
    ErrorHandling::ShowCurrentException(QStringLiteral("Global.FutureName"));
    return QString();
  }
  if (choice.kind != BaseNameChoice::Kind::Body) return QString();
  QString name = choice.body;
  if (config.IsSuffix()) name += SuffixPattern(config.Digits(), config.SuffixType());
  return name + NewExtensionText(path, config.Extension());
}

QString FutureName(const QString& path, const JpegInfosClass& info) {
  return FutureName(path, info, RowDateKey(info), HasExifDate(info));
}

QString FutureMemberName(const QString& rowFutureName, const QString& rowName, const GroupMember& member) {
  if (rowFutureName.isEmpty()) return QString();
  const qsizetype extension = NewExtensionText(rowName, CurrentConfig().Extension()).size();
  return MemberNewName(member, rowFutureName.chopped(extension), CurrentConfig().Extension());
}
