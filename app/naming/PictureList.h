#pragma once
// The picture list: the files to rename, in the order they will be numbered, and the plan of
// every row. The main window shows it, the command-line tool and the tests build it; all of
// them add, remove and check rows here, and the rename takes its rows from here.
//
// Order: ascending date key; rows with the same key keep the order they were added in, except
// that among them the pictures that both carry a fraction of a second of their shooting time
// (EXIF SubSecTimeOriginal) go in the order they were taken.
//
// Groups (while companions are on, the default): sort() puts the files of one shot in one
// row, by the rule of FileGroups.h applied to each folder as listed then: the row is the
// picture (the JPEG/HEIC of a raw pair or a live photo), its members are the other files,
// added to the list or not. The rename moves a row's whole group; removing a row removes it.

#include "app/naming/BaseName.h"
#include "app/naming/ConfigClass.h"
#include "app/naming/FolderListings.h"
#include "app/naming/RenameEngine.h"
#include "app/naming/RenameRow.h"
#include "app/picture/JpegInfosClass.h"
#include "runtime/FileIdentity.h"
#include "runtime/FileSystem.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <exception>
#include <optional>
#include <vector>

// One picture of the list.
struct PictureRow {
  RenameRow row;                     // path (key), name (text), folder, date key, EXIF mark, check box
  JpegInfosClass info;               // what was read of the picture when it was added
  rt::files::FileIdentity identity;  // the file, whatever path reaches it
  QString shotSecond;                // the shooting date to the second as a date key, "" when none (groups)
  // The files added to the list that joined this row's group (a raw beside its JPEG, a live
  // photo's movie, a sidecar given itself), as they were added: row.members[k].listed is the
  // index here of member k, -1 for a member found in the folder and never added.
  std::vector<PictureRow> joined = {};
};

// What the rename would do with a row.
struct RowPlan {
  enum class Outcome {
    Rename,     // gets newName
    KeepsName,  // named after its date, and that name is the one it has
    Unchecked,  // not checked: not renamed
    NotRenamed, // checked, but kept as it is (no date, "Ne pas renommer", a symbolic link)
    AsksDate,   // the date is asked while renaming ("Demander le nom")
    Impossible, // cannot be named: reason says why
  };
  Outcome outcome = Outcome::Unchecked;
  QString newName;  // the final name (Rename, KeepsName)
  QStringList memberNames;  // the final names of the row's members, in their order (Rename, KeepsName)
  QString reason;   // Impossible: why, in French
  DateChoice date;  // the date used and its source (Body when there is one)
};

class PictureList {
 public:
  // Adds the file at path (made absolute) unless the list holds it already, under this path
  // or another one reaching the same file. Returns "" when added or already listed, else the
  // refusal ("« path » n'est pas un fichier ordinaire"...). The row is checked; call sort()
  // once the additions are done.
  QString add(const QString& path);

  // A path ready for add(): made absolute and, unless the list held it when read() ran, its
  // file read, with the reports that reading made (to be presented when it is added).
  struct ReadPath {
    QString path;
    bool read = false;
    std::optional<PictureRow> row;  // the row it makes; none when refused (refusal says why)
    QString refusal;
    QStringList reports;
    std::exception_ptr failure;     // what the reading threw, thrown again by add()
  };
  // Reads the files of paths, several at once on several threads, for add(ReadPath) to take
  // in the same order: the list then gets exactly what add(path) after add(path) gives.
  std::vector<ReadPath> read(const QStringList& paths) const;
  // add(path) with the reading done by read(): its reports are presented now, unless the list
  // holds the path already (add(path) would not have read it); a path it did not read, or
  // that the list dropped since, is read now.
  QString add(ReadPath&& path);
  // Makes room for that many more files, so that adding a batch read at once grows no table
  // on the way.
  void reserve(size_t more);

  // Forms the groups (see above) and sorts the rows on the date key (see the order above).
  void sort();

  // Companion files and groups on or off (on when the list is made): the list is regrouped
  // and sorted at once; off, every file added is a row of its own again.
  void setCompanions(bool on);
  bool companions() const { return companions_; }
  // Paths of the companions the last sort() left where they are although a listed picture
  // may own them (FileGroups.h: "unclaimed"); the rename does not move them.
  const QStringList& unclaimed() const { return unclaimed_; }

  void remove(const std::vector<size_t>& indices);
  void clear();
  void setChecked(size_t index, bool checked) { rows_[index].row.checked = checked; }

  const std::vector<PictureRow>& rows() const { return rows_; }
  size_t size() const { return rows_.size(); }
  // The row whose path is path, or whose group holds the file added under path; -1 when none.
  qsizetype indexOf(const QString& path) const { return byPath_.value(path, -1); }

  // The rows as the rename takes them, and their state after it ran (names, paths, checks).
  std::vector<RenameRow> renameRows() const;
  void takeBack(const std::vector<RenameRow>& renamed);

  // What each row's picture told when it was added, for a run over renameRows(): the rename
  // then uses the reading its plan used, and opens no file twice. Valid while the list lives
  // and keeps its rows.
  RenameEngine::PictureReader readings() const;

  // The plan of every row (same order), made by the rename itself over a simulation of the
  // folders read through fs, with the pictures as read when added. A run that would fail
  // marks every checked row it would have renamed as Impossible, with the failure's text.
  // The folders' listings are kept for the next plan while they stay as they were.
  std::vector<RowPlan> plan(const ConfigClass& config, const RenameOffsets& offsets, const rt::FileSystem& fs) const;

 private:
  QStringList foldersToList(const QStringList& paths) const;
  void reindex();
  // The same files at new places (sorted, grouped): their rows' indices anew.
  void renumber();
  // Whether files changed rows (a group formed or split): the path table is then out of date.
  bool regroup();

  bool companions_ = true;
  QStringList unclaimed_;
  std::vector<PictureRow> rows_;
  QHash<QString, qsizetype> byPath_;
  QSet<rt::files::FileIdentity> files_;
  mutable FolderListings listings_;  // a cache: what the last read, sort or plan read of the folders
};

// The list order of rows given in their present order by date key and SubSecTimeOriginal
// digits ("" when none): the indices of the rows, first to last (see the order above).
std::vector<size_t> ListOrder(const QStringList& dateKeys, const QStringList& subSecs);
