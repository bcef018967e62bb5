# Sourced by the scripts that run Windows programs: sets the Wine environment of one build folder for one
# way of running (see host-arch.sh). Needs $build (the build folder) and $arch (32 or 64); sets
#   WINEARCH, WINEPREFIX, WINEDEBUG   the prefix of that way, kept in the build folder
#   wine                              the loader that runs a program of that way
#   session                           the folder of the running session (display, PIDs)
#   windows_build                     the CMake build whose programs and tests run there
case "$arch" in
  32)
    export WINEARCH=win32 WINEPREFIX="$build/wine"
    wine=wine session="$build/wine-session" windows_build="$build/windows" ;;
  64)
    # /usr/bin/wine picks the 32-bit loader whenever wine32 is installed, so name the 64-bit one.
    export WINEARCH=win64 WINEPREFIX="$build/wine64" WINELOADER=/usr/lib/wine/wine64
    wine=/usr/lib/wine/wine64 session="$build/wine64-session" windows_build="$build/windows64" ;;
  *) echo "wine-env: arch must be 32 or 64, not '$arch'" >&2; return 2 ;;
esac
export WINEDEBUG=${WINEDEBUG:--all}
# Wine hands every saved shell link to its menu builder, which writes launchers into the host's home and
# makes each save wait for it; our programs' links belong to the prefix alone.
export WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
