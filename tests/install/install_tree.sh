#!/usr/bin/env bash
# install_tree.sh BUILD SOURCE CORPUS: installs the build into a scratch prefix (and under
# DESTDIR), then, as a user who never ran Tindra, uses only the installed files: versions,
# tindra-cli on pictures, the window offscreen, the desktop files and manual pages, the example
# library client; and a missing library gives an error naming the file.
source "$(dirname "$0")/common.sh"
build=$1 source_dir=$2 corpus=$3
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
app=fr.tindra.Tindra
for f in bin/tindra bin/tindra-cli bin/tindra-regserver lib/tindra/libOrvoLib22.so.2 lib/tindra/libOrvoLib22Widgets.so.2 \
         share/tindra/help/index.html share/tindra/help/100.html \
         share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/icons/hicolor/scalable/apps/$app.svg share/man/man1/tindra.1 share/man/man1/tindra-cli.1 \
         share/bash-completion/completions/tindra-cli \
         include/OrvoLib22/OrvoLib22.h include/OrvoLib22/OrvoLib22Client.h include/OrvoLib22/runtime/ComTypes.h \
         lib/libOrvoLib22Client.so lib/cmake/OrvoLib22/OrvoLib22Config.cmake lib/pkgconfig/orvolib22.pc; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
for size in 48 64 128 256; do
  file "$prefix/share/icons/hicolor/${size}x$size/apps/$app.png" | grep -q "PNG image data, $size x $size" ||
    fail "icon ${size}x$size"
done
# The installed headers need only Qt: nothing includes a header that is not installed.
for h in $(cd "$prefix/include/OrvoLib22" && find . -name '*.h'); do
  for inc in $(sed -n 's/^#include "\(.*\)"/\1/p' "$prefix/include/OrvoLib22/$h"); do
    [ -e "$prefix/include/OrvoLib22/$inc" ] || fail "$h includes $inc, which is not installed"
  done
done

# DESTDIR: everything lands below it, nothing elsewhere.
DESTDIR=$work/stage cmake --install "$build" --prefix /opt/tindra >/dev/null
[ -x "$work/stage/opt/tindra/bin/tindra-cli" ] || fail "DESTDIR install"
[ "$(ls "$work/stage")" = opt ] || fail "DESTDIR install wrote outside its prefix: $(ls "$work/stage")"

fresh_user
for exe in tindra tindra-cli tindra-regserver; do
  [ "$("$prefix/bin/$exe" --version)" = "$exe $(sed -n 's/^project(Tindra VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")" ] ||
    fail "$exe --version"
done

# tindra-cli reads pictures with nothing registered anywhere: the library comes from the install.
mapfile -t pics < <(pictures "$corpus")
out=$("$prefix/bin/tindra-cli" info "${pics[@]}") || fail "tindra-cli info: $out"
[ "$(grep -c $'\t[0-9]\\{4\\}-[0-9][0-9]-[0-9][0-9] ' <<<"$out")" -ge 1 ] || fail "no shooting date read: $out"
grep -q 429 <<<"$out" && fail "error 429: $out"
[ -e "$XDG_CONFIG_HOME/Tindra/registry" ] && fail "the user's registry store was written"

# The window, offscreen, with a picture: it keeps running, its files go to the user's folder,
# not into the install.
touch "$work/before-window"
QT_QPA_PLATFORM=offscreen "$prefix/bin/tindra" "${pics[0]}" >"$work/window.log" 2>&1 &
window=$!
for _ in $(seq 50); do
  [ -e "$XDG_CONFIG_HOME/Tindra/tindra.instance.lock" ] && break
  sleep 0.2
done
kill -0 "$window" 2>/dev/null || fail "the window stopped: $(cat "$work/window.log")"
kill "$window"; wait "$window" 2>/dev/null || true
[ -e "$XDG_CONFIG_HOME/Tindra/tindra.instance.lock" ] || fail "the window kept no instance lock in the user's folder"
[ -z "$(find "$prefix" -newer "$work/before-window")" ] || fail "the window wrote into the install"

# Desktop entry, metainfo and manual pages are valid.
desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >"$work/appstream.log" ||
  fail "appstreamcli: $(cat "$work/appstream.log")"
for page in tindra tindra-cli tindra-regserver; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l -Tutf8 "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
done
bash -n "$prefix/share/bash-completion/completions/tindra-cli" || fail "bash completion"

# The example client, built against the installed tree only.
cmake -S "$source_dir/examples/client" -B "$work/client" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/client.log" 2>&1 || fail "example configure: $(cat "$work/client.log")"
grep -q "$source_dir/lib\|$source_dir/runtime" "$work/client/build.ninja" && fail "the example reached into the source tree"
cmake --build "$work/client" >"$work/client.log" 2>&1 || fail "example build: $(cat "$work/client.log")"
out=$("$work/client/orvolib22-example") || fail "example client: $out"
grep -q "^Item(hors limites) : erreur 9 " <<<"$out" || fail "example client did not report the library's error: $out"

# The same example through pkg-config alone.
flags=$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs orvolib22) || fail "pkg-config orvolib22"
g++ -std=c++20 -fPIC "$source_dir/examples/client/main.cpp" $flags -Wl,-rpath,"$prefix/lib" -o "$work/client-pc" ||
  fail "example build with pkg-config flags: $flags"
"$work/client-pc" >/dev/null || fail "example client built with pkg-config"

# Without its library the install says which file it looked for.
rm "$prefix"/lib/tindra/libOrvoLib22.so*
out=$("$prefix/bin/tindra-cli" info "${pics[0]}" 2>&1) && fail "tindra-cli ran without its library"
grep -q "$prefix/lib/tindra/libOrvoLib22.so.2" <<<"$out" || fail "the message does not name the library: $out"
echo "installed tree: all checks passed"
