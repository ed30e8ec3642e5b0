#pragma once
// The small rules of the file list and of the start-up that need no window: which handed-over
// paths are pictures, how the command line becomes a list of paths, the size and date texts
// of the status bar, and where the preview picture goes.

#include "app/picture/JpegInfosClass.h"
#include "runtime/DateValue.h"

#include <QRect>
#include <QSize>
#include <QString>

namespace FileListRules {

// True when the path's extension (after its last ".", compared in lower case) is one of
// jpeg, jpg, bmp, gif, or of the other camera and phone formats (HEIF/AVIF, raw, TIFF, PNG,
// WebP, MP4/QuickTime/3GP videos). A path without "." is refused.
bool IsAcceptedExtension(const QString& path);

// True when the extension is one of the formats beyond jpeg, jpg, bmp and gif (HEIF/AVIF, raw,
// TIFF, PNG, WebP, videos): a preview of one that cannot be decoded is a placeholder, where
// any other file that cannot be shown is an error.
bool IsOtherFormat(const QString& path);

// True for the raw formats (dng, cr2, cr3, nef, arw, orf, rw2, pef, srw, raf), whose preview
// is the JPEG they carry rather than what a decoder makes of the file.
bool IsRawFormat(const QString& path);

// The accepted extensions as file-dialog patterns: "*.jpg;*.jpeg;...".
QString AcceptedPatterns();

// The command line (quoted paths separated by single blanks) as one path per line: every
// `" "` becomes CR LF, then every remaining double quote goes.
QString CommandLineToList(const QString& commandLine);

// The list (one path per line, CR LF) with every relative path made absolute against
// workingFolder, the folder of the process that received them (".." and "." resolved as a
// shell does); absolute paths and empty lines stay as they are.
QString AbsolutePaths(const QString& list, const QString& workingFolder);

// "<width>x<height>x<colours> ": colours = 2 ^ (DataBits x Layers) written as the number
// itself below 1000, else in K (÷1024), M (÷1024²) or G (÷1024³). Depths beyond what a
// count can hold are written "2^<bits>".
QString SizeText(const JpegInfosClass& info);

// A date panel's text: "" for no date, else the general date text.
QString DateText(rt::DateValue date);

// The rectangle of a picture of the given size scaled to touch two opposite sides of the
// area and centred in it, keeping its proportions. A picture or area without width or height
// gives an empty rectangle.
QRect FitInArea(const QSize& picture, const QRect& area);

}  // namespace FileListRules
