#pragma once
// The picture reader: what one picture file tells about itself.

#include "app/picture/JpegInfosClass.h"
#include "runtime/FileSystem.h"

#include <QString>

#include <cstdint>
#include <span>

// Reads the file at path: FileDate from the file system, then (see ReadPictureInfos) the size,
// depth and dates of a baseline JPEG or of another format told by its content. Always returns
// a record: a file that is not JPEG or has a wrong EXIF header gives its Message; any other
// failure (the file cannot be opened or read, a corrupt segment length or TIFF offset) is
// reported as wMain.PictureInfos and the record comes back as filled up to that point. The
// file is open only during the call.
JpegInfosClass PictureInfos(const QString& path);

// The same reading of a file the caller opened (rt::openFileForReading), which it takes over
// and closes before returning.
JpegInfosClass PictureInfos(rt::OpenFile file);

// Makes ready what every reading shares (the library's hex object, created on first use), so
// that several threads may then read pictures at once: the readings share nothing else, and
// the reports they make go where each thread's ErrorHandling sends them. False when it
// cannot be made (the library is missing): pictures are then read on one thread, each
// reading reporting the failure itself.
bool PrepareConcurrentReading();

// The same reading on bytes already in memory (FileDate stays 0), with the same reporting.
JpegInfosClass PictureInfosFromBytes(std::span<const uint8_t> bytes);
