// Fuzz target: arbitrary bytes as a settings file, loaded into a fresh rename-settings record.
// Loading must never crash; a bad value may only raise a run-time error. A file that loads is
// saved into a copy of itself: either the save succeeds and loading the copy gives the same
// settings, or it fails (a text the file format cannot hold) and the copy is left untouched.

#include "app/common/ErrorHandling.h"
#include "app/naming/ConfigClass.h"
#include "runtime/AtomicFile.h"
#include "runtime/ComServer.h"
#include "runtime/RuntimeError.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifndef TINDRA_LIBRARY_PATH
#error "TINDRA_LIBRARY_PATH must name the built OrvoLib22 library"
#endif

namespace {

struct FuzzEnvironment {
  std::unique_ptr<QTemporaryDir> dir;
  QString input;
  QString copy;
};

// A private registry under a temporary configuration folder, with the library registered in
// it; error messages are dropped.
FuzzEnvironment& environment() {
  static FuzzEnvironment env = [] {
    FuzzEnvironment e;
    e.dir = std::make_unique<QTemporaryDir>();
    if (!e.dir->isValid()) {
      std::fprintf(stderr, "settings fuzzer: no temporary folder\n");
      std::abort();
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(e.dir->filePath("config")));
    QString detail;
    if (rt::com::registerServer(QStringLiteral(TINDRA_LIBRARY_PATH), false, &detail) !=
        rt::com::RegistrationResult::Done) {
      std::fprintf(stderr, "settings fuzzer: library not registered: %s\n", qPrintable(detail));
      std::abort();
    }
    ErrorHandling::SetPresenter([](const QString&, const QString&) {});
    rt::files::setFlushToDisk(false);  // throw-away files: no need to wait for the disk
    e.input = e.dir->filePath("input.tdc");
    e.copy = e.dir->filePath("copy.tdc");
    return e;
  }();
  return env;
}

bool writeBytes(const QString& path, const uint8_t* data, size_t size) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const qint64 wanted = static_cast<qint64>(size);
  return size == 0 || file.write(reinterpret_cast<const char*>(data), wanted) == wanted;
}

QByteArray readBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  return file.readAll();
}

bool sameStoredFields(const ConfigClass& a, const ConfigClass& b) {
  for (int i = 1; i <= 3; ++i) {
    if (a.IsDateDigit(i) != b.IsDateDigit(i) || a.IsTimeDigit(i) != b.IsTimeDigit(i)) return false;
  }
  for (int i = 0; i <= 1; ++i) {
    if (a.IsDateSep(i) != b.IsDateSep(i) || a.IsTimeSep(i) != b.IsTimeSep(i)) return false;
  }
  return a.Prefix() == b.Prefix() && a.Postfix() == b.Postfix() && a.IsSuffix() == b.IsSuffix() &&
         a.Digits() == b.Digits() && a.StartNum() == b.StartNum() && a.SuffixType() == b.SuffixType() &&
         a.NotExif() == b.NotExif() && a.Extension() == b.Extension() && a.DateSep() == b.DateSep() &&
         a.TimeSep() == b.TimeSep() && a.DateTimeSep() == b.DateTimeSep();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  environment();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzEnvironment& env = environment();
  if (!writeBytes(env.input, data, size)) std::abort();
  ConfigClass loaded;
  try {
    if (!loaded.Load(env.input)) std::abort();
  } catch (const rt::RuntimeError&) {
    return 0;  // a value that does not convert: refused, as it should be
  }
  (void)loaded.FormatName(QStringLiteral("20240315143025"));

  QFile::remove(env.copy);
  if (!QFile::copy(env.input, env.copy)) std::abort();
  if (!loaded.Save(env.copy)) {
    if (readBytes(env.copy) != readBytes(env.input)) {
      std::fprintf(stderr, "settings fuzzer: a failed save changed the file\n");
      std::abort();
    }
    return 0;
  }
  ConfigClass again;
  if (!again.Load(env.copy) || !sameStoredFields(loaded, again)) {
    std::fprintf(stderr, "settings fuzzer: settings changed through a save and reload\n");
    std::abort();
  }
  return 0;
}
