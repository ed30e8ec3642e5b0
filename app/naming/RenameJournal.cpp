#include "app/naming/RenameJournal.h"

#include "runtime/PathCodec.h"

#include <QList>
#include <QSet>

#include <algorithm>

namespace {

const QByteArray kHeader = "tindra-journal 1";
constexpr qsizetype kMaxFieldBytes = 64 * 1024;  // far above any path the system accepts

QByteArray nameBytes(const QString& name) { return rt::encodePath(name); }
QString nameText(const QByteArray& bytes) { return rt::decodePath(bytes); }

// Length of the valid UTF-8 sequence starting at i, 0 when the bytes there are not one.
qsizetype utf8Length(const QByteArray& s, qsizetype i) {
  const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  qsizetype length = 0;
  uint32_t code = 0;
  if (c >= 0xC2 && c <= 0xDF) length = 2, code = c & 0x1F;
  else if (c >= 0xE0 && c <= 0xEF) length = 3, code = c & 0x0F;
  else if (c >= 0xF0 && c <= 0xF4) length = 4, code = c & 0x07;
  else return 0;
  if (length > s.size() - i) return 0;
  for (qsizetype k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

void appendEscaped(QByteArray& out, unsigned char c) {
  static const char digits[] = "0123456789ABCDEF";
  out += '%';
  out += digits[c >> 4];
  out += digits[c & 0xF];
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

const char* kindWord(JournalKind kind) { return kind == JournalKind::Undo ? "undo" : "rename"; }

const char* outcomeWord(JournalOutcome outcome) {
  switch (outcome) {
    case JournalOutcome::Complete: return "complete";
    case JournalOutcome::RolledBack: return "rolled-back";
    case JournalOutcome::Restored: return "restored";
    case JournalOutcome::Finished: return "finished";
    case JournalOutcome::Interrupted: break;
  }
  return "";
}

std::optional<JournalOutcome> outcomeNamed(const QByteArray& word) {
  for (JournalOutcome o : {JournalOutcome::Complete, JournalOutcome::RolledBack, JournalOutcome::Restored,
                           JournalOutcome::Finished})
    if (word == outcomeWord(o)) return o;
  return std::nullopt;
}

std::optional<uint64_t> number(const QByteArray& field) {
  if (field.isEmpty() || field.size() > 20) return std::nullopt;
  uint64_t value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// A name field: unescaped, not empty, no "/" and no NUL.
std::optional<QString> nameField(const QByteArray& field) {
  const std::optional<QByteArray> bytes = unescapeJournalField(field);
  if (!bytes || bytes->isEmpty() || bytes->contains('/') || bytes->contains('\0')) return std::nullopt;
  return nameText(*bytes);
}

// A folder field; empty for the root.
std::optional<QString> folderField(const QByteArray& field) {
  const std::optional<QByteArray> bytes = unescapeJournalField(field);
  if (!bytes || bytes->contains('\0')) return std::nullopt;
  return nameText(*bytes);
}

bool isDate(const QByteArray& s) {
  static const QByteArray shape = "dddd-dd-ddTdd:dd:dd";
  if (s.size() != shape.size()) return false;
  for (qsizetype i = 0; i < s.size(); ++i)
    if (shape[i] == 'd' ? (s[i] < '0' || s[i] > '9') : s[i] != shape[i]) return false;
  return true;
}

bool isRunId(const QByteArray& s) {
  if (s.isEmpty() || s.size() > 64) return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || c == '-')) return false;
  return true;
}

// Reads the lines one by one; fail() records the first fault.
class Reader {
 public:
  explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
  std::optional<JournalRun> read(QString* error);

 private:
  bool header();
  bool planLine(const QList<QByteArray>& f);
  bool afterPlan(const QList<QByteArray>& f);
  bool fail(const QString& why) {
    error_ = QStringLiteral("ligne %1 : %2").arg(line_).arg(why);
    return false;
  }

  const QByteArray& bytes_;
  JournalRun run_;
  std::optional<QString> folder_;  // set by the last "folder" line
  bool planEnded_ = false;
  bool ended_ = false;
  int line_ = 0;
  QString error_;
};

std::optional<JournalRun> Reader::read(QString* error) {
  qsizetype pos = 0;
  bool ok = true;
  while (ok && pos < bytes_.size()) {
    const qsizetype eol = bytes_.indexOf('\n', pos);
    ++line_;
    if (eol < 0 && planEnded_) break;  // an append cut short by the crash
    if (eol < 0) {
      ok = fail(QStringLiteral("le journal s'arrête au milieu d'une ligne (fichier tronqué)"));
      break;
    }
    const QByteArray text = bytes_.mid(pos, eol - pos);
    pos = eol + 1;
    if (line_ == 1) {
      ok = text == kHeader || fail(QStringLiteral("ce n'est pas un journal de renommage de Tindra"));
      continue;
    }
    const QList<QByteArray> fields = text.split('\t');
    ok = planEnded_ ? afterPlan(fields) : planLine(fields);
  }
  if (ok && !planEnded_) ok = fail(QStringLiteral("la liste des fichiers est incomplète (fichier tronqué)"));
  if (!ok) {
    if (error) *error = error_;
    return std::nullopt;
  }
  return std::move(run_);
}

bool Reader::planLine(const QList<QByteArray>& f) {
  const QByteArray& tag = f[0];
  if (line_ == 2) {
    if (tag != "run" || f.size() != 3 || (f[1] != "rename" && f[1] != "undo") || !isDate(f[2]))
      return fail(QStringLiteral("l'en-tête du renommage est incorrect"));
    run_.kind = f[1] == "undo" ? JournalKind::Undo : JournalKind::Rename;
    run_.started = QString::fromLatin1(f[2]);
    return true;
  }
  if (tag == "undoes" && f.size() == 2 && isRunId(f[1]) && run_.kind == JournalKind::Undo &&
      run_.undoes.isEmpty() && run_.files.empty() && !folder_) {
    run_.undoes = QString::fromLatin1(f[1]);
    return true;
  }
  if (tag == "folder" && f.size() == 2) {
    const std::optional<QString> folder = folderField(f[1]);
    if (!folder) return fail(QStringLiteral("nom de dossier incorrect"));
    folder_ = *folder;
    return true;
  }
  if (tag == "file" && f.size() == 8) {
    if (!folder_) return fail(QStringLiteral("fichier sans dossier"));
    JournalFile file;
    file.folder = *folder_;
    const auto device = number(f[1]), inode = number(f[2]), size = number(f[3]), mtime = number(f[4]);
    const auto oldName = nameField(f[5]), temporary = nameField(f[6]), finalName = nameField(f[7]);
    if (!device || !inode || !size || !mtime || *size > INT64_MAX || *mtime > INT64_MAX)
      return fail(QStringLiteral("identité de fichier incorrecte"));
    if (!oldName || !temporary || !finalName) return fail(QStringLiteral("nom de fichier incorrect"));
    file.identity = {*device, *inode, static_cast<int64_t>(*size), static_cast<int64_t>(*mtime)};
    file.oldName = *oldName;
    file.temporaryName = *temporary;
    file.finalName = *finalName;
    run_.files.push_back(std::move(file));
    return true;
  }
  if (tag == "plan" && f.size() == 2) {
    const auto count = number(f[1]);
    if (!count || *count != run_.files.size())
      return fail(QStringLiteral("le nombre de fichiers ne correspond pas à la liste"));
    if (run_.kind == JournalKind::Undo && run_.undoes.isEmpty())
      return fail(QStringLiteral("annulation sans renommage annulé"));
    planEnded_ = true;
    return true;
  }
  return fail(QStringLiteral("ligne inattendue dans la liste des fichiers"));
}

bool Reader::afterPlan(const QList<QByteArray>& f) {
  const QByteArray& tag = f[0];
  if (tag == "undone" && f.size() == 2 && isRunId(f[1]) && ended_) {
    run_.undoneBy = QString::fromLatin1(f[1]);
    return true;
  }
  if (ended_) return fail(QStringLiteral("ligne inattendue après la fin du renommage"));
  if (tag == "final" && f.size() == 3) {
    const auto index = number(f[1]);
    const auto name = nameField(f[2]);
    if (!index || *index >= run_.files.size() || !name) return fail(QStringLiteral("nom définitif incorrect"));
    run_.files[static_cast<size_t>(*index)].finalName = *name;
    return true;
  }
  if (tag == "left" && f.size() == 3) {
    const auto folder = folderField(f[1]);
    const auto name = nameField(f[2]);
    if (!folder || !name) return fail(QStringLiteral("nom de fichier incorrect"));
    run_.left.append(*folder + QLatin1Char('/') + *name);
    return true;
  }
  if (tag == "end" && f.size() == 2) {
    const auto outcome = outcomeNamed(f[1]);
    if (!outcome) return fail(QStringLiteral("fin de renommage inconnue"));
    run_.outcome = *outcome;
    ended_ = true;
    return true;
  }
  return fail(QStringLiteral("ligne inattendue"));
}

QByteArray field(const QString& name) { return escapeJournalField(nameBytes(name)); }

}  // namespace

QStringList JournalRun::folders() const {
  QStringList list;
  QSet<QString> seen;
  for (const JournalFile& file : files)
    if (!seen.contains(file.folder)) {
      seen.insert(file.folder);
      list.append(file.folder);
    }
  return list;
}

QByteArray escapeJournalField(const QByteArray& bytes) {
  const bool plain = std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '%'; });
  if (plain) return bytes;
  QByteArray out;
  out.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 || c == 0x7F || c == '%') {
      appendEscaped(out, c);
      ++i;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
    } else if (const qsizetype length = utf8Length(bytes, i)) {
      out += bytes.mid(i, length);
      i += length;
    } else {
      appendEscaped(out, c);
      ++i;
    }
  }
  return out;
}

