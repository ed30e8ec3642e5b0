#include "app/naming/FileListRules.h"

#include "app/common/Orvofonctions2.h"
#include "app/picture/FileKinds.h"
#include "runtime/Conversions.h"

#include <QDir>

#include <cmath>

namespace FileListRules {

bool IsAcceptedExtension(const QString& path) { return FileKinds::IsListable(Orvofonctions2::GetFileExt(path)); }

bool IsOtherFormat(const QString& path) { return FileKinds::IsOtherFormat(Orvofonctions2::GetFileExt(path)); }

bool IsRawFormat(const QString& path) { return FileKinds::IsRaw(Orvofonctions2::GetFileExt(path)); }

QString AcceptedPatterns() { return QStringLiteral("*.") + FileKinds::ListableExtensions().join(QStringLiteral(";*.")); }

QString CommandLineToList(const QString& commandLine) {
  QString list = commandLine;
  list.replace(QStringLiteral("\" \""), QStringLiteral("\r\n"));
  list.remove(QLatin1Char('"'));
  return list;
}

QString AbsolutePaths(const QString& list, const QString& workingFolder) {
  const QDir folder(workingFolder);
  QStringList paths = list.split(QStringLiteral("\r\n"));
  for (QString& path : paths) {
    if (!path.isEmpty() && QDir::isRelativePath(path)) path = QDir::cleanPath(folder.absoluteFilePath(path));
  }
  return paths.join(QStringLiteral("\r\n"));
}

QString SizeText(const JpegInfosClass& info) {
  QString text = QString::number(info.ImgWidth()) + QLatin1Char('x') + QString::number(info.ImgHeight()) + QLatin1Char('x');
  const int bits = static_cast<int>(info.DataBits()) * static_cast<int>(info.Layers());
  if (bits >= 63) return text + QStringLiteral("2^") + QString::number(bits) + QLatin1Char(' ');
  const uint64_t colours = uint64_t{1} << bits;
  if (colours < 1000) return text + QString::number(colours) + QLatin1Char(' ');
  const double count = static_cast<double>(colours);
  if (colours < 1024000ull) return text + rt::numberToText(count / 1024) + QStringLiteral("K ");
  if (colours < 1024000000ull) return text + rt::numberToText(count / 1024 / 1024) + QStringLiteral("M ");
  return text + rt::numberToText(count / 1024 / 1024 / 1024) + QStringLiteral("G ");
}

QString DateText(rt::DateValue date) { return date > 0 ? rt::generalDateText(date) : QString(); }

QRect FitInArea(const QSize& picture, const QRect& area) {
  if (picture.width() <= 0 || picture.height() <= 0 || area.width() <= 0 || area.height() <= 0) return QRect();
  const double a = static_cast<double>(area.width()) / area.height();
  const double p = static_cast<double>(picture.width()) / picture.height();
  double width = 0;
  double height = 0;
  if (p <= a) {
    height = area.height();
    width = height * p;
  } else {
    width = area.width();
    height = width / p;
  }
  const double top = area.top() + (area.height() - height) / 2;
  const double left = area.left() + (area.width() - width) / 2;
  return QRect(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)),
               static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)));
}

}  // namespace FileListRules
