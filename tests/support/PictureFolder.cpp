#include "tests/support/PictureFolder.h"

#include "tests/support/JpegBuilder.h"
#include "tests/support/TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <stdexcept>

namespace testsupport {
namespace {

void setModificationTime(const QString& path, rt::DateValue date) {
  const rt::DateParts p = rt::splitDate(date);
  const QDateTime when(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(when, QFileDevice::FileModificationTime))
    throw std::runtime_error("cannot set the modification time of " + path.toStdString());
}

}  // namespace

PictureFolder::PictureFolder() : path_(makeTempDir(QStringLiteral("pictures"))) {}

QByteArray PictureFolder::addPicture(const QString& name, const QByteArray& shot, rt::DateValue fileDate) {
  static uint16_t serial = 0;
  ExifContent content;
  content.dateTimeOriginal = shot;
  const QByteArray bytes = shot.isEmpty()
                               ? JpegBuilder().app0Jfif().dqt().frame(0xC0, 8, 10, ++serial).scanAndEnd().bytes()
                               : exifJpeg(content, ++serial, 10);
  addFile(name, bytes, fileDate);
  return bytes;
}

void PictureFolder::addFile(const QString& name, const QByteArray& bytes, rt::DateValue fileDate) {
  const QString file = pathOf(name);
  if (!writeFile(file, bytes)) throw std::runtime_error("cannot write " + file.toStdString());
  if (fileDate > 0) setModificationTime(file, fileDate);
}

QStringList PictureFolder::entries() const {
  QStringList names = QDir(path_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  names.sort();
  return names;
}

QMap<QString, QByteArray> PictureFolder::contents() const {
  QMap<QString, QByteArray> result;
  for (const QString& name : entries()) result.insert(name, readFile(pathOf(name)));
  return result;
}

}  // namespace testsupport
