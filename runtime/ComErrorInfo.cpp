#include "runtime/ComErrorInfo.h"

#include "runtime/ComPtr.h"
#include "runtime/RuntimeError.h"

#include <new>

namespace rt::com {
namespace {
constexpr int32_t kInternalError = 51;
constexpr int32_t kCannotCreateObject = 429;
constexpr int32_t kMemberNotSupported = 438;
constexpr int32_t kAutomationError = 440;

std::optional<ErrorRecord>& threadRecord() {
  thread_local std::optional<ErrorRecord> record;
  return record;
}
}  // namespace

void setErrorRecord(const ErrorRecord& record) { threadRecord() = record; }

void clearErrorRecord() { threadRecord().reset(); }

std::optional<ErrorRecord> takeErrorRecord() {
  std::optional<ErrorRecord> out;
  out.swap(threadRecord());
  return out;
}

HRESULT recordCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const RuntimeError& e) {
      setErrorRecord({e.number(), e.source(), e.description()});
      return errorStatus(e.number());
    } catch (const std::bad_alloc&) {
      setErrorRecord({ErrOutOfMemory, defaultErrorSource(), errorDescription(ErrOutOfMemory)});
      return errorStatus(ErrOutOfMemory);
    } catch (...) {
      setErrorRecord({kInternalError, defaultErrorSource(), QStringLiteral("Erreur interne")});
      return errorStatus(kInternalError);
    }
  } catch (...) {
    // Building the record itself failed (out of memory): the status alone must do.
    return E_OUTOFMEMORY;
  }
}

int32_t errorNumberForStatus(HRESULT status) {
  if ((static_cast<uint32_t>(status) & 0xFFFF0000u) == 0x800A0000u) {
    return static_cast<int32_t>(static_cast<uint32_t>(status) & 0xFFFFu);
  }
  switch (status) {
    case REGDB_E_CLASSNOTREG:
    case CO_E_DLLNOTFOUND:
    case CO_E_ERRORINDLL:
    case CLASS_E_CLASSNOTAVAILABLE:
    case E_NOINTERFACE: return kCannotCreateObject;
    case E_OUTOFMEMORY: return ErrOutOfMemory;
    case E_INVALIDARG:
    case E_POINTER: return ErrInvalidArgument;
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
    case E_NOTIMPL: return kMemberNotSupported;
    default: return kAutomationError;
  }
}

void raiseOnFailure(HRESULT status, IUnknown* object) {
  if (succeeded(status)) return;
  if (object) {
    ComPtr<IErrorRecordSource> source;
    if (succeeded(object->QueryInterface(IID_IErrorRecordSource, source.put())) && source) {
      int32_t number = 0;
      QString src;
      QString description;
      if (source->GetErrorRecord(&number, &src, &description) == S_OK) {
        throw RuntimeError(number, src, description);
      }
    }
  }
  const int32_t number = errorNumberForStatus(status);
  if (number == kAutomationError) {
    raise(number, QString(),
          QStringLiteral("Erreur Automation (0x%1)").arg(static_cast<uint32_t>(status), 8, 16,
                                                          QLatin1Char('0')));
  }
  raise(number);
}

}  // namespace rt::com
