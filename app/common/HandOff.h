#pragma once
// The hand-off file "~files.tmp" in the program's data folder: a second start of the program
// appends the paths of its command line to it; the running instance claims them every second.
// Every access holds the lock file "~files.tmp.lock", so a claim never loses an append and a
// claimed list never comes back. Nothing removes the file but a claim: whatever was appended
// reaches the instance that holds the instance lock, even one that starts later.

#include <QString>

#include <optional>

namespace handoff {

QString FileName();
bool Exists();

// Appends the list (one path per line, lines ending in CR LF) followed by a line break,
// creating the file when needed. Raises the runtime's file error when it cannot be written.
void Append(const QString& list);

// Reads the whole file and removes it, under the lock. nullopt when there is no file or it
// cannot be read (the next claim tries again).
std::optional<QString> Claim();

}  // namespace handoff
