// Fuzzes the picture reader: the input is a picture file's bytes, read through the same core
// as files on disk. Failures the reader reports are expected; crashes, reads outside the
// input, undefined behaviour and hangs are not.
#include "app/common/ErrorHandling.h"
#include "app/picture/PictureInfos.h"
#include "runtime/ComServer.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace {

// The library answers the reader's byte helpers: register it in a registry of our own, under
// a temporary configuration folder, and keep reported failures quiet.
bool setUp() {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = setUp();
  (void)ready;
  const JpegInfosClass info = PictureInfosFromBytes(std::span(data, size));
  // A size can only come from a frame header, which needs at least SOI, marker, length and
  // six bytes.
  if ((info.ImgWidth() != 0 || info.Layers() != 0) && size < 12) std::abort();
  return 0;
}
