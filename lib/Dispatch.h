#pragma once
// Late-bound calls (GetIDsOfNames / Invoke) built from a class's member list. A class lists
// its members once, in binding order:
//
//   static const DispatchTable& dispatchTable() {
//     static const DispatchTable table{
//         method<&_HexFunctions::HiByte>("HiByte"),        // last parameter is the result
//         procedure<&_IniParam::SetPrivateParam>("SetPrivateParam"),  // no result
//         propertyGet<&_StringArray::get_Count>("Count"),
//         propertyPut<&_StringArray::put_Sorted>("Sorted"),
//     };
//     return table;
//   }
//
// Dispatch identifiers follow the list: the first entry of a name gets the next number from
// 1; a property's get and put share theirs; an entry marked asDefault() gets DISPID_VALUE.
// Arguments arrive as QVariant in the member's order and are converted by ArgumentConverter;
// by-reference arguments are written back. A class whose members take other types adds a
// specialisation of ArgumentConverter for them.

#include "runtime/ComErrorInfo.h"
#include "runtime/ComTypes.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace orvo {

// Converts one argument of type T from the QVariant a late-bound caller passed (null when
// the caller passed fewer arguments). load() returns a failed status for a missing required
// argument or a value of the wrong kind; pass() gives the member its argument; store()
// writes a by-reference argument back.
template <class T, class Enable = void>
struct ArgumentConverter;

namespace dispatch_detail {

inline HRESULT requireValue(const QVariant* in) {
  return (in && in->isValid()) ? S_OK : DISP_E_PARAMNOTFOUND;
}

template <class Int>
HRESULT loadInteger(const QVariant* in, Int& out) {
  if (HRESULT hr = requireValue(in); failed(hr)) return hr;
  if (in->typeId() == QMetaType::Bool) {
    out = static_cast<Int>(in->toBool() ? -1 : 0);
    if constexpr (std::is_unsigned_v<Int>) out = in->toBool() ? std::numeric_limits<Int>::max() : 0;
    return S_OK;
  }
  bool ok = false;
  const double value = in->toDouble(&ok);
  if (!ok || !std::isfinite(value)) return DISP_E_TYPEMISMATCH;
  const double rounded = std::nearbyint(value);  // ties to even, as the runtime converts
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    return DISP_E_OVERFLOW;
  }
  out = static_cast<Int>(rounded);
  return S_OK;
}

}  // namespace dispatch_detail

