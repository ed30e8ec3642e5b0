#pragma once
// The command line of tindra-cli: a command, options, files.

#include "runtime/DateValue.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

enum class Command { Help, Info, Names, Plan, Rename, History, Undo, Recover };

struct Options {
  Command command = Command::Help;
  QString configFile;                  // --config; "" for the default settings
  bool correction = false;             // --correction given
  rt::DateValue cameraTime = 0.0;      // the time the camera showed
  rt::DateValue trueTime = 0.0;        // the true time at that moment
  bool fileDates = false;              // --file-dates
  QStringList files;                   // as given, in order
  int undoRank = 1;                    // undo N: the N-th last run
  bool restore = false;                // recover --restore (else --finish)
};

// Reads the arguments (program name excluded). Options may stand anywhere; "--" ends them.
// Returns nullopt with a French explanation in *error for a command line that is not valid.
std::optional<Options> parseArguments(const QStringList& arguments, QString* error);

// The French help text printed by --help.
QString usageText();

}  // namespace cli
