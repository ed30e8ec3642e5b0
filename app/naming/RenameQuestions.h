#pragma once
// What the rename operation asks of its caller while it runs: the date of a picture that has
// none (when the settings say to ask) and the display of its progress. The main window answers
// with the date-input dialog and a progress display; the command-line tool on the terminal.

#include <QString>

enum class RenamePhase {
  Reading,         // reading the pictures and choosing their names (questions come here)
  TemporaryNames,  // moving the files to temporary names
  FinalNames,      // giving the files their final names
};

class RenameQuestions {
 public:
  virtual ~RenameQuestions() = default;

  // The date for a file without EXIF date, as a date key "yyyymmddhhmmss". initKey is the
  // row's date key (to fill the question with), oldName the file's current name. Returns ""
  // when the user declines: the file then keeps its name. A text that is not a valid date
  // key is taken as declining.
  virtual QString askDate(const QString& initKey, const QString& oldName) = 0;

  // done of total files handled in the phase; called before the first file of a phase
  // (done 0) and after each file.
  virtual void progress(RenamePhase phase, int done, int total) = 0;
};

// Declines every date question and shows no progress: a run nobody watches (a plan, the
// journal's dry run, tests and benchmarks). A file without date then keeps its name.
class SilentQuestions : public RenameQuestions {
 public:
  QString askDate(const QString&, const QString&) override { return QString(); }
  void progress(RenamePhase, int, int) override {}
};
