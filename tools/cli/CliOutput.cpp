#include "tools/cli/CliOutput.h"

#include "app/common/ErrorHandling.h"
#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"

#include <cstdio>

namespace cli {
namespace {

QString& currentFile() {
  static QString path;
  return path;
}

bool& failedFlag() {
  static bool flag = false;
  return flag;
}

// Paths in the text show their bytes that are not UTF-8 as "\xE9". Standard output is
// buffered (one write for many lines); what goes to standard error is written at once, after
// the lines before it, so both streams keep their order on one terminal.
void write(std::FILE* stream, const QString& text) {
  const QByteArray bytes = rt::displayPath(text).toUtf8();
  if (stream != stdout) std::fflush(stdout);
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
  if (stream != stdout) std::fflush(stream);
}

}  // namespace

void printLine(const QString& line) { write(stdout, line + QLatin1Char('\n')); }

void printError(const QString& message) {
  write(stderr, QStringLiteral("tindra-cli : ") + message + QLatin1Char('\n'));
}

void installErrorPresenter() {
  ErrorHandling::SetPresenter([](const QString&, const QString& message) {
    markFailed();
    QString text = message;
    text.replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
    if (currentFile().isEmpty())
      printError(text);
    else
      printError(QStringLiteral("« %1 » : %2").arg(currentFile(), text));
  });
}

void setCurrentFile(const QString& path) { currentFile() = path; }

bool failed() { return failedFlag(); }

void markFailed() { failedFlag() = true; }

QString dateField(rt::DateValue value) {
  if (!(value > 0)) return QString();
  try {
    const rt::DateParts p = rt::splitDate(value);
    // "yyyy-MM-dd hh:mm:ss", digits written directly: three dates a picture.
    char16_t text[19];
    const auto put = [&text](int at, int number, int digits) { rt::putDigits(text + at, number, digits); };
    put(0, p.year, 4);
    put(5, p.month, 2);
    put(8, p.day, 2);
    put(11, p.hour, 2);
    put(14, p.minute, 2);
    put(17, p.second, 2);
    text[4] = text[7] = u'-';
    text[10] = u' ';
    text[13] = text[16] = u':';
    return QString(reinterpret_cast<const QChar*>(text), 19);
  } catch (const rt::RuntimeError&) {
    return QString();
  }
}

}  // namespace cli