std::optional<QByteArray> unescapeJournalField(const QByteArray& field) {
  if (field.size() > kMaxFieldBytes) return std::nullopt;
  QByteArray out;
  out.reserve(field.size());
  for (qsizetype i = 0; i < field.size(); ++i) {
    const auto c = static_cast<unsigned char>(field[i]);
    if (c < 0x20 || c == 0x7F) return std::nullopt;  // these are always escaped
    if (c != '%') {
      out += static_cast<char>(c);
      continue;
    }
    if (field.size() - i < 3) return std::nullopt;
    const int high = hexValue(field[i + 1]);
    const int low = hexValue(field[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

QByteArray journalPlanText(const JournalRun& run) {
  QByteArray text = kHeader + '\n';
  text += "run\t" + QByteArray(kindWord(run.kind)) + '\t' + run.started.toLatin1() + '\n';
  if (!run.undoes.isEmpty()) text += "undoes\t" + run.undoes.toLatin1() + '\n';
  std::optional<QString> folder;
  for (const JournalFile& file : run.files) {
    if (file.folder != folder) {
      folder = file.folder;
      text += "folder\t" + field(file.folder) + '\n';
    }
    const rt::durable::FileIdentity& id = file.identity;
    // Appended piece by piece: one line per file, thousands of files.
    text.append("file\t").append(QByteArray::number(id.device)).append('\t').append(QByteArray::number(id.inode));
    text.append('\t').append(QByteArray::number(id.size)).append('\t').append(QByteArray::number(id.modifiedNs));
    text.append('\t').append(field(file.oldName)).append('\t').append(field(file.temporaryName));
    text.append('\t').append(field(file.finalName)).append('\n');
  }
  text += "plan\t" + QByteArray::number(static_cast<qulonglong>(run.files.size())) + '\n';
  return text;
}

QByteArray journalFinalLine(size_t index, const QString& name) {
  return "final\t" + QByteArray::number(static_cast<qulonglong>(index)) + '\t' + field(name) + '\n';
}

QByteArray journalEndText(JournalOutcome outcome, const QStringList& left) {
  QByteArray text;
  for (const QString& path : left) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    text += "left\t" + field(path.left(slash)) + '\t' + field(path.mid(slash + 1)) + '\n';
  }
  return text + "end\t" + outcomeWord(outcome) + '\n';
}

QByteArray journalUndoneLine(const QString& undoRunId) { return "undone\t" + undoRunId.toLatin1() + '\n'; }

std::optional<JournalRun> parseJournal(const QByteArray& bytes, QString* error) {
  return Reader(bytes).read(error);
}

QString outcomeText(const JournalRun& run) {
  if (!run.undoneBy.isEmpty()) return QStringLiteral("annulé");
  switch (run.outcome) {
    case JournalOutcome::Complete: return QStringLiteral("terminé");
    case JournalOutcome::RolledBack: return QStringLiteral("arrêté par une erreur");
    case JournalOutcome::Restored: return QStringLiteral("interrompu, anciens noms rendus");
    case JournalOutcome::Finished: return QStringLiteral("interrompu, puis achevé");
    case JournalOutcome::Interrupted: break;
  }
  return QStringLiteral("interrompu");
}
