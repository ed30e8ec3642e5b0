#pragma once
// StringArray: a growable zero-based list of strings that can keep itself sorted on insertion
// (case-insensitively, in the user's collation: "été" sorts among the e's). Sorting can be switched only while the list is empty;
// positional writes are refused on a sorted list (1040-1042); a bad index raises 9. A member
// that raises leaves the list unchanged.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

#include <QCollator>
#include <QStringList>

#include <optional>

namespace orvo {

class StringArray final : public ComObject<StringArray, _StringArray> {
 public:
  static const DispatchTable& dispatchTable();

  HRESULT get_Count(int32_t* result) override;
  // 1043 unless the list is empty.
  HRESULT put_Sorted(VARIANT_BOOL value) override;
  HRESULT get_Sorted(VARIANT_BOOL* result) override;
  // Appends; on a sorted list inserts before the first element that is not smaller (ignoring
  // case, in the collation of the locale in force when the list first sorts), so a string goes
  // before existing equal ones.
  HRESULT Add(const QString& sNewString) override;
  // 9 unless 0 <= lIndex < Count.
  HRESULT Delete(int32_t lIndex) override;
  // Empties the list; the sorted flag stays.
  HRESULT DeleteAll() override;
  // 1040 on a sorted list; 9 unless 0 <= lIndex <= Count (Count appends).
  HRESULT InsertAt(int32_t lIndex, const QString& sNewString) override;
  // 9 unless 0 <= lIndex < Count.
  HRESULT Item(int32_t lIndex, QString* result) override;
  // 1041 on a sorted list; 9 unless 0 <= lIndex < Count.
  HRESULT SetAt(int32_t lIndex, QString* sString) override;
  // Sizes the list to at most lIndex + 1 elements: those past that are dropped (Count
  // follows); a larger size changes nothing, as slots beyond Count are never reachable. 1042
  // on a sorted list, 9 when lIndex < 0, 13 or 6 when lIndex is not a 32-bit number.
  HRESULT SetCount(const QVariant& lIndex) override;

 private:
  // Raises 9 unless 0 <= index < limit.
  static void checkIndex(int32_t index, qsizetype limit);
  // The case-insensitive collator of the user's locale, made on first use.
  const QCollator& collator();

  std::optional<QCollator> collator_;
  QStringList items_;
  bool sorted_ = false;
};

}  // namespace orvo
