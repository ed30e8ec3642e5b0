#pragma once
// The rename-settings record: which date and time fields make a picture's new name, the
// separators, the free texts, the numbering suffix, the handling of pictures without EXIF
// date, the case of the extension and the camera clock correction. It also remembers the
// settings file it was last loaded from or saved to (Path) and whether it changed since
// (Modified).
//
// Change rule of every setter but SetPath: when the new value differs from the stored one,
// Modified becomes true; the value is then stored. A setter never clears Modified and never
// checks or clips its value. Indexed flags raise run-time error 9 for a bad index before
// anything is read or changed.

#include "app/naming/SpecialFolders.h"
#include "runtime/DateValue.h"

#include <QString>

#include <array>
#include <cstdint>

class ConfigClass {
 public:
  // All fields at their defaults: year, month and day in the name, no time, no separators,
  // no free texts, a letter suffix of 2 characters from 1, undated pictures named after
  // their file date, extension unchanged, no clock correction; Path empty, Modified false.
  ConfigClass() = default;

  // nDigit 1 (year), 2 (month), 3 (day); other indexes raise 9.
  bool IsDateDigit(int32_t nDigit) const;
  void SetIsDateDigit(int32_t nDigit, bool bValue);
  // nSep 0 (DateSep after the year), 1 (after the month); other indexes raise 9.
  bool IsDateSep(int32_t nSep) const;
  void SetIsDateSep(int32_t nSep, bool bValue);
  // nDigit 1 (hour), 2 (minutes), 3 (seconds); other indexes raise 9.
  bool IsTimeDigit(int32_t nDigit) const;
  void SetIsTimeDigit(int32_t nDigit, bool bValue);
  // nSep 0 (TimeSep after the hour), 1 (after the minutes); other indexes raise 9.
  bool IsTimeSep(int32_t nSep) const;
  void SetIsTimeSep(int32_t nSep, bool bValue);

  // Texts compare exactly (case-sensitive).
  const QString& DateSep() const { return dateSep_; }
  void SetDateSep(const QString& sValue);
  const QString& TimeSep() const { return timeSep_; }
  void SetTimeSep(const QString& sValue);
  const QString& DateTimeSep() const { return dateTimeSep_; }  // empty: no separator
  void SetDateTimeSep(const QString& sValue);
  const QString& Prefix() const { return prefix_; }
  void SetPrefix(const QString& sValue);
  const QString& Postfix() const { return postfix_; }
  void SetPostfix(const QString& sValue);

  // True: a numbering suffix is always appended.
  bool IsSuffix() const { return isSuffix_; }
  void SetIsSuffix(bool bValue);
  // 0: letters; any other value: decimal digits.
  uint8_t SuffixType() const { return suffixType_; }
  void SetSuffixType(uint8_t bValue);
  // Width of the suffix in characters.
  uint8_t Digits() const { return digits_; }
  void SetDigits(uint8_t nValue);
  // Number of the first picture of a name.
  int32_t StartNum() const { return startNum_; }
  void SetStartNum(int32_t lValue);
  // Picture without EXIF date: 0 use the file date, 1 do not rename, 2 ask for the date.
  uint8_t NotExif() const { return notExif_; }
  void SetNotExif(uint8_t bValue);
  // Case of the extension: 0 unchanged, 1 upper case, 2 lower case.
  uint8_t Extension() const { return extension_; }
  void SetExtension(uint8_t bValue);

  // True: a picture's companion files (same base name: .xmp, .thm, .aae, .pp3, .dop, or its
  // full name + .xmp) and the other files of its shot (raw + JPEG/HEIC, a live photo's .mov)
  // are renamed with it, as one group (FileGroups.h). False: every file goes on its own.
  bool Companions() const { return companions_; }
  void SetCompanions(bool bValue);

  // Clock correction: DateReal - DateExif, used while OffsetApply is set and the dates differ;
  // OffsetNoDate applies it to the file date of pictures without EXIF date as well. These four
  // fields are not kept in settings files.
  bool OffsetApply() const { return offsetApply_; }
  void SetOffsetApply(bool bValue);
  bool OffsetNoDate() const { return offsetNoDate_; }
  void SetOffsetNoDate(bool bValue);
  rt::DateValue DateExif() const { return dateExif_; }
  void SetDateExif(rt::DateValue dtValue);
  rt::DateValue DateReal() const { return dateReal_; }
  void SetDateReal(rt::DateValue dtValue);

  // Settings file last loaded or saved; setting it never marks Modified.
  const QString& Path() const { return path_; }
  void SetPath(const QString& sValue) { path_ = sValue; }
  bool Modified() const { return modified_; }

  // Writes the settings into the section "Tindra" of sPath (Path when sPath is empty).
  // Returns false, with nothing written, when both are empty. Returns false when the file
  // cannot be written: the failure is shown through the error reporter (ConfigClass.Save) and
  // Path and Modified stay as they were. On success Path := the file, Modified := false.
  bool Save(const QString& sPath);

  // Reads the settings from the section "Tindra" of sPath; a key that is absent leaves its
  // field as it was (texts are trimmed in any case), except "Companions": a file written
  // before that key existed reads as on, its default. Returns false, changing nothing, when
  // sPath is empty. A missing file or section still counts as read. On success Path := sPath,
  // Modified := false. A value that does not convert raises 13 (not a number or flag) or 6
  // (out of range) and stops the load at that key: earlier keys keep their new values, Path
  // and Modified are untouched.
  bool Load(const QString& sPath);

  // The name body for the date key sGDH ("yyyymmddhhmmss"): prefix, date fields and their
  // separators, date-time separator, time fields and their separators, postfix. Never fails;
  // a short key gives short or empty pieces.
  QString FormatName(const QString& sGDH) const;

 private:
  template <typename T>
  void change(T& field, const T& value);

  std::array<bool, 3> isDateDigit_{true, true, true};
  std::array<bool, 2> isDateSep_{false, false};
  std::array<bool, 3> isTimeDigit_{false, false, false};
  std::array<bool, 2> isTimeSep_{false, false};
  QString dateSep_;
  QString timeSep_;
  QString dateTimeSep_;
  QString prefix_;
  QString postfix_;
  bool isSuffix_ = true;
  uint8_t suffixType_ = 0;
  uint8_t digits_ = 2;
  int32_t startNum_ = 1;
  uint8_t notExif_ = 0;
  uint8_t extension_ = 0;
  bool companions_ = true;
  bool offsetApply_ = false;
  bool offsetNoDate_ = false;
  rt::DateValue dateExif_ = 0.0;
  rt::DateValue dateReal_ = 0.0;
  QString path_;
  bool modified_ = false;
};

// The program's one settings record, created with the defaults on first use and kept until
// the program ends.
ConfigClass& CurrentConfig();
