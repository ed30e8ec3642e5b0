#pragma once
// The rename operation's questions on the terminal: the date of a picture without EXIF date
// is asked on standard input when it is a terminal (else the picture keeps its name, with a
// message); progress is drawn on standard error when it is a terminal.

#include "app/naming/RenameQuestions.h"

#include <optional>

namespace cli {

class TerminalQuestions : public RenameQuestions {
 public:
  QString askDate(const QString& initKey, const QString& oldName) override;
  void progress(RenamePhase phase, int done, int total) override;

 private:
  int shownPercent_ = -1;
  std::optional<bool> errorIsTerminal_;
};

}  // namespace cli
