#include "lib/include/OrvoLib22Client.h"

#include "runtime/ComCreate.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComServer.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFileInfo>

// The library's folder relative to the client library's own, given by the build.
#ifndef ORVOLIB22_SERVER_SUBDIR
#define ORVOLIB22_SERVER_SUBDIR "tindra"
#endif

namespace OrvoLib22 {
namespace {

// The library beside the client library (a build tree) first, its install folder last.
rt::com::BundledServer bundledLibrary() {
  const QString own = rt::com::moduleFilePath(reinterpret_cast<const void*>(&bundledLibrary));
  const QString folder = QFileInfo(own).absolutePath();
  return {QLatin1String(kServerFileName), {folder},
          {QDir::cleanPath(folder + QStringLiteral("/" ORVOLIB22_SERVER_SUBDIR))}};
}

}  // namespace

HRESULT CreateObject(const CLSID& clsid, const IID& iid, void** object, QString* detail) {
  try {
    const rt::com::BundledServer library = bundledLibrary();
    return rt::com::createInstance(clsid, iid, object, detail, &library);
  } catch (...) {
    // Out of memory while building paths: nothing may escape into the client.
    if (object) *object = nullptr;
    return E_OUTOFMEMORY;
  }
}

Error ErrorOf(HRESULT status, IUnknown* object) {
  try {
    rt::com::raiseOnFailure(status, object);
  } catch (const rt::RuntimeError& e) {
    return {e.number(), e.source(), e.description()};
  } catch (...) {
    return {rt::ErrOutOfMemory, QString(), QString()};
  }
  return {};
}

}  // namespace OrvoLib22
