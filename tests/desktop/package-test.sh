#!/usr/bin/env bash
# Builds the Debian package of a built tree, unpacks it into a scratch root and checks what it
# installs: the program runs, its desktop entry is valid and names the program, its icon and
# its windows' class, every icon size is drawn at its size, and the manual page documents every
# option and trigger key that --help names. Also checks that `cmake --install` puts the same
# files in place. Usage: package-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate identify groff; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done

# The package, built as a user would (cpack in the build tree), but into the scratch folder.
(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: not one .deb: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}

# Dependencies: the libraries found by dpkg-shlibdeps, and the data read at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libx11-6 libxi6 libxkbregistry0 libsystemd0 xkb-data iso-codes; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = lumivoke ] || fail "the package is not named lumivoke"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr

# The program, stripped, runs from where it was put.
[ -x "$usr/bin/lumivoke" ] || fail "no executable usr/bin/lumivoke"
version=$("$usr/bin/lumivoke" --version) || fail "lumivoke --version failed"
[[ $version == "Lumivoke "* ]] || fail "lumivoke --version printed: $version"

# The desktop entry.
entry=$usr/share/applications/lumivoke.desktop
if [ -f "$entry" ]; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  grep -qx 'StartupWMClass=Lumivoke' "$entry" || fail "StartupWMClass is not the windows' class Lumivoke"
  exec=$(sed -n 's/^Exec=//p' "$entry")
  [ -x "$usr/bin/${exec%% *}" ] || fail "Exec=$exec is not the installed program"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ "$icon" = lumivoke ] || fail "Icon=$icon is not the installed icon"
else
  fail "no $entry"
fi

# The icon: the drawing, and each size drawn at that size.
hicolor=$usr/share/icons/hicolor
[ -s "$hicolor/scalable/apps/lumivoke.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png=$hicolor/${size}x${size}/apps/lumivoke.png
  if [ -f "$png" ]; then
    drawn=$(identify -format '%wx%h %m' "$png")
    [ "$drawn" = "${size}x${size} PNG" ] || fail "$png is $drawn"
  else
    fail "no ${size}x${size} icon"
  fi
done

# The manual page: well formed, and naming every option and trigger key of --help.
manual=$usr/share/man/man1/lumivoke.1.gz
if [ -f "$manual" ]; then
  warnings=$(gzip -dc "$manual" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
  page=$(gzip -dc "$manual" | sed 's/\\-/-/g')
  help=$("$usr/bin/lumivoke" --help)
  for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -qF -- "$option" <<<"$page" || fail "the manual page does not document $option"
  done
  commands=$(sed -n 's/^  ctl \([a-z]*\).*/\1/p' <<<"$help")
  [ "$(wc -w <<<"$commands")" -eq 7 ] || fail "--help lists not the seven ctl commands: $commands"
  for command in $commands; do
    grep -qF -- "ctl $command" <<<"$page" || fail "the manual page does not document ctl $command"
  done
  keys=$(sed -n 's/^ \{19\}\([a-z][a-z-]*\)  .*/\1/p' <<<"$help")
  [ -n "$keys" ] || fail "--help lists no trigger keys: $help"
  for key in $keys; do
    grep -qw -- "$key" <<<"$page" || fail "the manual page does not name the trigger key $key"
  done
else
  fail "no $manual"
fi

# `cmake --install` puts the same files in place as the package.
cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; fail "cmake --install"; }
packaged=$(cd "$usr" && find . -type f | sort)
installed=$(cd "$scratch/prefix" && find . -type f | sort)
[ "$packaged" = "$installed" ] ||
  fail "cmake --install and the package differ: $(diff <(echo "$packaged") <(echo "$installed") | tr '\n' ' ')"

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb"): $(wc -l <<<"$packaged") files, all as expected"
