#pragma once
// The run-time error a client raises for a failed library call (number 0 when the call
// succeeded), so a test can check number, source and description in one place.

#include "runtime/ComErrorInfo.h"
#include "runtime/ComTypes.h"
#include "runtime/RuntimeError.h"

#include <QString>

#include <cstdint>

namespace libtest {

struct RaisedError {
  int32_t number = 0;
  QString source;
  QString description;
};

inline RaisedError raisedError(HRESULT status, IUnknown* object) {
  try {
    rt::com::raiseOnFailure(status, object);
  } catch (const rt::RuntimeError& e) {
    return {e.number(), e.source(), e.description()};
  }
  return {};
}

}  // namespace libtest
