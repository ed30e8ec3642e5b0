#pragma once
// The rename operation: renames in place every checked file of the list after its date, under
// the rename settings, numbering files whose names would coincide and never replacing an
// existing entry.
//
// How to call it (the main window's mnuActionRename_Click, the command-line tool):
//   1. Count the checked rows, show the parameters dialog and the confirmation (the caller's
//      business); compute the offsets, e.g. RenameOffsets::fromConfig(CurrentConfig()) after
//      the dialog stored its controls.
//   2. Build one RenameRow per list row, in list order (ascending date key), with the row's
//      key, text, folder, date key, EXIF mark and check box.
//   3. RenameEngine(rt::localFileSystem(), CurrentConfig(), offsets, questions).run(rows);
//      questions answers the date question (NotExif 2) and shows progress.
//   4. Copy every row back into the list (key, text, check box), whether run returned or threw:
//      the rows always match the files on disk. On RenameFailure report the error (its
//      number, e.g. ErrorHandling::ShowError("wMain.mnuActionRename_Click", failure)).
//
// The operation:
//   - Reading: each checked row's picture is read and its name body chosen: from its shooting
//     date, else its EXIF modification date (plus the offset), else, for a row marked as EXIF
//     whose dates can no longer be read, its file date plus the undated offset. A file without
//     EXIF date is named by NotExif: 0 from the row's date key plus the undated offset, 1 not
//     renamed, 2 from the date the questions give (no offset), or not renamed when declined.
//     A file that is not renamed is never moved: it keeps its name and its check box. Nor is
//     a row whose entry is a symbolic link (the list never takes one; it may have become one).
//   - Groups: a row's members (RenameRow::members, see FileGroups.h) are moved with it, under
//     its name body, each with its own extensions (MemberNewName). A group is one unit below:
//     left alone whole, numbered once, rolled back whole. Rows without members are files on
//     their own, exactly as described here.
//   - Taken names: a name is taken when an entry of the folder or a row of the list has the
//     same name ignoring letter case (Unicode simple case folding), so that the folder can be
//     copied to a card or a disk that ignores case without two pictures colliding. Each folder
//     is listed once, before any file moves, and the listing follows the run's own moves; the
//     no-replace rename stays the final word (an entry that appears meanwhile counts as
//     taken). A file may take a case variant of its own old name: it has left that name for
//     its temporary one by then.
//   - Name lengths: before any file moves, the temporary name and the first final name of
//     every file are measured (in bytes, as written on disk) against the longest name their
//     folder takes. A file whose name cannot fit is left alone, reported in leftAlone with the
//     reason (under its row's path, with its whole group); the others are renamed. (A later candidate that grows, a second prefix or a
//     longer suffix, past the limit stops the run like any other failure.)
//   - Temporary names: each file to rename gets "($)_" in front of its name, once more while
//     that name is taken.
//   - Final names: name body + suffix + extension text. The counter starts at StartNum
//     (IsSuffix) or 1 whenever the body differs from the previous file's; with IsSuffix off
//     the first candidate has no suffix. A taken candidate switches the suffix on, then
//     raises the counter. Renamed rows get their new text and are unchecked. A group takes the
//     first number for which every one of its files' names is free, checked before any of
//     them moves; until all have their names, a failure sends them all back.
//   - Keys are rebuilt as folder + "/" + text.
//   - On any failure after the first move, every file still under a temporary name gets its
//     old name back (a file of this operation that took such a name meanwhile is put back
//     under its own old name first), the keys are rebuilt and RenameFailure is thrown, telling
//     which files could not go back and why, and which vanished (moved or deleted by another
//     program). Nothing is ever overwritten, so no picture is lost whatever fails.
//   RenameReport.h turns a failure and the files left alone into the texts shown to the user.
//   - Journal (when one is given): before the first move, the whole run is worked out on a
//     simulated copy of the folders and written, synced, as the run's journal (old, temporary
//     and final names and identity of every file to move); a final name other than planned
//     (an entry that appeared meanwhile) is appended; the outcome ends it. When the journal
//     cannot be written, nothing moves.

#include "app/naming/ConfigClass.h"
#include "app/naming/RenameQuestions.h"
#include "app/naming/RenameRow.h"
#include "app/picture/JpegInfosClass.h"
#include "runtime/DateValue.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class JournalWriter;
class ListedFolders;
struct ChosenDate;

// The text put in front of a file's name while the operation runs.
inline const QString kTemporaryPrefix = QStringLiteral("($)_");

// Time added to the dates of a rename: offset to EXIF dates, undatedOffset to the dates of
// files without EXIF date (file date, row date key).
struct RenameOffsets {
  rt::DateValue offset = 0.0;
  rt::DateValue undatedOffset = 0.0;

