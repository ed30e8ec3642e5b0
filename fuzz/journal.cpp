// Fuzzes the rename journal reader: the input is a journal. A journal that reads is written
// again and must read back the same; the input taken as one name field must survive escaping.
#include "app/naming/RenameJournal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "journal fuzz check failed: %s\n", what);
    std::abort();
  }
}

bool sameFiles(const JournalRun& a, const JournalRun& b) {
  if (a.files.size() != b.files.size()) return false;
  for (size_t i = 0; i < a.files.size(); ++i) {
    const JournalFile& x = a.files[i];
    const JournalFile& y = b.files[i];
    if (x.folder != y.folder || x.oldName != y.oldName || x.temporaryName != y.temporaryName ||
        x.finalName != y.finalName || !(x.identity == y.identity))
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QByteArray field = escapeJournalField(input);
  check(!field.contains('\n') && !field.contains('\t'), "escaped field holds a separator");
  check(unescapeJournalField(field) == input || field.size() > 64 * 1024, "field does not round-trip");

  QString error;
  const std::optional<JournalRun> run = parseJournal(input, &error);
  check(run.has_value() == error.isEmpty(), "an error without failure, or a failure without error");
  if (!run) return 0;
  // Written again, the plan reads back and writes the same bytes once more: any name survives.
  const QByteArray written = journalPlanText(*run);
  const std::optional<JournalRun> reread = parseJournal(written, nullptr);
  check(reread.has_value(), "a written plan does not read back");
  check(reread->kind == run->kind && reread->started == run->started && reread->undoes == run->undoes,
        "run header changed");
  check(journalPlanText(*reread) == written, "plan text is not stable");
  check(sameFiles(*run, *reread), "files changed on the way");
  return 0;
}
