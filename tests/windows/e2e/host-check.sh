#!/usr/bin/env bash
# An installation into a new nested directory with the desktop link, looked at from the host side of the
# prefix: every directory level, the two programs byte for byte, the record byte for byte, and the four
# links as Debian's link reader (lnkinfo) reads them.
#   host-check.sh RUNNER E2E_TESTS_EXE
set -uo pipefail
source "$(dirname "$0")/host-side.sh" "$@"
command -v lnkinfo >/dev/null || { echo "lnkinfo is missing: apt-get install liblnk-utils"; exit 1; }

top="$WINEPREFIX/drive_c/Twinsift Test"
profile=$(echo "$WINEPREFIX"/drive_c/users/"${USER:-root}")
menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Twinsift"
desktop="$profile/Desktop"
cleanup() { rm -rf "$top" "$menu" "$desktop/Twinsift.Lnk"; }
trap cleanup EXIT
cleanup

out=$(TWINSIFT_KEEP_INSTALL=1 "$runner" "$tests" \
  --gtest_filter=InstallTest.NewNestedDirectoryWithDesktopLinkThenExitStartsNothing 2>&1)
status=$?
[ "$status" = 0 ] || { tr -d '\r' <<<"$out"; echo "FAILED: the installation itself"; exit 1; }

dir="$top/New Folder/Deeper"
win='C:\Twinsift Test\New Folder\Deeper\'
check "every level made" "[ -d '$top' ] && [ -d '$top/New Folder' ] && [ -d '$dir' ]"
check "the utility byte for byte" "cmp -s '$bin/Twinsift.exe' '$dir/Twinsift.Exe'"
check "the uninstaller byte for byte" "cmp -s '$bin/Uninstall.exe' '$dir/Uninstall.Exe'"
printf 'Twinsift\r\n<F%sTwinsift.Exe>\r\n<F%sUninstall.Exe>\r\n<F%sUninstall.Dat>\r\n<E%s>\r\n<STwinsift>\r\n<TTwinsift.Lnk>\r\n' \
  "$win" "$win" "$win" "$win" >"$build/expected-record.dat"
check "the record byte for byte, seven lines" "cmp '$build/expected-record.dat' '$dir/UnInstall.dat'"

# One field of lnkinfo's report, without its label.
field() { lnkinfo "$1" 2>/dev/null | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -n 1; }
expect_link() {  # link file, target, description, icon location or "none"
  local link=$1
  check "$(basename "$link") exists" "[ -f '$link' ]"
  [ -f "$link" ] || return
  echo "   lnkinfo: $(field "$link" 'Local path') | $(field "$link" 'Description') | $(field "$link" 'Icon location')"
  [ -n "$2" ] && check "$(basename "$link") points to $2" "[ \"\$(field '$link' 'Local path')\" = '$2' ]"
  check "$(basename "$link") is described as $3" "[ \"\$(field '$link' 'Description')\" = '$3' ]"
  if [ "$4" = none ]; then
    check "$(basename "$link") has no icon location" "[ -z \"\$(field '$link' 'Icon location')\" ]"
  else
    check "$(basename "$link") takes its icon from $4" "[ \"\$(field '$link' 'Icon location')\" = '$4' ]"
  fi
}
expect_link "$menu/Twinsift.Lnk" "${win}Twinsift.Exe" "Twinsift" "${win}Twinsift.Exe"
expect_link "$menu/Website.Lnk" "" "Twinsift Website" none
expect_link "$menu/Uninstall.Lnk" "${win}Uninstall.Exe" "Uninstall Twinsift" "${win}Uninstall.Exe"
expect_link "$desktop/Twinsift.Lnk" "${win}Twinsift.Exe" "Twinsift" "${win}Twinsift.Exe"
cleanup

# A read-only record. Wine run by root writes read-only files all the same, so the record is made
# immutable from here; the run must then stop with "File access denied." after every file and link exists.
locked="$WINEPREFIX/drive_c/TwinsiftReadOnly"
mkdir -p "$locked"
printf 'old\r\n' >"$locked/UnInstall.dat"
chmod a-w "$locked/UnInstall.dat"
if chattr +i "$locked/UnInstall.dat" 2>/dev/null; then
  out=$("$runner" "$tests" --gtest_filter=InstallTest.ReadOnlyRecordIsRefusedAfterEveryFileAndLinkExists 2>&1)
  status=$?
  ok=0
  [ "$status" = 0 ] && grep -q '\[       OK \]' <<<"$out" && ok=1
  [ "$ok" = 1 ] || tr -d '\r' <<<"$out" | grep -E 'Failure|Expected|Which is|Value of|SKIPPED'
  check "a read-only record stops the run with File access denied, after every file and link" "[ $ok = 1 ]"
  chattr -i "$locked/UnInstall.dat"
else
  echo "SKIPPED: the record could not be made immutable here (chattr +i); the read-only case did not run"
fi
rm -rf "$locked"
exit $failed
