// Fuzzes the path codec: any bytes decode to a text that encodes back to the same bytes, valid
// UTF-8 decodes as UTF-8, and the readable form holds no lone surrogate.
#include "runtime/PathCodec.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "path fuzz check failed: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = rt::decodePath(bytes);
  check(rt::encodePath(text) == bytes, "bytes survive decoding and encoding");
  check(rt::decodePath(rt::encodePath(text)) == text, "texts survive encoding and decoding");
  if (bytes.isValidUtf8()) check(text == QString::fromUtf8(bytes), "valid UTF-8 decodes as UTF-8");
  const QString shown = rt::displayPath(text);
  check(shown.isValidUtf16(), "the readable form holds no lone surrogate");
  return 0;
}
