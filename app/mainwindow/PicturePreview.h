#pragma once
// What the preview shows for the formats beyond JPEG: a raw file's own JPEG preview, or a
// neutral placeholder for what cannot be decoded (videos, HEIF without a decoder).

#include <QByteArray>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace PicturePreview {

// The largest JPEG preview a raw file carries (TIFF-based raw, RAF, CR3), else empty. Raises
// as PictureInfos does when the file cannot be opened or read.
QByteArray EmbeddedJpeg(const QString& path);

// A neutral picture of the given size (device pixels) showing the file's name and nothing
// else: what the preview shows for a file that cannot be decoded.
QPixmap Placeholder(const QString& name, const QSize& size, qreal ratio);

}  // namespace PicturePreview