  // The clock correction of the settings, the one rule for it: the days from DateExif to
  // DateReal (DaysBetween) while OffsetApply is set and
  // the two differ, else 0; undatedOffset is the same when OffsetNoDate is set too.
  static RenameOffsets fromConfig(const ConfigClass& config);
};

// A file of the run and what happened to it, in French ("nom d'origine « X » déjà pris"...).
struct RenameNotice {
  QString path;    // where the file is (or was, for a file that vanished)
  QString reason;
};

struct RenameSummary {
  int renamed = 0;  // files that received their final names (group members included)
  int skipped = 0;  // checked files that kept their names (leftAlone included)
  std::vector<RenameNotice> leftAlone;  // checked files not renamed because of a problem
  std::vector<size_t> asked;            // rows whose date was asked, declined ones included
  QString journalProblem;  // French, when the journal's outcome could not be written
};

// The failure that stopped an operation: the runtime error (number, source, description),
// the rename that failed (from and to are empty when the failure was not a rename, e.g. a
// date out of range while choosing names) and the files that could not get their old names
// back (still under a temporary name; empty in every ordinary case).
class RenameFailure : public rt::RuntimeError {
 public:
  RenameFailure(const rt::RuntimeError& error, QString from, QString to, QStringList notRestored)
      : rt::RuntimeError(error),
        from_(std::move(from)),
        to_(std::move(to)),
        notRestored_(std::move(notRestored)) {}

  const QString& from() const { return from_; }
  const QString& to() const { return to_; }
  const QStringList& notRestored() const { return notRestored_; }

  // The details of the way back, set by the engine.
  struct Outcome {
    QString reason;  // the system's own reason behind the error ("" when it gave none)
    int restored = 0;                        // files that got their old names back
    std::vector<RenameNotice> notRestored;  // one per notRestored() path, with the reason
    QStringList vanished;                   // old paths of files of the run found under no name
    std::vector<RenameNotice> leftAlone;    // files left alone before the failure (names too long)
  };
  const Outcome& outcome() const { return outcome_; }
  void setOutcome(Outcome outcome) { outcome_ = std::move(outcome); }

 private:
  QString from_;
  QString to_;
  QStringList notRestored_;
  Outcome outcome_;
};

class RenameEngine {
 public:
  // What the picture of row i (an index into the rows given to run) tells, read when the run
  // needs it; nullopt when the row's entry is not to be moved (a symbolic link).
  using PictureReader = std::function<std::optional<JpegInfosClass>(size_t row)>;

  // The engine keeps references: fs, config and questions must outlive it.
  RenameEngine(rt::FileSystem& fs, const ConfigClass& config, RenameOffsets offsets,
               RenameQuestions& questions);

  // Replaces the reading of each row's file: a caller that read every picture when it listed
  // it (PictureList::readings) hands over what it read, so that the run and the plan use the
  // same reading and no file is opened twice. By default the file is examined and read again.
  void setPictureReader(PictureReader reader) { reader_ = std::move(reader); }

  // Renames the files of the checked rows (rows in list order) and updates the rows. Throws
  // RenameFailure after restoring what it could (see above); the rows match the disk then too.
  RenameSummary run(std::vector<RenameRow>& rows);

  // What run(rows) would do on the file system as it stands, worked out without moving
  // anything: the rows come out with the names and check boxes run would leave them with
  // (their keys are left as they were), and the same failure is thrown when run would fail.
  // The run's own view of the folders decides every rename, as on disk while nothing else
  // changes them; the file system is only asked for its listings and whether each file to
  // move is there (a SimulatedFileSystem answers from its listings).
  RenameSummary plan(std::vector<RenameRow>& rows);

  // Lets the next plans count each folder's entries through the listings folders holds (the
  // simulation the plan is made on) and take from them whether each file is there; folders
  // must outlive the plans.
  void setListedFolders(const ListedFolders* folders) { listedFolders_ = folders; }

  // Journals the next runs in journal (which must outlive them); none by default.
  void setJournal(JournalWriter* journal) { journal_ = journal; }

  // Takes the date of each checked row i from (*dates)[i], worked out beforehand by ChooseDate
  // for the row's picture (PictureList::plan works them out on several threads), instead of
  // reading the picture and choosing here; dates must outlive the runs.
  void setChosenDates(const std::vector<ChosenDate>* dates) { dates_ = dates; }

 private:
  rt::FileSystem& fs_;
  const ConfigClass& config_;
  RenameOffsets offsets_;
  RenameQuestions& questions_;
  JournalWriter* journal_ = nullptr;
  PictureReader reader_;
  const std::vector<ChosenDate>* dates_ = nullptr;
  const ListedFolders* listedFolders_ = nullptr;
};
