#include "lib/StringArray.h"

#include "lib/ArgumentValues.h"
#include "lib/ErrorTable.h"
#include "runtime/RuntimeError.h"

#include <limits>

namespace orvo {

const DispatchTable& StringArray::dispatchTable() {
  static const DispatchTable table{
      propertyGet<&_StringArray::get_Count>("Count"),
      propertyPut<&_StringArray::put_Sorted>("Sorted"),
      propertyGet<&_StringArray::get_Sorted>("Sorted"),
      procedure<&_StringArray::Add>("Add"),
      procedure<&_StringArray::Delete>("Delete"),
      procedure<&_StringArray::DeleteAll>("DeleteAll"),
      procedure<&_StringArray::InsertAt>("InsertAt"),
      method<&_StringArray::Item>("Item").asDefault(),
      procedure<&_StringArray::SetAt>("SetAt"),
      procedure<&_StringArray::SetCount>("SetCount"),
  };
  return table;
}

const QCollator& StringArray::collator() {
  if (!collator_) {
    collator_.emplace(QLocale());
    collator_->setCaseSensitivity(Qt::CaseInsensitive);
  }
  return *collator_;
}

void StringArray::checkIndex(int32_t index, qsizetype limit) {
  if (index < 0 || index >= limit) raiseLibraryError(rt::ErrSubscript);
}

HRESULT StringArray::get_Count(int32_t* result) {
  if (!result) return E_POINTER;
  *result = static_cast<int32_t>(items_.size());
  return S_OK;
}

HRESULT StringArray::put_Sorted(VARIANT_BOOL value) {
  return rt::com::callMember([&] {
    if (!items_.isEmpty()) raiseLibraryError(ErrSortedNotEmpty);
    sorted_ = value != VARIANT_FALSE;
  });
}

HRESULT StringArray::get_Sorted(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = sorted_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT StringArray::Add(const QString& sNewString) {
  return rt::com::callMember([&] {
    if (items_.size() >= std::numeric_limits<int32_t>::max()) rt::raise(rt::ErrOverflow);
    qsizetype at = items_.size();
    if (sorted_) {
      const QCollator& order = collator();
      while (at > 0 && order.compare(items_[at - 1], sNewString) >= 0) --at;
    }
    items_.insert(at, sNewString);
  });
}

HRESULT StringArray::Delete(int32_t lIndex) {
  return rt::com::callMember([&] {
    checkIndex(lIndex, items_.size());
    items_.removeAt(lIndex);
    if (items_.isEmpty()) items_ = QStringList();  // no storage left
  });
}

HRESULT StringArray::DeleteAll() {
  items_ = QStringList();
  return S_OK;
}

HRESULT StringArray::InsertAt(int32_t lIndex, const QString& sNewString) {
  return rt::com::callMember([&] {
    if (sorted_) raiseLibraryError(ErrSortedInsertAt);
    checkIndex(lIndex, items_.size() + 1);
    if (items_.size() >= std::numeric_limits<int32_t>::max()) rt::raise(rt::ErrOverflow);
    items_.insert(lIndex, sNewString);
  });
}

HRESULT StringArray::Item(int32_t lIndex, QString* result) {
  if (!result) return E_POINTER;
  return rt::com::callMember([&] {
    checkIndex(lIndex, items_.size());
    *result = items_[lIndex];
  });
}

HRESULT StringArray::SetAt(int32_t lIndex, QString* sString) {
  return rt::com::callMember([&] {
    if (sorted_) raiseLibraryError(ErrSortedSetAt);
    checkIndex(lIndex, items_.size());
    if (!sString) rt::raise(rt::ErrInvalidArgument);
    items_[lIndex] = *sString;
  });
}

HRESULT StringArray::SetCount(const QVariant& lIndex) {
  return rt::com::callMember([&] {
    if (sorted_) raiseLibraryError(ErrSortedSetCount);
    if (!lIndex.isValid()) rt::raise(rt::ErrInvalidArgument);
    const int32_t last = readInt32(lIndex, 0);
    if (last < 0) raiseLibraryError(rt::ErrSubscript);
    const qsizetype size = static_cast<qsizetype>(last) + 1;
    if (size < items_.size()) items_.resize(size);
  });
}

}  // namespace orvo
