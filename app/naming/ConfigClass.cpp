#include "app/naming/ConfigClass.h"

#include "runtime/RuntimeError.h"

#include <cstddef>

namespace {

// Checks an index against first..first+count-1 and gives its place in the array; raises 9.
std::size_t slot(int32_t index, int32_t first, std::size_t count) {
  if (index < first || index >= first + static_cast<int32_t>(count)) rt::raise(rt::ErrSubscript);
  return static_cast<std::size_t>(index - first);
}

}  // namespace

template <typename T>
void ConfigClass::change(T& field, const T& value) {
  if (value != field) modified_ = true;
  field = value;
}

// Dates mark the record only when the new one is smaller or larger, so an unordered value
// (NaN) is stored without marking it.
template <>
void ConfigClass::change<rt::DateValue>(rt::DateValue& field, const rt::DateValue& value) {
  if (value < field || value > field) modified_ = true;
  field = value;
}

bool ConfigClass::IsDateDigit(int32_t nDigit) const { return isDateDigit_[slot(nDigit, 1, 3)]; }
void ConfigClass::SetIsDateDigit(int32_t nDigit, bool bValue) {
  change(isDateDigit_[slot(nDigit, 1, 3)], bValue);
}

bool ConfigClass::IsDateSep(int32_t nSep) const { return isDateSep_[slot(nSep, 0, 2)]; }
void ConfigClass::SetIsDateSep(int32_t nSep, bool bValue) { change(isDateSep_[slot(nSep, 0, 2)], bValue); }

bool ConfigClass::IsTimeDigit(int32_t nDigit) const { return isTimeDigit_[slot(nDigit, 1, 3)]; }
void ConfigClass::SetIsTimeDigit(int32_t nDigit, bool bValue) {
  change(isTimeDigit_[slot(nDigit, 1, 3)], bValue);
}

bool ConfigClass::IsTimeSep(int32_t nSep) const { return isTimeSep_[slot(nSep, 0, 2)]; }
void ConfigClass::SetIsTimeSep(int32_t nSep, bool bValue) { change(isTimeSep_[slot(nSep, 0, 2)], bValue); }

void ConfigClass::SetDateSep(const QString& sValue) { change(dateSep_, sValue); }
void ConfigClass::SetTimeSep(const QString& sValue) { change(timeSep_, sValue); }
void ConfigClass::SetDateTimeSep(const QString& sValue) { change(dateTimeSep_, sValue); }
void ConfigClass::SetPrefix(const QString& sValue) { change(prefix_, sValue); }
void ConfigClass::SetPostfix(const QString& sValue) { change(postfix_, sValue); }

void ConfigClass::SetIsSuffix(bool bValue) { change(isSuffix_, bValue); }
void ConfigClass::SetSuffixType(uint8_t bValue) { change(suffixType_, bValue); }
void ConfigClass::SetDigits(uint8_t nValue) { change(digits_, nValue); }
void ConfigClass::SetStartNum(int32_t lValue) { change(startNum_, lValue); }
void ConfigClass::SetNotExif(uint8_t bValue) { change(notExif_, bValue); }
void ConfigClass::SetExtension(uint8_t bValue) { change(extension_, bValue); }
void ConfigClass::SetCompanions(bool bValue) { change(companions_, bValue); }

void ConfigClass::SetOffsetApply(bool bValue) { change(offsetApply_, bValue); }
void ConfigClass::SetOffsetNoDate(bool bValue) { change(offsetNoDate_, bValue); }
void ConfigClass::SetDateExif(rt::DateValue dtValue) { change(dateExif_, dtValue); }
void ConfigClass::SetDateReal(rt::DateValue dtValue) { change(dateReal_, dtValue); }

ConfigClass& CurrentConfig() {
  static ConfigClass config;
  return config;
}
