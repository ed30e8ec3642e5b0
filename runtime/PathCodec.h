#pragma once
// The one conversion between the bytes of a Linux path and the texts the program works with.
// Linux names are bytes: most are UTF-8, but any byte sequence may name a file. Valid UTF-8
// decodes to its characters; every byte that is not part of a valid sequence becomes a lone
// surrogate U+DC80..U+DCFF ("surrogate escape") and encodes back to that same byte, so every
// path read from the system reaches the same file again. QFile::encodeName/decodeName lose
// such bytes: every place that turns bytes into paths and back goes through here instead.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace rt {

// The path text of bytes; never fails.
QString decodePath(const QByteArray& bytes);

// The bytes of a path text: encodePath(decodePath(b)) == b for any bytes b. A surrogate that
// no decoding produces (a lone high surrogate, or U+DC00..U+DC7F) is written as U+FFFD.
QByteArray encodePath(const QString& path);

// The path as a person reads it in a message: each escaped byte shown as "\xE9".
QString displayPath(const QString& path);

// The path made absolute against the working folder and cleaned ("." and ".." resolved as
// texts, no trailing "/"), without the losses of QFileInfo on names that are not UTF-8.
QString absolutePath(const QString& path);

// The path of the entry name in folder: folder + "/" + name ("/name" for the root, "").
QString joinPath(QStringView folder, QStringView name);

// Whether name, within a folder, names that folder or its parent ("", "." or ".."): no file
// can take such a name.
bool namesFolderItself(QStringView name);

}  // namespace rt
