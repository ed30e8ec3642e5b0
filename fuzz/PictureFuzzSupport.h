#pragma once
// What the picture fuzz targets share: the library registered in a private registry (the
// readers' byte helpers come from it), quiet error reports, and the checks every reading
// must pass whatever the bytes.
#include "app/common/ErrorHandling.h"
#include "app/picture/PictureBytes.h"
#include "app/picture/PictureFormat.h"
#include "app/picture/PictureInfos.h"
#include "runtime/ComServer.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace fuzzsupport {

inline bool setUpPictureReader() {
  static QTemporaryDir config;
  if (!config.isValid()) std::abort();
  setenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()).constData(), 1);
  QString detail;
  if (rt::com::registerServer(QStringLiteral(TINDRA_LIBRARY_PATH), false, &detail) !=
      rt::com::RegistrationResult::Done) {
    std::fprintf(stderr, "cannot register the library: %s\n", qPrintable(detail));
    std::abort();
  }
  ErrorHandling::SetPresenter([](const QString&, const QString&) {});
  return true;
}

// Reads the bytes as a picture and looks for a raw preview, which on bytes in memory never
// raises; aborts when the preview named lies outside the bytes.
inline void readPicture(std::span<const uint8_t> bytes) {
  static const bool ready = setUpPictureReader();
  (void)ready;
  PictureInfosFromBytes(bytes);
  MemoryPictureBytes source(bytes);
  const EmbeddedJpeg jpeg = LargestEmbeddedJpeg(source);
  if (jpeg.length < 0 || jpeg.offset < 0 || jpeg.offset > source.size() || jpeg.length > source.size() - jpeg.offset) {
    std::abort();
  }
}

}  // namespace fuzzsupport
