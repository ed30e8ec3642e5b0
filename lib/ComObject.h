#pragma once
// The common part of every library object: reference counting, interface queries, late-bound
// dispatch through the class's DispatchTable, and the error record handed to clients.
//
// A class derives from ComObject<Self, Interface>, is declared final, implements the
// interface's members through callMember (so no exception leaves a member), and provides
// `static const DispatchTable& dispatchTable()`. Objects are created with a reference count
// of 0 by createObject below and destroyed by their last Release.

#include "lib/Dispatch.h"
#include "lib/ServerLifetime.h"
#include "runtime/ComErrorInfo.h"
#include "runtime/ComTypes.h"

#include <atomic>
#include <new>

namespace orvo {

template <class Self, class Interface>
class ComObject : public Interface, public IErrorRecordSource {
 public:
  ComObject() { objectCreated(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  ~ComObject() { objectDestroyed(); }

  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == Interface::kIid) {
      *object = static_cast<Interface*>(this);
    } else if (iid == IID_IErrorRecordSource) {
      *object = static_cast<IErrorRecordSource*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  ULONG AddRef() override { return ++references_; }

  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Self*>(this);
    return left;
  }

  // The members are described by the dispatch table, not by type-information objects.
  HRESULT GetTypeInfoCount(uint32_t* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }

  HRESULT GetTypeInfo(uint32_t, LCID, void** typeInfo) override {
    if (typeInfo) *typeInfo = nullptr;
    return DISP_E_BADINDEX;
  }

  HRESULT GetIDsOfNames(const IID&, const QString* names, uint32_t count, LCID,
                        DISPID* ids) override {
    return Self::dispatchTable().idsOfNames(names, count, ids);
  }

  HRESULT Invoke(DISPID member, const IID&, LCID, uint16_t flags, DispParams* params,
                 QVariant* result, ExcepInfo* excepInfo, uint32_t* argErr) override {
    return Self::dispatchTable().invoke(static_cast<Interface*>(this), member, flags, params,
                                        result, excepInfo, argErr);
  }

  HRESULT GetErrorRecord(int32_t* number, QString* source, QString* description) override {
    auto record = rt::com::takeErrorRecord();
    if (!record) return S_FALSE;
    if (number) *number = record->number;
    if (source) *source = record->source;
    if (description) *description = record->description;
    return S_OK;
  }

 private:
  std::atomic<ULONG> references_{0};
};

// Creates an object of class T and asks it for iid (the factories' creation function).
template <class T>
HRESULT createObject(const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  T* created = nullptr;
  try {
    created = new T();
  } catch (...) {
    return rt::com::recordCurrentException();
  }
  created->AddRef();
  const HRESULT status = created->QueryInterface(iid, object);
  created->Release();
  return status;
}

}  // namespace orvo
