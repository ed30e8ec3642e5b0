#pragma once
// The picture-information record: what PictureInfos read from one picture file. A plain
// record; every field starts at zero or empty and nothing but PictureInfos fills it.
// Dates are date values (0 = absent; a date is present when it is greater than 0).

#include "runtime/DateValue.h"

#include <QString>

#include <cstdint>

class JpegInfosClass {
 public:
  // Sample precision, bits per component (SOF0 frame header).
  uint8_t DataBits() const { return dataBits_; }
  void SetDataBits(uint8_t value) { dataBits_ = value; }
  // Number of lines; a height above 32767 reads as negative.
  int16_t ImgHeight() const { return imgHeight_; }
  void SetImgHeight(int16_t value) { imgHeight_ = value; }
  // Samples per line; a width above 32767 reads as negative.
  int16_t ImgWidth() const { return imgWidth_; }
  void SetImgWidth(int16_t value) { imgWidth_ = value; }
  // Number of image components (colour depth is DataBits x Layers).
  uint8_t Layers() const { return layers_; }
  void SetLayers(uint8_t value) { layers_ = value; }
  // The file's last-modification date and time, local time.
  rt::DateValue FileDate() const { return fileDate_; }
  void SetFileDate(rt::DateValue value) { fileDate_ = value; }
  // EXIF DateTime (tag 0x0132 of IFD0).
  rt::DateValue ModifDate() const { return modifDate_; }
  void SetModifDate(rt::DateValue value) { modifDate_ = value; }
  // EXIF DateTimeOriginal (tag 0x9003 of the Exif sub-IFD): when the picture was taken.
  rt::DateValue CreateDate() const { return createDate_; }
  void SetCreateDate(rt::DateValue value) { createDate_ = value; }
  // EXIF SubSecTimeOriginal (tag 0x9291 of the Exif sub-IFD): the digits of the fraction of
  // a second of the shooting time ("" when absent or not digits).
  const QString& SubSecOriginal() const { return subSecOriginal_; }
  void SetSubSecOriginal(const QString& value) { subSecOriginal_ = value; }
  // Why reading stopped early; empty when nothing went wrong (see PictureMessages).
  const QString& Message() const { return message_; }
  void SetMessage(const QString& value) { message_ = value; }

 private:
  uint8_t dataBits_ = 0;
  int16_t imgHeight_ = 0;
  int16_t imgWidth_ = 0;
  uint8_t layers_ = 0;
  rt::DateValue fileDate_ = 0.0;
  rt::DateValue modifDate_ = 0.0;
  rt::DateValue createDate_ = 0.0;
  QString subSecOriginal_;
  QString message_;
};

// The texts PictureInfos leaves in Message.
namespace PictureMessages {
inline const QString kNotJpeg = QStringLiteral("Format non JPEG");
inline const QString kBadExifHeader = QStringLiteral("* Entête EXIF incorrecte");
inline const QString kUnknownByteOrder = QStringLiteral("* Format d'alignement non reconnu");
inline const QString kBadTiffHeader = QStringLiteral("* Entête TIFF incorrecte");
}  // namespace PictureMessages
