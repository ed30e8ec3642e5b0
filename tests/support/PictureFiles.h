#pragma once
// Picture files that a picture loader can display, with an EXIF block of our choosing: a real
// JPEG encoded by Qt with an EXIF APP1 segment put right after its start-of-image marker.

#include "tests/support/JpegBuilder.h"

#include <QByteArray>
#include <QColor>
#include <QString>

namespace testsupport {

// A displayable JPEG of width x height pixels filled with colour, carrying content's dates
// (no EXIF segment at all when both date texts are empty).
QByteArray displayableJpeg(const ExifContent& content, int width, int height,
                           const QColor& colour = QColor(90, 140, 200));

// Writes it to folder/name; returns the full path ("" when it cannot be written).
QString writeDisplayableJpeg(const QString& folder, const QString& name, const ExifContent& content,
                             int width = 64, int height = 48);

// An EXIF date text "yyyy:MM:dd HH:mm:ss".
QByteArray exifDate(int year, int month, int day, int hour, int minute, int second);

}  // namespace testsupport
