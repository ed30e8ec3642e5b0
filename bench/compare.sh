#!/usr/bin/env bash
# Times tindra-cli side by side with general EXIF tools and with the floor of the work, in one
# hyperfine run per column:
#   info    tindra-cli info   / jhead / exiv2 / floor (open, read 64 KiB, close per file)
#   rename  tindra-cli rename / jhead -n     / floor (read 64 KiB, then two renames per file)
#   start   tindra-cli info on one picture   / jhead on one picture
# on folders of 5,000 and 50,000 small camera pictures written by bench_corpus, and prints
# each time as a ratio to the floor (start-up: to jhead). Targets: info and rename ahead of
# every other tool and at most 1.5 times their floor; start-up at most 4 times jhead.
#
#   bench/compare.sh [--setup] [BUILD_DIR]     (BUILD_DIR defaults to ./build)
#   COUNTS="5000 50000" RUNS=10 bench/compare.sh
#
# --setup installs the comparison tools (Debian packages hyperfine, jhead, exiv2). They are
# used here only, never by the program. Everything is written under a temporary folder
# (kept when KEEP=1), with its own registry: the user's files are not touched.
set -euo pipefail

if [[ ${1:-} == --setup ]]; then
  apt-get install -y hyperfine jhead exiv2 gcc
  shift
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
counts=${COUNTS:-5000 50000}
runs=${RUNS:-10}

for tool in hyperfine jhead exiv2 cc; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run bench/compare.sh --setup" >&2; exit 1; }
done
for file in tindra-cli tindra-regserver bench_corpus libOrvoLib22.so; do
  [[ -e $build/bin/$file ]] || { echo "$build/bin/$file is missing: build first" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tindra-compare.XXXXXX")
[[ ${KEEP:-0} == 1 ]] || trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME"  # rename journals stay in the run's own folder
"$build/bin/tindra-regserver" "$build/bin/libOrvoLib22.so" >/dev/null
cli=$build/bin/tindra-cli

# The floors: what any tool that reads each picture (and renames it twice) cannot avoid.
cat >"$work/floor_read.c" <<'EOF'
#include <fcntl.h>
#include <unistd.h>
static char buffer[64 * 1024];
int main(int argc, char** argv) {
  long total = 0;
  for (int i = 1; i < argc; ++i) {
    int fd = open(argv[i], O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 1;
    total += read(fd, buffer, sizeof buffer);
    close(fd);
  }
  return total < 0;
}
EOF
cat >"$work/floor_rename.c" <<'EOF'
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>
static char buffer[64 * 1024];
int main(int argc, char** argv) {
  char temporary[4096], final[4096];
  for (int i = 1; i < argc; ++i) {
    int fd = open(argv[i], O_RDONLY | O_CLOEXEC);
    if (fd < 0 || read(fd, buffer, sizeof buffer) < 0) return 1;
    close(fd);
    snprintf(temporary, sizeof temporary, "($)_%s", argv[i]);
    snprintf(final, sizeof final, "N%s", argv[i]);
    if (rename(argv[i], temporary) != 0 || rename(temporary, final) != 0) return 1;
  }
  return 0;
}
EOF
cc -O2 -o "$work/floor_read" "$work/floor_read.c"
cc -O2 -o "$work/floor_rename" "$work/floor_rename.c"

# Prints "name: mean ms, ratio" for each command of a hyperfine CSV export, against the mean
# of the command named reference.
ratios() {
  local csv=$1 reference=$2
  awk -F, -v ref="$reference" '
    NR > 1 { name[NR] = $1; mean[NR] = $2; if ($1 == ref) base = $2 }
    END {
      for (i = 2; i <= NR; ++i)
        printf "  %-14s %10.1f ms   %6.2f x %s\n", name[i], mean[i] * 1000, mean[i] / base, ref
    }' "$csv"
}

report=$work/report.txt
: >"$report"
load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load average at start: $load (on $(nproc) cores)" | tee -a "$report"

for count in $counts; do
  corpus=$work/pictures-$count
  "$build/bin/bench_corpus" "$corpus" "$count"
  cd "$corpus"
  files='IMG_*.jpg'
  hyperfine --warmup 1 --runs "$runs" --export-csv "$work/info-$count.csv" \
    -n tindra-cli "$cli info $files >/dev/null" \
    -n jhead "jhead $files >/dev/null" \
    -n exiv2 "exiv2 $files >/dev/null 2>&1" \
    -n floor "$work/floor_read $files"
  {
    echo "info, $count pictures:"
    ratios "$work/info-$count.csv" floor
  } | tee -a "$report"

  # Each run renames a fresh copy of the folder; the copy is not timed.
  copy=$work/renamed-$count
  prepare="rm -rf '$copy' && cp -a '$corpus' '$copy'"
  cd "$work"
  hyperfine --runs "$runs" --prepare "$prepare" --export-csv "$work/rename-$count.csv" \
    -n tindra-cli "cd '$copy' && $cli rename $files >/dev/null" \
    -n 'jhead -n' "cd '$copy' && jhead -n%Y%m%d-%H%M%S $files >/dev/null" \
    -n floor "cd '$copy' && $work/floor_rename $files"
  {
    echo "rename, $count pictures:"
    ratios "$work/rename-$count.csv" floor
  } | tee -a "$report"
done

one=$work/one
"$build/bin/bench_corpus" "$one" 1
hyperfine -N --warmup 5 --runs $((runs * 10)) --export-csv "$work/start.csv" \
  -n tindra-cli "$cli info $one/IMG_000000.jpg" \
  -n jhead "jhead $one/IMG_000000.jpg"
{
  echo "start-up, one picture:"
  ratios "$work/start.csv" jhead
} | tee -a "$report"

load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load average at end: $load" | tee -a "$report"
if awk -v l="${load%% *}" -v n="$(nproc)" 'BEGIN { exit !(l > n) }'; then
  echo "WARNING: the machine was loaded (load above the number of cores): times are not reliable" | tee -a "$report"
fi
echo
cat "$report"
