// Fuzzes the registry hive parser: the input is a hive's text. Whatever it holds, the parse
// must not crash, and what it read must survive a write and a second read unchanged.
#include "runtime/HiveFormat.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString root = QStringLiteral("HKEY_CURRENT_USER");
  const rt::reg::ParsedHive first = rt::reg::parseHive(input, root);
  const QByteArray written = rt::reg::serializeHive(first.root, root);
  const rt::reg::ParsedHive second = rt::reg::parseHive(written, root);
  if (second.damaged || rt::reg::serializeHive(second.root, root) != written) {
    std::fprintf(stderr, "hive fuzz: a written hive does not read back the same\n");
    std::abort();
  }
  return 0;
}
