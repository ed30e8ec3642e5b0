#pragma once
// The number of the run-time error a call raises, or 0 when it raises none.

#include "runtime/RuntimeError.h"

namespace testsupport {

int raisedNumber(auto&& call) {
  try {
    call();
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace testsupport
