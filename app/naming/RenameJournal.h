#pragma once
// The journal of one rename run: what it planned before its first move and how it ended. A run
// whose journal has no outcome was interrupted; its files can be found again by their identity
// and given their old or their final names (see JournalRecovery.h).
//
// The text format, one record per line, fields separated by tabs:
//   tindra-journal 1
//   run <kind: rename|undo> <started: yyyy-MM-ddTHH:mm:ss>
//   undoes <id of the run it undoes>                  (undo runs only)
//   folder <folder>                     (the folder of the file lines below it; "" for the root)
//   file <device> <inode> <size> <mtime ns> <old> <temporary> <final>
//   plan <number of file lines>                        (ends the plan)
//   final <file index from 0> <name>                   (a final name other than the planned one)
//   left <folder> <name>                               (a file the run could not put back)
//   end <complete|rolled-back|restored|finished>
//   undone <id of the undo run>
// The plan (up to "plan") is written at once and synced before the first move; the later
// lines are appended and synced. Names and folders are bytes: those below 0x20, 0x7F, "%" and
// bytes that are not UTF-8 are written %XX, so any name round-trips and ordinary names read
// as they are. A last line without line feed after the plan is an append the crash cut short
// and is ignored; anything else that does not fit makes the journal damaged.

#include "runtime/DurableFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

enum class JournalKind { Rename, Undo };
enum class JournalOutcome { Interrupted, Complete, RolledBack, Restored, Finished };

struct JournalFile {
  QString folder;
  QString oldName;
  QString temporaryName;
  QString finalName;  // after any "final" line
  rt::durable::FileIdentity identity;

  QString oldPath() const { return folder + QLatin1Char('/') + oldName; }
  QString finalPath() const { return folder + QLatin1Char('/') + finalName; }
};

struct JournalRun {
  QString id;  // the journal's file name without ".journal"; runs sort by it
  JournalKind kind = JournalKind::Rename;
  QString started;  // yyyy-MM-ddTHH:mm:ss, local time
  QString undoes;   // undo runs: the id of the run undone
  std::vector<JournalFile> files;
  JournalOutcome outcome = JournalOutcome::Interrupted;
  QStringList left;  // paths
  QString undoneBy;  // the id of the run that undid this one

  QStringList folders() const;
};

// Escapes a name (bytes) for a journal line, and back; nullopt for a malformed escape.
QByteArray escapeJournalField(const QByteArray& bytes);
std::optional<QByteArray> unescapeJournalField(const QByteArray& field);

// The lines of the plan (header to "plan" line).
QByteArray journalPlanText(const JournalRun& run);
// The appended lines.
QByteArray journalFinalLine(size_t index, const QString& name);
QByteArray journalEndText(JournalOutcome outcome, const QStringList& left);
QByteArray journalUndoneLine(const QString& undoRunId);

// Reads a journal. On a damaged one returns nullopt and a French explanation in *error.
std::optional<JournalRun> parseJournal(const QByteArray& bytes, QString* error);

// The French word of an outcome for the history ("terminé", "annulé"...).
QString outcomeText(const JournalRun& run);
