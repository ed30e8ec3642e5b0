#pragma once
// Error records of the component runtime.
//
// Server side: a member catches every exception at its boundary, stores number, source and
// description in the calling thread's record and returns a failed status (callMember does
// all of it). The object's IErrorRecordSource hands the record to the client.
//
// Client side: raiseOnFailure turns a failed status into rt::RuntimeError carrying the
// record's number, source and description, at the calling statement.

#include "runtime/ComTypes.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace rt {
class RuntimeError;
}

namespace rt::com {

struct ErrorRecord {
  int32_t number = 0;
  QString source;
  QString description;
};

// The calling thread's record (server side).
void setErrorRecord(const ErrorRecord& record);
void clearErrorRecord();
// Returns and clears the record; nullopt when none is set.
std::optional<ErrorRecord> takeErrorRecord();

// Records the exception in flight (call from a catch block) and returns its failed status:
// RuntimeError keeps its number, source and description; std::bad_alloc becomes 7; anything
// else 51 "Erreur interne".
HRESULT recordCurrentException() noexcept;

// Runs body (returning void) at a member's boundary: S_OK, or the failed status of whatever it
// threw, with the record set. The record is cleared first.
template <class Body>
HRESULT callMember(Body&& body) noexcept {
  try {
    clearErrorRecord();
    body();
    return S_OK;
  } catch (...) {
    return recordCurrentException();
  }
}

// The run-time error number a failed status stands for when no record came with it: the
// number itself for an error status, 429 for a class that cannot be created, 7 for lack of
// memory, 5 for an invalid argument, 438 for a missing member; else 440 (automation error).
int32_t errorNumberForStatus(HRESULT status);

// Client side. Does nothing when status succeeded; otherwise raises RuntimeError with the
// object's error record (asked through IErrorRecordSource; object may be null) or, lacking
// one, with errorNumberForStatus(status) and the runtime's text.
void raiseOnFailure(HRESULT status, IUnknown* object);

}  // namespace rt::com
