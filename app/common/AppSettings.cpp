#include "app/common/AppSettings.h"

#include "app/common/ErrorHandling.h"
#include "app/common/Orvofonctions2.h"
#include "app/common/ProgramInfo.h"

QString IniFileName() {
  return ProgramInfo::DataFolder() + QStringLiteral("/") + ProgramInfo::ProgramFileName() +
         QStringLiteral(".ini");
}

QString GetParam(const QString& section, const QString& key, const QString& defaut) {
  QString value;
  ErrorHandling::Guarded(QStringLiteral("Global.GetParam"), [&] {
    value = Orvofonctions2::GetPrivateParam(section, key, defaut, IniFileName());
  });
  return value;
}

void SetParam(const QString& section, const QString& key, const QString& value) {
  ErrorHandling::Guarded(QStringLiteral("Global.SetParam"), [&] {
    Orvofonctions2::SetPrivateParam(section, key, value, IniFileName());
  });
}

void DelParam(const QString& section, const QString& key) {
  ErrorHandling::Guarded(QStringLiteral("Global.DelParam"), [&] {
    Orvofonctions2::DelPrivateParam(section, key, IniFileName());
  });
}

void DelSection(const QString& section) {
  ErrorHandling::Guarded(QStringLiteral("Global.DelSection"), [&] {
    Orvofonctions2::DelPrivateSection(section, IniFileName());
  });
}

int16_t GetParamsList(QStringList& keys, const QString& section) {
  int16_t count = 0;
  ErrorHandling::Guarded(QStringLiteral("Global.GetParamsList"), [&] {
    count = Orvofonctions2::GetPrivateParamsList(keys, section, IniFileName());
  });
  return count;
}

void RestoreWindowPlace(QWidget* window) {
  ErrorHandling::Guarded(QStringLiteral("Global.RestoreWindowPlace"),
                         [&] { Orvofonctions2::RestoreWindow(window, IniFileName()); });
}

void SaveWindowPlace(QWidget* window) {
  ErrorHandling::Guarded(QStringLiteral("Global.SaveWindowPlace"),
                         [&] { Orvofonctions2::SaveWindow(window, IniFileName()); });
}
