#include "lib/FilesPaths.h"

#include "lib/ArgumentValues.h"
#include "lib/FormArgument.h"
#include "lib/SelfReference.h"
#include "lib/WidgetModule.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace orvo {
namespace {

constexpr QChar kSeparator = QLatin1Char('/');
// The longest path the splitting members accept (their position counters are 16-bit).
constexpr qsizetype kLongestCountedPath = 32767;

void checkCountedLength(const QString& path) {
  if (path.size() > kLongestCountedPath) rt::raise(rt::ErrOverflow);
}

QString withoutLastSlash(const QString& path) {
  return path.endsWith(kSeparator) ? path.left(path.size() - 1) : path;
}

// The elements of a path; empty ones (a leading "/", "//") are skipped, as the system reads them.
QStringList pathElements(const QString& path) { return path.split(kSeparator, Qt::SkipEmptyParts); }

QString relativePath(const QString& refPath, QString& absPath) {
  // Both must stand on the same root (both absolute or both relative) and start with the same
  // first folder; otherwise there is no useful relative path.
  if (refPath.startsWith(kSeparator) != absPath.startsWith(kSeparator)) return absPath;
  if (pathElements(refPath).value(0) != pathElements(absPath).value(0)) return absPath;

  absPath = withoutLastSlash(absPath);
  QStringList ref = pathElements(withoutLastSlash(refPath));
  QStringList abs = pathElements(absPath);
  while (!ref.isEmpty() && !abs.isEmpty() && ref.first() == abs.first()) {
    ref.removeFirst();
    abs.removeFirst();
  }
  QString out = QStringLiteral("../").repeated(ref.size());
  for (const QString& element : abs) out += element + kSeparator;
  return withoutLastSlash(out);
}

// --- File dialog ------------------------------------------------------------------------

// Qt name filters from "description|pattern|description|pattern". The list ends at the first
// empty description or pattern, as a doubled separator ends it. Patterns are separated by ";";
// "*.*" means every file (on Linux a name need not hold a dot).
QStringList qtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    if (description.isEmpty() || pattern.isEmpty()) break;
    QStringList globs;
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString glob = part.trimmed();
      if (glob.isEmpty()) continue;
      globs << (glob == QStringLiteral("*.*") ? QStringLiteral("*") : glob);
    }
    if (globs.isEmpty()) globs << QStringLiteral("*");
    out << QStringLiteral("%1 (%2)").arg(description, globs.join(QLatin1Char(' ')));
  }
  return out;
}

// The deepest folder holding every file.
QString commonFolder(const QStringList& files) {
  QStringList common = pathElements(QFileInfo(files.first()).absolutePath());
  for (const QString& file : files) {
    const QStringList folder = pathElements(QFileInfo(file).absolutePath());
    qsizetype shared = 0;
    while (shared < common.size() && shared < folder.size() && common[shared] == folder[shared]) {
      ++shared;
    }
    common = common.mid(0, shared);
  }
  return kSeparator + common.join(kSeparator);
}

// One file: its path. Several: the folder, NUL, the names separated by NULs.
QString chosenFilesText(const QStringList& files) {
  if (files.size() == 1) return files.first();
  const QString folder = commonFolder(files);
  const QDir dir(folder);
  QString out = folder;
  for (const QString& file : files) out += QChar(0) + dir.relativeFilePath(file);
  return out;
}

// --- Temporary files ----------------------------------------------------------------------

// Creates an empty file named prefix + 4 hexadecimal digits + ".TMP" in folder (ending with
// "/"), trying every number from a random start; "" when none can be created.
QString createUniqueEmptyFile(const QString& folder) {
  const QString prefix = (QStringLiteral("~") + QString::fromLatin1(OrvoLib22::kLibraryName)).left(3).toUpper();
  if (!QFileInfo(folder).isDir()) return {};
  const uint32_t start = QRandomGenerator::global()->bounded(65535u);
  for (uint32_t n = 0; n < 65535u; ++n) {
    const uint32_t unique = (start + n) % 65535u + 1;  // 1..FFFF
    const QString path = folder + prefix +
                         QStringLiteral("%1").arg(unique, 4, 16, QLatin1Char('0')).toUpper() +
                         QStringLiteral(".TMP");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
    // A name that is free but cannot be created means no name can be.
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return {};
  }
  return {};
}

}  // namespace

