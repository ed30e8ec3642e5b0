#pragma once
// Whether a path may join the file list (the window's and the command-line tool's), and the
// file it reaches. Only regular files are listed: a named pipe or a device would make the
// reading wait for ever, and a symbolic link would be renamed apart from its target, leaving
// one of them dangling. A link is left alone; its target is listed when it is given itself.
// Two paths that reach one file (through a linked folder, a hard link, another spelling) share
// its identity: the list holds the file once.

#include "app/picture/JpegInfosClass.h"
#include "runtime/FileIdentity.h"

#include <QString>

#include <optional>

struct ListableFile {
  bool accepted = false;
  rt::files::FileIdentity identity;  // of the file, when accepted
  QString refusal;                   // when refused: why, in French, to follow the quoted path
};

// Examines path without opening it. A refusal reads "« path » " + refusal, e.g.
// "n'est pas un fichier ordinaire".
ListableFile CheckListableFile(const QString& path);

// The message of a refused path: "« path » " + refusal.
QString ListRefusalMessage(const QString& path, const ListableFile& file);

// A listable file and what it holds, read through one open.
struct ListedPicture {
  rt::files::FileIdentity identity;
  JpegInfosClass info;
};

// Opens path once, refusing a symbolic link and anything but a regular file without waiting
// on it, and reads the picture from that descriptor: status, head and information. nullopt
// when it may not be listed, with the message in refusal (only then is the entry examined, to
// say what it is).
std::optional<ListedPicture> ReadListableFile(const QString& path, QString& refusal);
