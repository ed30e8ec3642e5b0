#pragma once
// File errors that come from a failed system call: the runtime's file error number and
// description, plus the system's own reason (errno), which tells the user what really happened
// ("Système de fichiers accessible en lecture seulement" behind a 70 "Permission refusée").

#include "runtime/RuntimeError.h"

namespace rt {

class SystemError : public RuntimeError {
 public:
  // The runtime's file error for err (fileErrorFromErrno), carrying err.
  explicit SystemError(int err) : RuntimeError(fileErrorFromErrno(err)), code_(err) {}
  int code() const noexcept { return code_; }

 private:
  int code_;
};

[[noreturn]] void raiseFileError(int err);

// The system's reason for an errno value, in French; "erreur système N" for values it does
// not name.
QString systemErrorText(int err);

// The system's reason behind the exception in flight when it is a SystemError, else "".
QString currentSystemReason();

}  // namespace rt
