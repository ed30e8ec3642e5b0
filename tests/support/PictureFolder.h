#pragma once
// A fresh temporary folder of byte-built pictures for rename tests: each picture has its own
// bytes, so a test can follow every file through renames by its content.

#include "runtime/DateValue.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace testsupport {

class PictureFolder {
 public:
  PictureFolder();
  // An existing folder (a mounted card...), used as it is.
  explicit PictureFolder(QString path) : path_(std::move(path)) {}

  const QString& path() const { return path_; }
  QString pathOf(const QString& name) const { return path_ + QLatin1Char('/') + name; }

  // Writes a JPEG named name whose EXIF shooting date is shot ("yyyy:MM:dd hh:mm:ss"; empty
  // for a picture without EXIF dates) and whose modification time is fileDate (a local date
  // value; 0 leaves the current time). Returns the file's bytes, unique among the pictures
  // of this process.
  QByteArray addPicture(const QString& name, const QByteArray& shot, rt::DateValue fileDate = 0);

  // Writes any bytes; fileDate as above.
  void addFile(const QString& name, const QByteArray& bytes, rt::DateValue fileDate = 0);

  // Every entry of the folder ("." and ".." excluded), sorted.
  QStringList entries() const;
  // The bytes of every file of the folder, by name.
  QMap<QString, QByteArray> contents() const;

 private:
  QString path_;
};

}  // namespace testsupport
