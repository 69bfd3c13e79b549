#!/usr/bin/env bash
# Installs the Debian package built by `make package` with dpkg -i and runs the installed
# umbrix on the five samples in each mode.
#
#   check_package.sh BUILD_DIR
#
# The newest umbrix_*.deb in BUILD_DIR is checked: its declared dependencies, its files, the
# installation, the written documents. A package that was not installed before is removed
# again afterwards. Without root (dpkg -i needs it) the check is skipped.
set -euo pipefail
export LC_ALL=C

fail() {
  echo "FAIL [package]: $*" >&2
  exit 1
}

if [ "$(id -u)" -ne 0 ]; then
  echo "[package] not root: installing the package is skipped"
  exit 0
fi

package=$(ls -t "$1"/umbrix_*.deb 2>/dev/null | head -1 || true)
[ -n "$package" ] || fail "no umbrix_*.deb in $1 (make package builds it)"
package=$(realpath "$package")

depends=$(dpkg-deb -f "$package" Depends)
echo "[package] $(basename "$package"), $(wc -c <"$package") bytes"
echo "[package] Depends: $depends"
contents=$(dpkg-deb -c "$package" | awk '{ print $NF }' | sed 's|^\./|/|')
has_file() { grep -qx "$1" <<<"$contents"; }

# dpkg-shlibdeps names the libraries the binaries link; an empty list means it did not run.
for library in libc6 libstdc++6 libbdd0c2; do
  grep -q "\b$library\b" <<<"$depends" || fail "the package does not depend on $library"
done
has_file /usr/bin/umbrix || fail "no /usr/bin/umbrix in the package"
has_file /usr/share/man/man1/umbrix.1 || fail "no man page in the package"
if has_file /usr/bin/umbrix-gui; then
  grep -q 'libqt6widgets6' <<<"$depends" || fail "umbrix-gui is packaged without its Qt dependency"
  has_file /usr/share/applications/umbrix-gui.desktop || fail "no desktop entry in the package"
  has_file /usr/share/icons/hicolor/scalable/apps/umbrix.svg || fail "no icon in the package"
else
  echo "[package] the package holds no window (umbrix-gui was not built)"
fi

installed_before=no
if dpkg-query -W -f='${Status}' umbrix 2>/dev/null | grep -q "install ok installed"; then
  installed_before=yes
fi
work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  if [ $installed_before = no ]; then dpkg -r umbrix >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive dpkg -i "$package" >"$work/dpkg.out" 2>&1 ||
  { cat "$work/dpkg.out" >&2; fail "dpkg -i failed"; }

if has_file /usr/bin/umbrix-gui && command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/umbrix-gui.desktop >"$work/validate.out" 2>&1 ||
    { cat "$work/validate.out" >&2; fail "invalid desktop entry"; }
fi

cd "$work"
for mode in 0 1 2; do
  /usr/bin/umbrix -m $mode -o "samples$mode" 2>/dev/null || fail "umbrix -m $mode exited with $?"
  document="SAMPLES$mode.TEX"
  [ -f "$document" ] || fail "umbrix -m $mode wrote no $document"
  head -c 25 "$document" | cmp -s - <(printf '%s\r\n' '\documentclass{article}') ||
    fail "$document: wrong first line"
  tail -c 16 "$document" | cmp -s - <(printf '%s\r\n' '\end{document}') || fail "$document: wrong last line"
  [ "$(grep -c '^\\textbf{[1-5]\. Formel}' "$document")" -eq 5 ] || fail "$document: not five headings"
  grep -q '^Damit haben wir auch eine konjunktive Umbrix gefunden' "$document" ||
    fail "$document: no conjunctive sentence"
  echo "[package] umbrix -m $mode: $document, $(wc -c <"$document") bytes"
done

# The installed program's failures keep their exit codes.
status=0
/usr/bin/umbrix -o - -- "x1+" >/dev/null 2>&1 || status=$?
[ $status -eq 1 ] || fail "an invalid formula gave exit code $status, not 1"
status=0
/usr/bin/umbrix --unknown >/dev/null 2>&1 || status=$?
[ $status -eq 2 ] || fail "an unknown option gave exit code $status, not 2"
echo "[package] passed"
