#include "app/picture/PictureInfos.h"

#include "app/common/ErrorHandling.h"
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
