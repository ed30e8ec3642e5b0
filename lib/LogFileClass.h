#pragma once
// LogFileClass: a plain-text journal. Each comment becomes one line (ended by CR LF, UTF-8,
// nothing added) of a log file started anew (mode 2) or appended to (mode 3); mode 1 accepts
// comments and writes them to the debug category "orvolib22.logfile" only. With NoRaiseError
// set, OpenFile and Comment swallow their errors (a failed open leaves the log closed, a
// failed write is lost); CloseFile, FlushFile and Rewind always raise theirs. File errors
// are the runtime's numbers: 76 missing folder, 75 no usable file at the path, 61 disk full,
// 57 other write failures.

#include "lib/ComObject.h"
#include "lib/include/OrvoLib22.h"

#include <QFile>

namespace orvo {

class LogFileClass final : public ComObject<LogFileClass, _LogFileClass> {
 public:
  static const DispatchTable& dispatchTable();

  HRESULT put_NoRaiseError(VARIANT_BOOL value) override;
  HRESULT get_NoRaiseError(VARIANT_BOOL* result) override;
  // 0 closed, 1 debug, 2 new file, 3 appending.
  HRESULT get_Mode(LogModeConstants* result) override;
  // The current or last log file ("" before the first successful open).
  HRESULT get_LogPath(QString* result) override;
  // True exactly in modes 2 and 3.
  HRESULT get_Opened(VARIANT_BOOL* result) override;
  // Closes any open log, then opens LogPath (default: the current LogPath) in LogMode
  // (default 2): 1 debug, 2 created or emptied, 3 appended to (created when missing); any
  // other mode leaves the log closed. On success LogPath becomes the path.
  HRESULT OpenFile(const QVariant& LogPath, const QVariant& LogMode) override;
  // Writes CommentString (default "") as one line in modes 2 and 3; nothing in mode 0.
  HRESULT Comment(const QVariant& CommentString) override;
  // Deletes the log file and opens it again, empty, in the same mode.
  HRESULT Rewind() override;
  HRESULT CloseFile() override;
  // Closes the file and opens it again for appending, so everything written is handed to the
  // system. When it cannot be opened again the log is left closed and the error raised.
  HRESULT FlushFile() override;

 private:
  void openLog(const QString& path, int32_t mode);
  void openOrIgnore(const QVariant& path, const QVariant& mode);
  void closeLog();
  // 0, or the error number when the file cannot be opened.
  int32_t openFile(const QString& path, bool append);
  void writeLine(const QString& text);

  QFile file_;
  QString logPath_;
  uint8_t mode_ = eLogModeNone;
  bool opened_ = false;
  bool noRaiseError_ = false;
};

}  // namespace orvo
