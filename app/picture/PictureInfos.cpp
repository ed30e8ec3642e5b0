#include "app/picture/PictureInfos.h"

#include "app/common/ErrorHandling.h"
#include "app/picture/JpegReader.h"
#include "app/picture/PictureBytes.h"

namespace {
const QString kWhere = QStringLiteral("wMain.PictureInfos");
}  // namespace

JpegInfosClass PictureInfos(const QString& path) {
  JpegInfosClass info;
  try {
    if (const auto date = rt::fileModificationDate(path)) info.SetFileDate(*date);
    FilePictureBytes bytes(path);
    ReadJpegInfos(bytes, info);
  } catch (...) {
    ErrorHandling::ShowCurrentException(kWhere);
  }
  return info;
}

JpegInfosClass PictureInfosFromBytes(std::span<const uint8_t> bytes) {
  JpegInfosClass info;
  try {
    MemoryPictureBytes source(bytes);
    ReadJpegInfos(source, info);
  } catch (...) {
    ErrorHandling::ShowCurrentException(kWhere);
  }
  return info;
}
