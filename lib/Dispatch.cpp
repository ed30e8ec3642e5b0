#include "lib/Dispatch.h"

namespace orvo {

DispatchTable::DispatchTable(std::initializer_list<DispatchEntry> entries) {
  DISPID next = 1;
  for (const DispatchEntry& entry : entries) {
    DISPID id = DISPID_UNKNOWN;
    for (const Slot& slot : slots_) {
      if (QString::fromLatin1(slot.entry.name).compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
        id = slot.id;
        break;
      }
    }
    if (id == DISPID_UNKNOWN) id = entry.isDefault ? DISPID_VALUE : next++;
    slots_.push_back({entry, id});
  }
}

DISPID DispatchTable::idOf(const QString& name) const {
  for (const Slot& slot : slots_) {
    if (name.compare(QLatin1String(slot.entry.name), Qt::CaseInsensitive) == 0) return slot.id;
  }
  return DISPID_UNKNOWN;
}

HRESULT DispatchTable::idsOfNames(const QString* names, uint32_t count, DISPID* ids) const {
  if (count > 0 && (!names || !ids)) return E_POINTER;
  HRESULT status = S_OK;
  for (uint32_t i = 0; i < count; ++i) {
    ids[i] = idOf(names[i]);
    if (ids[i] == DISPID_UNKNOWN) status = DISP_E_UNKNOWNNAME;
  }
  return status;
}

HRESULT DispatchTable::invoke(IDispatch* self, DISPID id, uint16_t flags, DispParams* params,
                              QVariant* result, ExcepInfo* excepInfo, uint32_t* argErr) const {
  if (params && params->count > 0 && !params->args) return E_POINTER;
  for (const Slot& slot : slots_) {
    if (slot.id != id) continue;
    const uint16_t kind = slot.entry.flags;
    // A function may be read like a property, and a property read called like a function.
    const uint16_t accepted =
        kind == DISPATCH_PROPERTYPUT ? DISPATCH_PROPERTYPUT
                                     : static_cast<uint16_t>(DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    if ((flags & accepted) == 0) continue;
    rt::com::clearErrorRecord();
    const HRESULT status = slot.entry.call(self, params, result, argErr);
    if (failed(status)) {
      auto record = rt::com::takeErrorRecord();
      if (record && excepInfo) {
        *excepInfo = ExcepInfo{record->number, record->source, record->description, QString(), 0, status};
        return DISP_E_EXCEPTION;
      }
      if (record) rt::com::setErrorRecord(*record);
    }
    return status;
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace orvo
