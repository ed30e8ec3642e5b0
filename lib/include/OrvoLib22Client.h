#pragma once
// OrvoLib22 for other programs: creating the library's objects and reading the errors they
// raise. A client links only libOrvoLib22Client (CMake: find_package(OrvoLib22) and the target
// OrvoLib22::OrvoLib22; pkg-config: orvolib22); the library itself is loaded at run time. The
// headers need only Qt 6 Core and C++20.
//
// What crosses the interface: the interfaces of OrvoLib22.h with Qt values (QString,
// QStringList, QVariant, QPixmap, QWidget*...). Client and library share one Qt in the process,
// so the client must be built against the same Qt 6 the library runs with (or an older 6.x).

#include "OrvoLib22.h"
#include "runtime/ComPtr.h"
#include "runtime/ComTypes.h"

#include <QString>

#include <cstdint>

#define ORVOLIB22_CLIENT_API __attribute__((visibility("default")))

namespace OrvoLib22 {

// Creates an object of class clsid and asks it for interface iid. The library is the one named
// by the user's registration, else by the machine's (installation writes it), else the copy in
// the client library's install (<libdir>/tindra/libOrvoLib22.so.2). On failure *object is null
// and detail, when given, says why in French, naming every file looked for.
ORVOLIB22_CLIENT_API HRESULT CreateObject(const CLSID& clsid, const IID& iid, void** object,
                                          QString* detail = nullptr);

template <class T>
HRESULT CreateObject(const CLSID& clsid, rt::com::ComPtr<T>& out, QString* detail = nullptr) {
  return CreateObject(clsid, T::kIid, out.put(), detail);
}

// An error raised by the library: its run-time error number, source and French description.
struct Error {
  int32_t number = 0;
  QString source;
  QString description;
};

// The error behind a failed status: the record that object's last failed member left on this
// thread (handed over once, then cleared), or, lacking one, the runtime's number and text for
// the status (429 for a class that cannot be created). number 0 when status succeeded.
ORVOLIB22_CLIENT_API Error ErrorOf(HRESULT status, IUnknown* object);

}  // namespace OrvoLib22
