// The camera pictures every benchmark and the side-by-side script's corpus are made of. Needs
// only Qt Core, so that bench_corpus stays a plain program.
#pragma once

#include "tests/support/JpegBuilder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace benchsupport {

// "2012:03:dd 10:mm:ss", a different date for each i below 28 * 60 * 60: pictures taken in
// shooting order.
QByteArray dateInOrder(int i);

// A date for picture i of count (count at least 1), a few minutes apart from the others in a
// shuffled order, from 2010 on: every picture has its own date however large the folder.
QByteArray dateShuffled(int i, int count);

// The EXIF content of a camera picture: both dates set to dateTaken, a dozen other entries.
testsupport::ExifContent cameraExif(const QByteArray& dateTaken, bool bigEndian);

// About 7.5 KB as a camera writes it: JFIF and EXIF heads (both dates set to dateTaken, a dozen
// other entries, about 3 KB of maker data), a 640 x 480 frame and 4 KB of scan data. Well formed
// to the end (the scan data lies inside the scan), so that no tool of a comparison takes a
// detour to report a fault.
QByteArray cameraPicture(const QByteArray& dateTaken, bool bigEndian);

// Writes bytes to the file at path; exits the process with a message when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);

// Creates dir if needed and writes count pictures IMG_000000.jpg... into it, picture i taken at
// dateOf(i), odd ones big-endian. Returns their paths in that order; exits the process with a
// message when a file cannot be written.
QStringList writePictures(const QString& dir, int count, const std::function<QByteArray(int)>& dateOf);

}  // namespace benchsupport
