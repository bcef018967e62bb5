#!/usr/bin/env bash
# A full disk during the installation. Maps a small tmpfs into the Wine prefix as a drive letter and installs
# onto it twice: with too little room for the utility, and with room for both programs but none for the record.
# Each run must stop with its error on screen; what landed on the disk is then checked from the host side.
# Mounting needs root: where it is refused the test says so and is skipped (exit 77).
#   full-disk.sh RUNNER E2E_TESTS_EXE
set -uo pipefail
source "$(dirname "$0")/host-side.sh" "$@"
utility=$(stat -c %s "$bin/Twinsift.exe") uninstaller=$(stat -c %s "$bin/Uninstall.exe")
pages() { echo $(( ($1 + 4095) / 4096 * 4096 )); }

letter=
for l in e f g h i j k l m n o p; do
  [ -e "$WINEPREFIX/dosdevices/$l:" ] || [ -L "$WINEPREFIX/dosdevices/$l:" ] || { letter=$l; break; }
done
[ -n "$letter" ] || { echo "no free drive letter in $WINEPREFIX/dosdevices"; exit 1; }
drive="$WINEPREFIX/dosdevices/$letter:"
dir="${letter^^}:\\Twinsift\\"
mnt=$(mktemp -d /tmp/twinsift-full-disk.XXXXXX)
cleanup() { rm -f "$drive"; umount "$mnt" 2>/dev/null; rmdir "$mnt"; }
trap cleanup EXIT

run_case() {  # size, message the run must show
  if ! mount -t tmpfs -o "size=$1" tmpfs "$mnt" 2>/dev/null; then
    echo "SKIPPED: mounting a tmpfs was refused here (needs root); the full-disk test did not run"
    exit 77
  fi
  ln -sfn "$mnt" "$drive"
  echo "== $dir on a tmpfs of $1 bytes, expecting: $2"
  local out status
  out=$(TWINSIFT_FULL_DISK_DIR="$dir" TWINSIFT_FULL_DISK_MESSAGE="$2" "$runner" "$tests" \
    --gtest_filter=InstallTest.FullDiskIsReportedAndNotPassedAsInstalled 2>&1)
  status=$?
  tr -d '\r' <<<"$out" | grep -vE '^\[ *(RUN|==========|----------|PASSED) |^(Running main|Note: Google Test filter)' || true
  local ok=0
  [ "$status" = 0 ] && grep -q '\[       OK \]' <<<"$out" && ok=1
  check "the run stopped with: $2" "[ $ok = 1 ]"
}

# Too little room for the utility: its writing fails part-way, the part written is taken away again, and
# nothing after it is made.
run_case "$(pages $((utility / 2)))" "Cannot write file \"$dir""Twinsift.Exe\". "
check "no cut-off utility left to pass as installed" "[ ! -e '$mnt/Twinsift/Twinsift.Exe' ]"
check "no uninstaller" "[ ! -e '$mnt/Twinsift/Uninstall.Exe' ]"
check "no record" "[ ! -e '$mnt/Twinsift/UnInstall.dat' ]"
rm -f "$drive"; umount "$mnt"

# Room for both programs, none for the record: "Disk full" at the line that fills the record's buffer.
run_case "$(( $(pages "$utility") + $(pages "$uninstaller") ))" "Disk full."
check "the utility is whole" "cmp -s '$bin/Twinsift.exe' '$mnt/Twinsift/Twinsift.Exe'"
check "the uninstaller is whole" "cmp -s '$bin/Uninstall.exe' '$mnt/Twinsift/Uninstall.Exe'"
check "no record, not even a part of one" "[ ! -e '$mnt/Twinsift/UnInstall.dat' ] && [ ! -e '$mnt/Twinsift/UnInstall.dat.tmp' ]"
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/Twinsift
exit $failed