const DispatchTable& FilesPaths::dispatchTable() {
  static const DispatchTable table{
      method<&_FilesPaths::GetFileName>("GetFileName"),
      method<&_FilesPaths::GetTempFileName>("GetTempFileName"),
      method<&_FilesPaths::RelPath>("RelPath"),
      method<&_FilesPaths::DeleteLastSlash>("DeleteLastSlash"),
      method<&_FilesPaths::ChooseDirectory>("ChooseDirectory"),
      method<&_FilesPaths::GetDirectoryFromPath>("GetDirectoryFromPath"),
      method<&_FilesPaths::GetFilenameFromPath>("GetFilenameFromPath"),
      method<&_FilesPaths::GetFileTitle>("GetFileTitle"),
      method<&_FilesPaths::GetFileExt>("GetFileExt"),
  };
  return table;
}

HRESULT FilesPaths::GetFileName(WId hwndParent, const QString& sFilter, const QVariant& bSave,
                                const QVariant& bMulti, const QVariant& sFileName,
                                const QVariant& sInitDir, const QVariant& sDialogTitle,
                                QVariant* nFilterIndex, QString* result) {
  if (!result) return E_POINTER;
  const SelfReference alive(static_cast<_FilesPaths*>(this));
  return rt::com::callMember([&] {
    FileDialogRequest request;
    request.parent = hwndParent;
    request.filters = qtNameFilters(sFilter);
    request.save = readFlag(bSave, false);
    request.multi = readFlag(bMulti, false);
    request.fileName = readText(sFileName, QString());
    request.initDir = readText(sInitDir, QString());
    request.title = readText(sDialogTitle, QString());
    request.filterIndex = nFilterIndex ? readInt32(*nFilterIndex, 0) : 0;

    const WidgetEntry& widgets = widgetModule();
    bool accepted = false;
    QStringList files;
    int32_t chosenFilter = 0;
    raiseWidgetFailure(widgets, widgets.runFileDialog(request, &accepted, &files, &chosenFilter));
    if (!accepted) {
      *result = QString();
      return;
    }
    *result = request.multi ? chosenFilesText(files) : files.first();
    if (nFilterIndex) *nFilterIndex = QVariant::fromValue(chosenFilter);
  });
}

HRESULT FilesPaths::GetTempFileName(const QVariant& Path, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    QString folder = readText(Path, QString());
    if (folder.isEmpty()) folder = QDir::tempPath();
    if (!folder.endsWith(kSeparator)) folder += kSeparator;
    *result = createUniqueEmptyFile(folder);
  });
}

HRESULT FilesPaths::RelPath(const QString& sRefPath, QString* sAbsPath, QString* result) {
  if (!result || !sAbsPath) return E_POINTER;
  return rt::com::callMember([&] { *result = relativePath(sRefPath, *sAbsPath); });
}

HRESULT FilesPaths::DeleteLastSlash(const QString& sPath, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] { *result = withoutLastSlash(sPath); });
}

HRESULT FilesPaths::ChooseDirectory(QWidget* frmSrc, const QString& sPrompt, const QVariant& sPath,
                                    QVariant* SansReseau, QString* result) {
  if (!result) return E_POINTER;
  const SelfReference alive(static_cast<_FilesPaths*>(this));
  return rt::com::callMember([&] {
    const WidgetEntry& widgets = widgetModule();
    raiseWidgetFailure(widgets, widgets.chooseDirectory(frmSrc, sPrompt, sPath, SansReseau, result));
  });
}

HRESULT FilesPaths::GetDirectoryFromPath(const QString& sPath, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    checkCountedLength(sPath);
    const qsizetype slash = sPath.lastIndexOf(kSeparator);
    *result = slash < 0 ? QString() : sPath.left(slash);
  });
}

HRESULT FilesPaths::GetFilenameFromPath(const QString& sPath, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    checkCountedLength(sPath);
    const qsizetype slash = sPath.lastIndexOf(kSeparator);
    *result = slash < 0 ? sPath : sPath.mid(slash + 1);
  });
}

HRESULT FilesPaths::GetFileTitle(const QString& sPath, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const qsizetype dot = sPath.lastIndexOf(QLatin1Char('.'));
    *result = dot < 0 ? sPath : sPath.left(dot);
  });
}

HRESULT FilesPaths::GetFileExt(const QString& sPath, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    const qsizetype dot = sPath.lastIndexOf(QLatin1Char('.'));
    *result = dot < 0 ? QString() : sPath.mid(dot + 1);
  });
}

}  // namespace orvo
