# shellcheck shell=sh
# Sourced by the scripts that run Windows programs: chooses the Wine they use.
#
# The Windows build is 32-bit and runs under 32-bit Wine. Some Linux kernels
# are built or booted without 32-bit support (ia32_emulation=off), and there
# no 32-bit program starts, Wine's loader included. Such a machine runs the
# Windows tests on the same tree built for 64-bit Windows (preset
# windows-x64) under 64-bit Wine. Sets WINEARCH, ALMANAC_WINDOWS_PRESET
# (windows or windows-x64) and, for 64-bit, puts our wine and wineboot first
# on PATH. Needs $root, the repository's top folder.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINEARCH=win32
    ALMANAC_WINDOWS_PRESET=windows
else
    WINEARCH=win64
    ALMANAC_WINDOWS_PRESET=windows-x64
    case ":$PATH:" in
    *":${root:?}/tools/wine64:"*) ;;
    *) PATH="$root/tools/wine64:$PATH" ;;
    esac
fi
export WINEARCH ALMANAC_WINDOWS_PRESET PATH
