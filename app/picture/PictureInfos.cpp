#include "app/picture/PictureInfos.h"

#include "app/common/ErrorHandling.h"
#include "app/common/Orvofonctions2.h"
#include "app/picture/PictureFormat.h"
#include "app/picture/PictureBytes.h"

namespace {
const QString kWhere = QStringLiteral("wMain.PictureInfos");
}  // namespace

JpegInfosClass PictureInfos(const QString& path) {
  JpegInfosClass info;
  try {
    FilePictureBytes bytes(path);
    if (const auto date = bytes.modificationDate()) info.SetFileDate(*date);
    ReadPictureInfos(bytes, info);
  } catch (...) {
    // A file that could not be opened still has its date when the file system gives one.
    if (info.FileDate() == 0.0) {
      if (const auto date = rt::fileModificationDate(path)) info.SetFileDate(*date);
    }
    ErrorHandling::ShowCurrentException(kWhere);
  }
  return info;
}

JpegInfosClass PictureInfos(rt::OpenFile file) {
  JpegInfosClass info;
  if (const auto date = rt::localFileDate(file.modified)) info.SetFileDate(*date);
  try {
    FilePictureBytes bytes(file);
    ReadPictureInfos(bytes, info);
  } catch (...) {
    ErrorHandling::ShowCurrentException(kWhere);
  }
  return info;
}

bool PrepareConcurrentReading() {
  try {
    Orvofonctions2::HexFunctionsObject();
    return true;
  } catch (...) {
    return false;
  }
}

JpegInfosClass PictureInfosFromBytes(std::span<const uint8_t> bytes) {
  JpegInfosClass info;
  try {
    MemoryPictureBytes source(bytes);
    ReadPictureInfos(source, info);
  } catch (...) {
    ErrorHandling::ShowCurrentException(kWhere);
  }
  return info;
}
