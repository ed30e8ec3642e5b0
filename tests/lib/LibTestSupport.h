#pragma once
// Helpers of the library tests: a private registry store per test, and calls through an
// interface by vtable slot (what a client compiled against an older header does).

#include "runtime/ComTypes.h"
#include "tests/support/TestEnvironment.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace libtest {

// Points the registry store at a fresh empty folder for the life of the object.
class PrivateRegistry {
 public:
  PrivateRegistry() : saved_(qgetenv("XDG_CONFIG_HOME")), home_(testsupport::makeTempDir(QStringLiteral("registry"))) {
    qputenv("XDG_CONFIG_HOME", home_.toLocal8Bit());
  }
  ~PrivateRegistry() { qputenv("XDG_CONFIG_HOME", saved_); }
  PrivateRegistry(const PrivateRegistry&) = delete;
  PrivateRegistry& operator=(const PrivateRegistry&) = delete;
  const QString& home() const { return home_; }

 private:
  QByteArray saved_;
  QString home_;
};

// The first seven slots are the standard ones; a class's member n (0-based) is slot 7 + n.
constexpr int kFirstMemberSlot = 7;

// Calls slot `slot` of the object's vtable with this signature.
template <class... Args>
HRESULT callSlot(void* object, int slot, Args... args) {
  using Fn = HRESULT (*)(void*, Args...);
  void** vtable = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(vtable[slot])(object, args...);
}

}  // namespace libtest
