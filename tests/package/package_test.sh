#!/usr/bin/env bash
# The release packages as a Windows user and an administrator meet them. Builds them with
# tools/package (a release, a later trial version, a signed one and bad input), then, in a
# fresh Wine prefix of its own (build/wineprefix-package), installs the MSI silently, captures
# with the installed program, upgrades it with the later package, is refused the older one,
# uninstalls it, and runs the portable zip from a folder with a space and a non-Latin name.
# Run by tools/test; exits non-zero when any check fails.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$top"
work="$top/build/package-test"
failures=0

check() {  # check WHAT COMMAND...: runs the command, reports the result under WHAT
  local what=$1; shift
  if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; failures=$((failures + 1)); fi
}
same() { [ "$1" = "$2" ] || { echo "      got '$1', expected '$2'" >&2; return 1; }; }
contains() { grep -qF -- "$2" <<<"$1" || { echo "      '$2' not in: $1" >&2; return 1; }; }
quiet() { "$@" >/dev/null 2>&1; }
listing() { (cd "$1" && ls -A | LC_ALL=C sort | tr '\n' ' '); }

# ---- Second stage: under Wine (tools/test-env has started the display and the wineserver) ----
if [ "${1:-}" = "--under-wine" ]; then
  export LC_ALL=C.UTF-8  # non-Latin Unix file names reach Wine as UTF-8
  version=$2 next=$3
  wine() { "$top/tools/wine-run" "$@"; }
  remote() { wine "$top/build/win64/vimbrel-remote.exe" "$@" | tr -d '\r'; }
  winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
  programs="$WINEPREFIX/drive_c/Program Files/Vimbrel"
  # Windows puts a per-machine package's shortcut into the common Start menu; Wine 8 puts it
  # into the installing user's. Either is the Start menu the user sees.
  start_menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
               "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
  find_link() { local m; for m in "${start_menus[@]}"; do [ -f "$m/Vimbrel.lnk" ] && echo "$m/Vimbrel.lnk"; done; }
  uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
  installed_entries() { wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName.*REG_SZ.*Vimbrel$'; }
  msiexec() { wine msiexec "$@" >/dev/null 2>&1; }

  # Starts a program with \F and auto save into CAPTURES, waits for the capture, exits it.
  captures_once() {  # captures_once EXE CAPTURES
    local exe=$1 captures=$2 pid status=0
    rm -rf "$captures" && mkdir -p "$captures"
    remote save-captures "$(winpath "$captures")" >/dev/null || return 1
    wine "$exe" '\F' &
    pid=$!
    remote wait-window >/dev/null && remote wait-capture "$(winpath "$captures")" || status=1
    remote exit >/dev/null || status=1
    wait "$pid" || status=1
    return $status
  }

  check "msiexec /i Vimbrel-$version-x64.msi /qn installs" msiexec /i "$(winpath "$work/release/Vimbrel-$version-x64.msi")" /qn
  for f in Vimbrel.exe vrx.exe License.txt Vimbrel.htm Vimbrel-options-other.htm; do
    check "installed: Program Files\\Vimbrel\\$f" test -f "$programs/$f"
  done
  link=$(find_link)
  check "a Start-menu shortcut" test -n "$link"
  target=$(remote shortcut-target "$(winpath "$link")")
  check "the shortcut starts the installed program" same "$target" 'C:\Program Files\Vimbrel\Vimbrel.exe'
  check "the installed program captures with \\F and auto save and exits cleanly" \
    captures_once "$target" "$work/captures-installed"
  check "one entry in the installed programs" same "$(installed_entries)" 1
  check "the Run key holds nothing of the installer's" \
    bash -c "! '$top/tools/wine-run' reg query 'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run' /v Vimbrel >/dev/null 2>&1"

  check "Vimbrel-$next-x64.msi installs over it" msiexec /i "$(winpath "$work/next/Vimbrel-$next-x64.msi")" /qn
  check "still one entry in the installed programs" same "$(installed_entries)" 1
  check "the upgrade put in the new Vimbrel.exe" same "$(remote file-version "$(winpath "$programs/Vimbrel.exe")")" "$next.0"
  check "the upgrade put in the new vrx.exe" same "$(remote file-version "$(winpath "$programs/vrx.exe")")" "$next.0"
  # The numbered save wrote the next number itself.
  check "the settings of the first version are still there" \
    contains "$(wine reg query 'HKCU\Software\KRD\Vimbrel' /v NextSaveNo 2>/dev/null | tr -d '\r')" "REG_SZ    2"

  msiexec /i "$(winpath "$work/release/Vimbrel-$version-x64.msi")" /qn
  refused=$?
  check "the older package is refused over the newer" test "$refused" -ne 0
  check "after the refusal the newer version is still installed" \
    same "$(remote file-version "$(winpath "$programs/Vimbrel.exe")")" "$next.0"
  check "after the refusal still one entry" same "$(installed_entries)" 1

  check "msiexec /x removes it" msiexec /x "$(winpath "$work/next/Vimbrel-$next-x64.msi")" /qn
  check "no installed file is left" bash -c "[ -z \"\$(find '$programs' -type f 2>/dev/null)\" ]"
  check "nor the program's folder" test ! -e "$programs"
  check "the shortcut is gone" same "$(find_link)" ""
  check "no entry in the installed programs" same "$(installed_entries)" 0
  check "the settings key stays" quiet wine reg query 'HKCU\Software\KRD\Vimbrel' /v AutoSave
  check "the capture stays" test -f "$work/captures-installed/Vimbrel-00001.bmp"

  portable="$work/Портативный Vimbrel"
  rm -rf "$portable" && mkdir -p "$portable"
  (cd "$portable" && cmake -E tar xf "$work/release/Vimbrel-$version-x64-portable.zip")
  check "the portable zip holds one folder with the program" test -f "$portable/Vimbrel/Vimbrel.exe"
  check "the portable program captures from a folder with a space and a non-Latin name" \
    captures_once "$portable/Vimbrel/Vimbrel.exe" "$work/captures-portable"
  exit $((failures > 0))
fi

# ---- First stage: the packages, built as a release would be ----
rm -rf "$work" && mkdir -p "$work"
cmake --build --preset win64 --target vimbrel-remote >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
package() { tools/package "$@" >"$work/package.log" 2>&1; }
version=$(sed -n 's/^project(Vimbrel VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
IFS=. read -r major minor patch <<<"$version"
next="$major.$minor.$((patch + 1))"

check "tools/package builds the release" package --dist "$work/release"
expected="SHA256SUMS Vimbrel-$version-x64-portable.zip Vimbrel-$version-x64.msi "
check "dist holds the MSI, the zip and SHA256SUMS" same "$(listing "$work/release")" "$expected"
check "SHA256SUMS matches both" bash -c "cd '$work/release' && sha256sum --quiet -c SHA256SUMS"
check "the MSI says its version" contains "$(msiinfo export "$work/release/Vimbrel-$version-x64.msi" Property)" \
  "ProductVersion	$version"
check "the zip holds the program, vrx, the help and the licence in one folder" \
  contains "$(cmake -E tar tf "$work/release/Vimbrel-$version-x64-portable.zip" | LC_ALL=C sort | tr '\n' ' ')" \
  "Vimbrel/License.txt Vimbrel/Vimbrel-capture.htm"
check "tools/package builds a later trial version" package --trial-version "$next" --dist "$work/next"
check "the trial package is named by its version" test -f "$work/next/Vimbrel-$next-x64.msi"
# Building the release again sets the build back and gives the same files.
check "tools/package builds the release again" package --dist "$work/release"
check "building twice gives the same file list" same "$(listing "$work/release")" "$expected"

# Signing with a throwaway certificate made here.
key="$work/cert"
mkdir -p "$key"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$key/key.pem" -out "$key/cert.pem" -days 2 \
  -subj "/CN=Vimbrel test signing" -addext "extendedKeyUsage=codeSigning" >/dev/null 2>&1
PFX_PASS='throwaway pass' openssl pkcs12 -export -inkey "$key/key.pem" -in "$key/cert.pem" -out "$key/test.pfx" \
  -passout env:PFX_PASS
check "a signed build with the password on standard input" \
  bash -c "printf 'throwaway pass\n' | tools/package --sign '$key/test.pfx' --dist '$work/signed' >'$work/package.log' 2>&1"
signed_msi="$work/signed/Vimbrel-$version-x64.msi"
check "the signed MSI verifies" quiet osslsigncode verify -in "$signed_msi" -CAfile "$key/cert.pem"
mkdir -p "$work/signed-files" && (cd "$work/signed-files" && cmake -E tar xf "$work/signed/Vimbrel-$version-x64-portable.zip")
for f in Vimbrel.exe vrx.exe; do
  check "the signed $f verifies" quiet osslsigncode verify -in "$work/signed-files/Vimbrel/$f" -CAfile "$key/cert.pem"
done
check "the unsigned release does not verify" \
  bash -c "! osslsigncode verify -in '$work/release/Vimbrel-$version-x64.msi' -CAfile '$key/cert.pem' >/dev/null 2>&1"
# Names relative to the caller's folder, wherever that is.
check "a signed build with the password in VIMBREL_SIGN_PASSWORD" \
  bash -c "cd '$key' && VIMBREL_SIGN_PASSWORD='throwaway pass' '$top/tools/package' --sign test.pfx --dist ../signed-env \
           >'$work/package.log' 2>&1 </dev/null"
check "it signed the MSI in the caller's output folder" \
  quiet osslsigncode verify -in "$work/signed-env/Vimbrel-$version-x64.msi" -CAfile "$key/cert.pem"

# Bad input: a clear message, and the output folder as it was.
bad() {  # bad INPUT MESSAGE ARGS...: with INPUT on standard input, tools/package fails with
         # MESSAGE and leaves $work/bad as it was
  local input=$1 message=$2; shift 2
  local before; before=$(listing "$work/bad")
  printf '%s' "$input" | tools/package "$@" --dist "$work/bad" >"$work/bad.log" 2>&1 && { echo "      it succeeded" >&2; return 1; }
  contains "$(cat "$work/bad.log")" "$message" && same "$(listing "$work/bad")" "$before"
}
mkdir -p "$work/bad" && cp "$work/release/"* "$work/bad/"
check "a wrong password is named and nothing is signed" \
  bad $'wrong\n' "cannot be opened with this password" --sign "$key/test.pfx"
check "a missing certificate is named" bad '' "$work/none.pfx: no such file" --sign "$work/none.pfx"
check "no password at all is named" bad '' "no password on standard input" --sign "$key/test.pfx"
check "a certificate file that is no certificate is named" bad $'x\n' "cannot be opened with this password" --sign "$top/README.md"
touch "$work/dist-is-a-file"
check "an output folder that cannot be written is named" \
  bash -c "tools/package --dist '$work/dist-is-a-file' 2>&1 | grep -qF 'output folder $work/dist-is-a-file: exists and is not a folder'"
check "the password is never taken from the command line" bad '' "never taken from the command line" --password=x

# ---- The second stage, in a fresh prefix ----
prefix="$top/build/wineprefix-package"
rm -rf "$prefix"
VIMBREL_WINEPREFIX="$prefix" tools/test-env --no-cups "$0" --under-wine "$version" "$next" || failures=$((failures + 1))
[ "$failures" = 0 ] && echo "package tests: all passed" || echo "package tests: $failures failed" >&2
exit $((failures > 0))
