#!/usr/bin/env bash
# package.sh BUILD CORPUS: builds the Debian package with CPack, checks its contents and
# dependencies, and runs its maintainer scripts on a scratch root and a scratch machine-wide
# store: installation registers the library for every user, removal takes it away again.
source "$(dirname "$0")/common.sh"
build=$1 corpus=$2

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/package/tindra_*.deb) || fail "no package built"

# Contents: the programs, the private library, help, desktop integration, the library kit.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for f in /usr/bin/tindra /usr/bin/tindra-cli /usr/bin/tindra-regserver /usr/lib/tindra/libOrvoLib22.so.2 \
         /usr/lib/tindra/libOrvoLib22Widgets.so.2 \
         /usr/share/tindra/help/index.html /usr/share/applications/fr.tindra.Tindra.desktop \
         /usr/share/metainfo/fr.tindra.Tindra.metainfo.xml /usr/share/icons/hicolor/256x256/apps/fr.tindra.Tindra.png \
         /usr/share/icons/hicolor/scalable/apps/fr.tindra.Tindra.svg /usr/share/man/man1/tindra.1 \
         /usr/share/man/man1/tindra-cli.1 /usr/share/bash-completion/completions/tindra-cli \
         /usr/include/OrvoLib22/OrvoLib22.h /usr/lib/libOrvoLib22Client.so \
         /usr/lib/cmake/OrvoLib22/OrvoLib22Config.cmake /usr/lib/pkgconfig/orvolib22.pc; do
  grep -qx -- "$f" "$work/contents" || fail "not in the package: $f"
done
grep -q '^/etc/' "$work/contents" && fail "the package ships files in /etc: the store is written by its scripts"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6core6 libqt6widgets6 libqt6gui6 libqt6printsupport6 qt6-qpa-plugins libc6; do
  grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
dpkg-deb -I "$deb" postinst prerm postrm >/dev/null || fail "maintainer scripts missing"

# The scripts on a scratch root (DPKG_ROOT, as dpkg gives it) and a scratch machine store.
root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"
fresh_user
hive=$TINDRA_MACHINE_CONFIG/Tindra/registry/HKEY_CLASSES_ROOT.reg
DPKG_ROOT=$root "$work/control/postinst" configure || fail "postinst"
grep -qF "@=\"$root/usr/lib/tindra/libOrvoLib22.so.2\"" "$hive" || fail "postinst did not register the library: $(cat "$hive" 2>&1)"
[ -e "$XDG_CONFIG_HOME/Tindra" ] && fail "postinst wrote into the user's store"

# Any user now reads pictures with the installed program.
mapfile -t pics < <(pictures "$corpus")
out=$("$root/usr/bin/tindra-cli" info "${pics[@]}") || fail "installed tindra-cli: $out"

DPKG_ROOT=$root "$work/control/prerm" remove || fail "prerm"
grep -q 'CLSID' "$hive" && fail "prerm left registrations: $(cat "$hive")"
rm -rf "$root/usr"   # what dpkg removes between the two scripts
DPKG_ROOT=$root "$work/control/postrm" remove || fail "postrm"
[ -e "$TINDRA_MACHINE_CONFIG/Tindra" ] && fail "postrm left the machine store: $(ls -R "$TINDRA_MACHINE_CONFIG")"
echo "package: all checks passed ($(basename "$deb"), $(wc -l <"$work/contents") entries)"
