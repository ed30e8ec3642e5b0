#include "lib/LogFileClass.h"

#include "lib/ArgumentValues.h"
#include "lib/Global.h"
#include "runtime/RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace orvo {
namespace {

Q_LOGGING_CATEGORY(logDebugOutput, "orvolib22.logfile", QtInfoMsg)

[[noreturn]] void raiseFileError(int32_t number) {
  rt::raise(number, LibraryTitle(), rt::errorDescription(number));
}

}  // namespace

const DispatchTable& LogFileClass::dispatchTable() {
  static const DispatchTable table{
      propertyPut<&_LogFileClass::put_NoRaiseError>("NoRaiseError"),
      propertyGet<&_LogFileClass::get_NoRaiseError>("NoRaiseError"),
      propertyGet<&_LogFileClass::get_Mode>("Mode"),
      propertyGet<&_LogFileClass::get_LogPath>("LogPath"),
      propertyGet<&_LogFileClass::get_Opened>("Opened"),
      procedure<&_LogFileClass::OpenFile>("OpenFile"),
      procedure<&_LogFileClass::Comment>("Comment"),
      procedure<&_LogFileClass::Rewind>("Rewind"),
      procedure<&_LogFileClass::CloseFile>("CloseFile"),
      procedure<&_LogFileClass::FlushFile>("FlushFile"),
  };
  return table;
}

HRESULT LogFileClass::put_NoRaiseError(VARIANT_BOOL value) {
  noRaiseError_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT LogFileClass::get_NoRaiseError(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = noRaiseError_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT LogFileClass::get_Mode(LogModeConstants* result) {
  if (!result) return E_POINTER;
  *result = static_cast<LogModeConstants>(mode_);
  return S_OK;
}

HRESULT LogFileClass::get_LogPath(QString* result) {
  if (!result) return E_POINTER;
  *result = logPath_;
  return S_OK;
}

HRESULT LogFileClass::get_Opened(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = opened_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

int32_t LogFileClass::openFile(const QString& path, bool append) {
  if (path.isEmpty()) return rt::ErrPathFileAccess;
  const QFileInfo info(path);
  if (!info.dir().exists()) return rt::ErrPathNotFound;
  if (info.isDir()) return rt::ErrPathFileAccess;
  file_.setFileName(path);
  const QIODevice::OpenMode how = QIODevice::WriteOnly | QIODevice::Unbuffered |
                                  (append ? QIODevice::Append : QIODevice::Truncate);
  if (file_.open(how)) return 0;
  return file_.error() == QFileDevice::PermissionsError ? rt::ErrPermissionDenied
                                                         : rt::ErrPathFileAccess;
}

void LogFileClass::closeLog() {
  if (file_.isOpen()) file_.close();
  opened_ = false;
  mode_ = eLogModeNone;
}

void LogFileClass::openLog(const QString& path, int32_t mode) {
  closeLog();
  if (mode == eLogModeDebug) {
    mode_ = eLogModeDebug;
  } else if (mode == eLogModeFileNew || mode == eLogModeFileAppend) {
    if (const int32_t error = openFile(path, mode == eLogModeFileAppend)) raiseFileError(error);
    opened_ = true;
    mode_ = static_cast<uint8_t>(mode);
    logPath_ = path;
  }
}

// The open of OpenFile and Rewind: with NoRaiseError set, a failure leaves the log closed.
void LogFileClass::openOrIgnore(const QVariant& path, const QVariant& mode) {
  try {
    QString target = readText(path, QString());
    if (target.isEmpty()) target = logPath_;
    openLog(target, readInt32(mode, eLogModeFileNew));
  } catch (const rt::RuntimeError&) {
    closeLog();
    if (!noRaiseError_) throw;
  }
}

void LogFileClass::writeLine(const QString& text) {
  if (mode_ == eLogModeDebug) {
    qCDebug(logDebugOutput).noquote() << text;
    return;
  }
  if (!opened_) return;
  const QByteArray line = (text + QStringLiteral("\r\n")).toUtf8();
  if (file_.write(line) != line.size()) {
    raiseFileError(file_.error() == QFileDevice::ResourceError ? rt::ErrDiskFull : rt::ErrDeviceIO);
  }
}

HRESULT LogFileClass::OpenFile(const QVariant& LogPath, const QVariant& LogMode) {
  return rt::com::callMember([&] { openOrIgnore(LogPath, LogMode); });
}

HRESULT LogFileClass::Comment(const QVariant& CommentString) {
  return rt::com::callMember([&] {
    try {
      writeLine(readText(CommentString, QString()));
    } catch (const rt::RuntimeError&) {
      if (!noRaiseError_) throw;
    }
  });
}

HRESULT LogFileClass::Rewind() {
  return rt::com::callMember([&] {
    const QString path = logPath_;
    const int32_t mode = mode_;
    closeLog();
    if (!path.isEmpty() && QFileInfo::exists(path) && !QFile::remove(path)) {
      raiseFileError(rt::ErrPathFileAccess);
    }
    openOrIgnore(path, mode);
  });
}

HRESULT LogFileClass::CloseFile() {
  return rt::com::callMember([&] {
    if (opened_) closeLog();
  });
}

HRESULT LogFileClass::FlushFile() {
  return rt::com::callMember([&] {
    if (!opened_) return;
    file_.close();
    if (const int32_t error = openFile(logPath_, true)) {
      closeLog();
      raiseFileError(error);
    }
  });
}

}  // namespace orvo
