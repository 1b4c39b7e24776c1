#!/usr/bin/env bash
# Installs the programs as a desktop program and as a Debian package, and checks both run.
# Slow (a build of its own), so not part of the test command.
#
#   scripts/install_check.sh [BUILD_DIR]     (default: build-install in the source tree)
#
# JOBS sets the build's parallel jobs (default 2).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-install}")
jobs=${JOBS:-2}

"$root/scripts/setup-debian.sh"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/rezedev7-install-check.XXXXXX")
cleanup() {
  chmod -R u+w "$scratch" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
pass() { echo "  ok    $*"; }
fail() {
  echo "  FAIL  $*"
  failures=$((failures + 1))
}
step() { echo "== $*"; }

step "configure (fresh) and build in $build"
cmake --fresh -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DD7O_BUILD_BENCH=OFF >"$scratch/configure.log"
cmake --build "$build" -j"$jobs" >"$scratch/build.log" || {
  tail -40 "$scratch/build.log"
  exit 1
}

prefix="$scratch/prefix"
step "cmake --install into $prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
for f in bin/rezedev7 bin/d7o-sim bin/d7o-tool; do
  if [ -x "$prefix/$f" ]; then pass "$f"; else fail "$f missing or not executable"; fi
done
for f in share/applications/rezedev7.desktop share/icons/hicolor/scalable/apps/rezedev7.svg \
  share/doc/rezedev7/README.md; do
  if [ -s "$prefix/$f" ]; then pass "$f"; else fail "$f missing"; fi
done
if command -v rsvg-convert >/dev/null; then
  f=share/icons/hicolor/64x64/apps/rezedev7.png
  if file "$prefix/$f" 2>/dev/null | grep -q '64 x 64'; then pass "$f"; else fail "$f missing or not 64x64"; fi
fi
extra=$(cd "$prefix/bin" && ls | grep -vxE 'rezedev7|d7o-sim|d7o-tool' || true)
if [ -z "$extra" ]; then pass "bin holds the three programs only"; else fail "also in bin: $extra"; fi

step "desktop entry"
if command -v desktop-file-validate >/dev/null; then
  if out=$(desktop-file-validate "$prefix/share/applications/rezedev7.desktop" 2>&1); then
    pass "desktop-file-validate${out:+ (notes: $out)}"
  else
    fail "desktop-file-validate: $out"
  fi
else
  echo "  skip  desktop-file-validate not found (package desktop-file-utils)"
fi

step "installed programs start"
for p in rezedev7 d7o-tool d7o-sim; do
  if "$prefix/bin/$p" --help >"$scratch/$p-help.txt" 2>&1 && [ -s "$scratch/$p-help.txt" ]; then
    pass "$p --help: $(head -1 "$scratch/$p-help.txt")"
  else
    fail "$p --help: $(head -3 "$scratch/$p-help.txt")"
  fi
done

step "program folder of the installed program"
# An installed program keeps TARVIK.INI and Log.txt with the user, not beside itself;
# its bin folder is made read-only as in /usr/bin (root could still write there, which is
# why the installed layout counts as well).
user_home="$scratch/home"
data="$user_home/.local/share/rezedev7"
mkdir -p "$user_home"
chmod a-w "$prefix/bin"
run_gui() { # seconds, args...: the program with no display; it is still running at the end
  local seconds=$1
  shift
  (cd "$scratch" && env -u XDG_DATA_HOME -u REZEDEV7_HOME HOME="$user_home" \
    QT_QPA_PLATFORM=offscreen timeout "$seconds" "$prefix/bin/rezedev7" "$@") \
    >"$scratch/gui.log" 2>&1 || true
}
# First start: the data folder is made, then the first-run dialog waits (offscreen: forever).
run_gui 5 --simulate
if [ -d "$data" ]; then pass "first start made $data"; else fail "no $data after the first start ($(head -3 "$scratch/gui.log"))"; fi
# With a TARVIK.INI there the program starts on it; it empties Log.txt of its program folder
# at start, so a stale one going away shows which folder it took.
"$prefix/bin/rezedev7" --create-ini "$data" 1 >/dev/null
echo stale >"$data/Log.txt"
run_gui 5 --simulate
if [ -f "$data/TARVIK.INI" ] && [ ! -e "$data/Log.txt" ]; then
  pass "second start used $data (TARVIK.INI read, Log.txt restarted)"
else
  fail "second start did not use $data ($(head -3 "$scratch/gui.log"))"
fi
if ls "$prefix/bin" | grep -qixE 'tarvik.ini|log.txt'; then fail "files written into bin"; else pass "nothing written beside the program"; fi
# XDG_DATA_HOME wins over ~/.local/share when set.
(cd "$scratch" && HOME="$user_home" XDG_DATA_HOME="$scratch/xdg" QT_QPA_PLATFORM=offscreen \
  timeout 5 "$prefix/bin/rezedev7" --simulate) >/dev/null 2>&1 || true
if [ -d "$scratch/xdg/rezedev7" ]; then pass "XDG_DATA_HOME/rezedev7 used when set"; else fail "XDG_DATA_HOME ignored"; fi
# A data folder that cannot be made: a clear message and exit code 1.
echo "a file, not a folder" >"$scratch/not-a-folder"
set +e
HOME="$scratch/not-a-folder" QT_QPA_PLATFORM=offscreen env -u XDG_DATA_HOME -u REZEDEV7_HOME \
  timeout 10 "$prefix/bin/rezedev7" --simulate >"$scratch/err.out" 2>"$scratch/err.log"
rc=$?
set -e
if [ "$rc" -eq 1 ] && grep -q "cannot create the program folder" "$scratch/err.log"; then
  pass "uncreatable folder: exit 1, \"$(grep "cannot create" "$scratch/err.log")\""
else
  fail "uncreatable folder: exit $rc, $(head -2 "$scratch/err.log")"
fi
chmod u+w "$prefix/bin"

# As a desktop launcher starts it: the entry's Exec line (field codes dropped), found
# through PATH, with the user's HOME. It must still be running after 5 s (timeout's 124).
launch_entry() { # desktop file, bin folder
  local exec_line
  exec_line=$(sed -n 's/^Exec=//p' "$1" | head -1 | sed 's/ %[fFuUick]//g')
  set +e
  (cd "$scratch" && env -u XDG_DATA_HOME -u REZEDEV7_HOME HOME="$user_home" PATH="$2:$PATH" \
    QT_QPA_PLATFORM=offscreen timeout 5 sh -c "exec $exec_line --simulate") \
    >"$scratch/entry.log" 2>&1
  local rc=$?
  set -e
  echo "$rc"
}
step "started from the desktop entry"
rc=$(launch_entry "$prefix/share/applications/rezedev7.desktop" "$prefix/bin")
if [ "$rc" -eq 124 ]; then pass "Exec line of the installed entry: the program runs"; else
  fail "Exec line of the installed entry: exit $rc ($(head -3 "$scratch/entry.log"))"; fi

step "Debian package (cpack -G DEB)"
rm -f "$build"/rezedev7_*.deb
(cd "$build" && cpack -G DEB >"$scratch/cpack.log" 2>&1) || {
  tail -30 "$scratch/cpack.log"
  exit 1
}
deb=$(ls "$build"/rezedev7_*.deb)
pass "$(basename "$deb")"
dpkg-deb -f "$deb" Package Version Section Maintainer Depends | sed 's/^/        /'
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
echo "  contents:"
sed 's/^/        /' <<<"$contents"
grep -qx './usr/bin/rezedev7' <<<"$contents" && pass "usr/bin/rezedev7 in the package" ||
  fail "usr/bin/rezedev7 not in the package"
[ -n "$(dpkg-deb -f "$deb" Depends)" ] && pass "Depends filled in by dpkg-shlibdeps" ||
  fail "no Depends"

step "the package unpacked into a scratch root"
deb_root="$scratch/debroot"
dpkg -x "$deb" "$deb_root"
for p in rezedev7 d7o-tool d7o-sim; do
  if "$deb_root/usr/bin/$p" --help >/dev/null 2>&1; then pass "$p --help from the package"; else fail "$p --help from the package"; fi
done
rc=$(launch_entry "$deb_root/usr/share/applications/rezedev7.desktop" "$deb_root/usr/bin")
if [ "$rc" -eq 124 ]; then pass "Exec line of the package's entry: the program runs"; else
  fail "Exec line of the package's entry: exit $rc ($(head -3 "$scratch/entry.log"))"; fi

echo
if [ "$failures" -eq 0 ]; then
  echo "install check: all passed ($deb)"
else
  echo "install check: $failures failed"
  exit 1
fi
