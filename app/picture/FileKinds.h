#pragma once
// What kind of file a name's extension says it is (the part after the last ".", compared
// ignoring case). The file list, the previews and the grouping of a shot's files all ask here.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace FileKinds {

// The extension of a file name, without the dot: what follows its last "."; "" when none.
QString ExtensionOf(const QString& fileName);

// The name without its extension and that dot ("IMG_1.CR2.xmp" -> "IMG_1.CR2"); the whole
// name when it has no ".".
QString BaseOf(const QString& fileName);

// jpg jpeg bmp gif and every format below: the files the list takes.
bool IsListable(QStringView ext);
// The formats beyond jpg jpeg bmp gif: HEIF/AVIF, raw, TIFF, PNG, WebP, videos.
bool IsOtherFormat(QStringView ext);
// dng cr2 cr3 nef arw orf rw2 pef srw raf.
bool IsRaw(QStringView ext);
// jpg jpeg heic heif hif: the picture a photographer looks at beside a raw file or a live
// photo's movie.
bool IsViewable(QStringView ext);
// mov: the movie half of a live photo.
bool IsLiveMovie(QStringView ext);
// xmp thm aae pp3 dop: files that belong to a picture of the same name and are never
// pictures themselves.
bool IsCompanion(QStringView ext);

// Every listable extension, lower case, jpg jpeg bmp gif first.
const QStringList& ListableExtensions();

}  // namespace FileKinds