// Integers by value (16/32-bit signed, 8-bit unsigned; flags are 16-bit).
template <class T>
struct ArgumentConverter<T, std::enable_if_t<std::is_integral_v<T>>> {
  using Holder = T;
  static HRESULT load(Holder& h, const QVariant* in) { return dispatch_detail::loadInteger(in, h); }
  static T pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

// Integers by reference.
template <class T>
struct ArgumentConverter<T*, std::enable_if_t<std::is_integral_v<T>>> {
  using Holder = T;
  static HRESULT load(Holder& h, const QVariant* in) { return dispatch_detail::loadInteger(in, h); }
  static T* pass(Holder& h) { return &h; }
  static void store(Holder& h, QVariant* out) {
    if (out) *out = QVariant::fromValue(h);
  }
};

template <class T>
struct ArgumentConverter<T, std::enable_if_t<std::is_floating_point_v<T>>> {
  using Holder = T;
  static HRESULT load(Holder& h, const QVariant* in) {
    if (HRESULT hr = dispatch_detail::requireValue(in); failed(hr)) return hr;
    bool ok = false;
    h = static_cast<T>(in->toDouble(&ok));
    return ok ? S_OK : DISP_E_TYPEMISMATCH;
  }
  static T pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

template <>
struct ArgumentConverter<const QString&> {
  using Holder = QString;
  static HRESULT load(Holder& h, const QVariant* in) {
    if (HRESULT hr = dispatch_detail::requireValue(in); failed(hr)) return hr;
    if (!in->canConvert<QString>()) return DISP_E_TYPEMISMATCH;
    h = in->toString();
    return S_OK;
  }
  static const QString& pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

template <>
struct ArgumentConverter<QString*> {
  using Holder = QString;
  static HRESULT load(Holder& h, const QVariant* in) {
    return ArgumentConverter<const QString&>::load(h, in);
  }
  static QString* pass(Holder& h) { return &h; }
  static void store(Holder& h, QVariant* out) {
    if (out) *out = h;
  }
};

template <>
struct ArgumentConverter<QStringList*> {
  using Holder = QStringList;
  static HRESULT load(Holder& h, const QVariant* in) {
    if (HRESULT hr = dispatch_detail::requireValue(in); failed(hr)) return hr;
    if (!in->canConvert<QStringList>()) return DISP_E_TYPEMISMATCH;
    h = in->toStringList();
    return S_OK;
  }
  static QStringList* pass(Holder& h) { return &h; }
  static void store(Holder& h, QVariant* out) {
    if (out) *out = h;
  }
};

// Optional or self-describing values by value: missing stays an invalid QVariant.
template <>
struct ArgumentConverter<const QVariant&> {
  using Holder = QVariant;
  static HRESULT load(Holder& h, const QVariant* in) {
    h = in ? *in : QVariant();
    return S_OK;
  }
  static const QVariant& pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

// Optional or self-describing values by reference: a missing argument passes null.
template <>
struct ArgumentConverter<QVariant*> {
  struct Holder {
    QVariant value;
    bool present = false;
  };
  static HRESULT load(Holder& h, const QVariant* in) {
    h.present = in != nullptr;
    if (in) h.value = *in;
    return S_OK;
  }
  static QVariant* pass(Holder& h) { return h.present ? &h.value : nullptr; }
  static void store(Holder& h, QVariant* out) {
    if (out && h.present) *out = h.value;
  }
};

// Object arguments (forms, printers...): a QVariant holding the pointer.
template <class T>
struct ArgumentConverter<T*, std::enable_if_t<std::is_class_v<T> && !std::is_same_v<T, QString> &&
                                              !std::is_same_v<T, QStringList> &&
                                              !std::is_same_v<T, QVariant> &&
                                              std::is_base_of_v<QObject, T>>> {
  using Holder = T*;
  static HRESULT load(Holder& h, const QVariant* in) {
    h = nullptr;
    if (!in || !in->isValid()) return S_OK;
    h = qobject_cast<T*>(in->value<QObject*>());
    return S_OK;
  }
  static T* pass(Holder& h) { return h; }
  static void store(Holder&, QVariant*) {}
};

// A result as a self-describing value.
template <class R>
QVariant resultToVariant(const R& value) {
  if constexpr (std::is_same_v<R, QVariant>) {
    return value;
  } else {
    return QVariant::fromValue(value);
  }
}

using DispatchCall = HRESULT (*)(IDispatch* self, DispParams* params, QVariant* result,
                                 uint32_t* argErr);

struct DispatchEntry {
  const char* name;
  uint16_t flags;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT
  DispatchCall call;
  bool isDefault = false;
  DispatchEntry asDefault() const {
    DispatchEntry e = *this;
    e.isDefault = true;
    return e;
  }
};

namespace dispatch_detail {

template <class M>
struct MemberTraits;
template <class I, class... A>
struct MemberTraits<HRESULT (I::*)(A...)> {
  using Interface = I;
  using Args = std::tuple<A...>;
  static constexpr size_t arity = sizeof...(A);
};

template <auto Member, bool HasResult, size_t... Is>
HRESULT invokeWith(IDispatch* self, DispParams* params, QVariant* result, uint32_t* argErr,
                   std::index_sequence<Is...>) {
  using Traits = MemberTraits<decltype(Member)>;
  using Args = typename Traits::Args;
  constexpr uint32_t kCount = sizeof...(Is);
  const uint32_t given = params ? params->count : 0;
  if (given > kCount) return DISP_E_BADPARAMCOUNT;
  [[maybe_unused]] auto argAt = [&](size_t i) -> QVariant* {
    return (params && i < given) ? &params->args[i] : nullptr;
  };
  std::tuple<typename ArgumentConverter<std::tuple_element_t<Is, Args>>::Holder...> holders;
  HRESULT status = S_OK;
  [[maybe_unused]] uint32_t failedAt = 0;
  (void)((succeeded(status = ArgumentConverter<std::tuple_element_t<Is, Args>>::load(
                        std::get<Is>(holders), argAt(Is))) ||
          (failedAt = static_cast<uint32_t>(Is), false)) &&
         ...);
  if (failed(status)) {
    if (argErr) *argErr = failedAt;
    return status;
  }
  auto* object = static_cast<typename Traits::Interface*>(self);
  if constexpr (HasResult) {
    using ResultPtr = std::tuple_element_t<Traits::arity - 1, Args>;
    std::remove_pointer_t<ResultPtr> value{};
    status = (object->*Member)(
        ArgumentConverter<std::tuple_element_t<Is, Args>>::pass(std::get<Is>(holders))..., &value);
    if (succeeded(status) && result) *result = resultToVariant(value);
  } else {
    status = (object->*Member)(
        ArgumentConverter<std::tuple_element_t<Is, Args>>::pass(std::get<Is>(holders))...);
  }
  (ArgumentConverter<std::tuple_element_t<Is, Args>>::store(std::get<Is>(holders), argAt(Is)), ...);
  return status;
}

template <auto Member, bool HasResult>
HRESULT invokeMember(IDispatch* self, DispParams* params, QVariant* result, uint32_t* argErr) {
  constexpr size_t arity = MemberTraits<decltype(Member)>::arity;
  constexpr size_t inputs = HasResult ? arity - 1 : arity;
  return invokeWith<Member, HasResult>(self, params, result, argErr,
                                       std::make_index_sequence<inputs>{});
}

}  // namespace dispatch_detail

// A member whose last parameter is its result.
template <auto Member>
DispatchEntry method(const char* name) {
  return {name, DISPATCH_METHOD, &dispatch_detail::invokeMember<Member, true>};
}
// A member without result.
template <auto Member>
DispatchEntry procedure(const char* name) {
  return {name, DISPATCH_METHOD, &dispatch_detail::invokeMember<Member, false>};
}
template <auto Member>
DispatchEntry propertyGet(const char* name) {
  return {name, DISPATCH_PROPERTYGET, &dispatch_detail::invokeMember<Member, true>};
}
template <auto Member>
DispatchEntry propertyPut(const char* name) {
  return {name, DISPATCH_PROPERTYPUT, &dispatch_detail::invokeMember<Member, false>};
}

class DispatchTable {
 public:
  DispatchTable(std::initializer_list<DispatchEntry> entries);

  // The dispatch identifier of a member name (any case), or DISPID_UNKNOWN.
  DISPID idOf(const QString& name) const;

  // Resolves the names; DISP_E_UNKNOWNNAME when one is unknown.
  HRESULT idsOfNames(const QString* names, uint32_t count, DISPID* ids) const;

  // Calls the member id with flags. A member that failed with an error record gives
  // DISP_E_EXCEPTION and the record in excepInfo (when given).
  HRESULT invoke(IDispatch* self, DISPID id, uint16_t flags, DispParams* params, QVariant* result,
                 ExcepInfo* excepInfo, uint32_t* argErr) const;

 private:
  struct Slot {
    DispatchEntry entry;
    DISPID id;
  };
  std::vector<Slot> slots_;
};

}  // namespace orvo
