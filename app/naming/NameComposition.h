#pragma once
// Composition of a picture's new file name: the name body from a date key, the numbering
// suffix, the extension text, and the key filter that keeps characters file names refuse out
// of the free texts. No failure leaves these functions except where stated.

#include <QString>
#include <QVarLengthArray>

#include <cstdint>

// What a name body is made of. Separators are written only behind a field that is present;
// an empty separator writes nothing.
struct NameLayout {
  QString prefix;
  bool year = false;
  QString sepAfterYear;
  bool month = false;
  QString sepAfterMonth;
  bool day = false;
  QString dateTimeSep;  // written when the body so far is not empty and a time field follows
  bool hour = false;
  QString sepAfterHour;
  bool minute = false;
  QString sepAfterMinute;
  bool second = false;
  QString postfix;
};

// The name body for the date key sGDH ("yyyymmddhhmmss", fields taken by position: year 1-4,
// month 5-6, day 7-8, hour 9-10, minutes 11-12, seconds 13-14). A short key gives short or
// empty pieces.
QString ComposeNameBody(const NameLayout& layout, const QString& sGDH);

// The suffix pattern: `digits` copies of "X" for letters (suffixType 0), of "0" otherwise.
QString SuffixPattern(uint8_t digits, uint8_t suffixType);

// The numbering suffix of number n under pattern.
// - A numeric pattern ("0", "00"...) gives n in decimal with at least as many digits as the
//   pattern has zeros, leading zeros added, never cut, "-" in front of negative numbers.
// - Any other pattern (letters, or empty) gives a base-26 count where "A" stands for 0, of
//   n - 1, filled with leading "A" up to the pattern's length, never cut: with "XX", 1 "AA",
//   26 "AZ", 27 "BA", 677 "BAA". Numbers below 1 give "-" and the letters of 1 - n filled the
//   same way (0 with "XX" gives "-AB"), so every number has its own suffix and no suffix holds
//   a character that file names refuse.
// The smallest 32-bit number has no letter suffix: the overflow (6) is reported as
// Global.FormatIndice and the result is "".
QString FormatIndice(int32_t n, const QString& pattern);
// The same suffix written at the end of name (nothing written when FormatIndice gives ""),
// without an allocation for usual patterns.
using IndiceText = QVarLengthArray<QChar, 32>;
void AppendIndice(IndiceText& name, int32_t n, const QString& pattern);

// The extension text: "." + fileExt, upper-cased for extension 1, lower-cased for 2,
// unchanged for any other value.
QString ExtensionText(const QString& fileExt, uint8_t extension);

// Key filter for the free texts of a name: returns key when the typed character may go into a
// file name, 0 when it is refused. Backspace (8) passes; other control codes (below 32) and
// " * . / : < > ? \ | are refused; everything else, the space included, passes.
uint16_t FilterFileName(uint16_t key);
