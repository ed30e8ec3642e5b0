#pragma once
// The component runtime's binary contract: status codes, the standard interfaces every
// component object implements (query and reference counting, then dispatch), the class
// factory, the error-record interface, and the entry points of an in-process component server.
//
// Interfaces are abstract classes without a virtual destructor (it would take vtable slots);
// an object is destroyed by its own Release. Every member returns a 32-bit status: negative
// means failure, and a failed member has set the error record that IErrorRecordSource hands
// back. No C++ exception ever crosses an interface.

#include "runtime/ComGuid.h"

#include <QString>
#include <QVariant>

#include <cstdint>

using HRESULT = int32_t;
using ULONG = uint32_t;
using LCID = uint32_t;
using DISPID = int32_t;
// Booleans across an interface: -1 true, 0 false.
using VARIANT_BOOL = int16_t;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Window handles, as the window system gives them (same type as Qt's).
typedef quintptr WId;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004u);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000Au);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009u);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000Bu);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
// The class identifier has no registration (or no server path).
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
// The registered server file does not exist.
constexpr HRESULT CO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8u);
// The registered server file cannot be loaded or lacks its entry points.
constexpr HRESULT CO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9u);
constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200u);
constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

// A run-time error number raised inside a member comes back as this status.
constexpr HRESULT errorStatus(int32_t number) {
  return static_cast<HRESULT>(0x800A0000u | (static_cast<uint32_t>(number) & 0xFFFFu));
}
constexpr bool failed(HRESULT status) { return status < 0; }
constexpr bool succeeded(HRESULT status) { return status >= 0; }

// Invoke's flags and the default member's dispatch identifier.
constexpr uint16_t DISPATCH_METHOD = 1;
constexpr uint16_t DISPATCH_PROPERTYGET = 2;
constexpr uint16_t DISPATCH_PROPERTYPUT = 4;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_UNKNOWN = -1;

// Arguments of a late-bound call, in the member's order (first argument first). An invalid
// QVariant is a missing optional argument. By-reference arguments get their new values
// written back into the same entries.
struct DispParams {
  QVariant* args = nullptr;
  uint32_t count = 0;
};

// What a late-bound call that raised an error reports.
struct ExcepInfo {
  int32_t number = 0;
  QString source;
  QString description;
  QString helpFile;
  uint32_t helpContext = 0;
  HRESULT status = 0;
};

constexpr IID IID_IUnknown = rt::com::makeGuid("{00000000-0000-0000-C000-000000000046}");
constexpr IID IID_IDispatch = rt::com::makeGuid("{00020400-0000-0000-C000-000000000046}");
constexpr IID IID_IClassFactory = rt::com::makeGuid("{00000001-0000-0000-C000-000000000046}");
constexpr IID IID_IErrorRecordSource = rt::com::makeGuid("{6E2B1D54-3A7C-4F0E-9B8D-2C5A41F7E930}");

struct IUnknown {
  static constexpr IID kIid = IID_IUnknown;
  // On success *object holds an added reference; on E_NOINTERFACE it is null.
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
};

struct IDispatch : IUnknown {
  static constexpr IID kIid = IID_IDispatch;
  // Number of type-information objects (0 or 1).
  virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
  // DISP_E_BADINDEX when index is not below GetTypeInfoCount.
  virtual HRESULT GetTypeInfo(uint32_t index, LCID lcid, void** typeInfo) = 0;
  // Member names (any case) to dispatch identifiers; DISP_E_UNKNOWNNAME when one is unknown
  // (its identifier is then DISPID_UNKNOWN).
  virtual HRESULT GetIDsOfNames(const IID& riid, const QString* names, uint32_t count, LCID lcid,
                                DISPID* ids) = 0;
  // Calls a member late-bound. A member that raised returns DISP_E_EXCEPTION with excepInfo
  // filled (when given).
  virtual HRESULT Invoke(DISPID member, const IID& riid, LCID lcid, uint16_t flags,
                         DispParams* params, QVariant* result, ExcepInfo* excepInfo,
                         uint32_t* argErr) = 0;
};

struct IClassFactory : IUnknown {
  static constexpr IID kIid = IID_IClassFactory;
  // CLASS_E_NOAGGREGATION when outer is not null; E_NOINTERFACE when the class lacks iid.
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
  // A lock keeps the server loaded (DllCanUnloadNow answers S_FALSE while one is held).
  virtual HRESULT LockServer(int32_t lock) = 0;
};

// Every object of a component server offers this interface: it hands back (and clears) the
// error record its last failed member set on this thread. S_FALSE when there is none.
struct IErrorRecordSource : IUnknown {
  static constexpr IID kIid = IID_IErrorRecordSource;
  virtual HRESULT GetErrorRecord(int32_t* number, QString* source, QString* description) = 0;
};

// The file version a component server reports.
struct ServerVersion {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t build = 0;
  uint16_t revision = 0;
  friend bool operator==(const ServerVersion&, const ServerVersion&) = default;
};

// Entry points of an in-process component server (exported with C linkage).
extern "C" {
using DllGetClassObjectFn = HRESULT (*)(const CLSID& clsid, const IID& iid, void** object);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetVersionFn = HRESULT (*)(ServerVersion* version);
}
