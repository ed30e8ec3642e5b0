#include "app/common/AppSettings.h"

#include "app/common/ErrorHandling.h"
#include "app/common/Orvofonctions2.h"
#include "app/common/ProgramInfo.h"
#include "runtime/IniFile.h"
#include "runtime/RuntimeError.h"

namespace {

// A settings file over the initialisation-file service's size cap reads as empty and refuses
// every change. Rather than one failure per access, the user is told once which file it is and
// why, and the file is then left alone (defaults are used, nothing is written).
bool SettingsFileUsable(const QString& where) {
  static QString reported;  // the oversized file already reported
  const QString file = IniFileName();
  const QString oversize = rt::ini::oversizeText(file);
  if (oversize.isEmpty()) return true;
  if (reported != file) {
    reported = file;
    ErrorHandling::ShowError(where, rt::ErrPathFileAccess, oversize);
  }
  return false;
}

}  // namespace

QString IniFileName() {
  return ProgramInfo::DataFolder() + QStringLiteral("/") + ProgramInfo::ProgramFileName() +
         QStringLiteral(".ini");
}

QString GetParam(const QString& section, const QString& key, const QString& defaut) {
  if (!SettingsFileUsable(QStringLiteral("Global.GetParam"))) return defaut;
  QString value;
  ErrorHandling::Guarded(QStringLiteral("Global.GetParam"), [&] {
    value = Orvofonctions2::GetPrivateParam(section, key, defaut, IniFileName());
  });
  return value;
}

void SetParam(const QString& section, const QString& key, const QString& value) {
  if (!SettingsFileUsable(QStringLiteral("Global.SetParam"))) return;
  ErrorHandling::Guarded(QStringLiteral("Global.SetParam"), [&] {
    Orvofonctions2::SetPrivateParam(section, key, value, IniFileName());
  });
}

void DelParam(const QString& section, const QString& key) {
  if (!SettingsFileUsable(QStringLiteral("Global.DelParam"))) return;
  ErrorHandling::Guarded(QStringLiteral("Global.DelParam"), [&] {
    Orvofonctions2::DelPrivateParam(section, key, IniFileName());
  });
}

void DelSection(const QString& section) {
  if (!SettingsFileUsable(QStringLiteral("Global.DelSection"))) return;
  ErrorHandling::Guarded(QStringLiteral("Global.DelSection"), [&] {
    Orvofonctions2::DelPrivateSection(section, IniFileName());
  });
}

int16_t GetParamsList(QStringList& keys, const QString& section) {
  if (!SettingsFileUsable(QStringLiteral("Global.GetParamsList"))) return 0;
  int16_t count = 0;
  ErrorHandling::Guarded(QStringLiteral("Global.GetParamsList"), [&] {
    count = Orvofonctions2::GetPrivateParamsList(keys, section, IniFileName());
  });
  return count;
}

void RestoreWindowPlace(QWidget* window) {
  if (!SettingsFileUsable(QStringLiteral("Global.RestoreWindowPlace"))) return;
  ErrorHandling::Guarded(QStringLiteral("Global.RestoreWindowPlace"),
                         [&] { Orvofonctions2::RestoreWindow(window, IniFileName()); });
}

void SaveWindowPlace(QWidget* window) {
  if (!SettingsFileUsable(QStringLiteral("Global.SaveWindowPlace"))) return;
  ErrorHandling::Guarded(QStringLiteral("Global.SaveWindowPlace"),
                         [&] { Orvofonctions2::SaveWindow(window, IniFileName()); });
}
