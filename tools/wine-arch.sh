# shellcheck shell=sh
# Sourced by the scripts that run Windows programs: chooses the Wine they use.
#
# The Windows build is 32-bit and runs under 32-bit Wine. Some Linux kernels
# are built or booted without 32-bit support (ia32_emulation=off), and there
# no 32-bit program starts, Wine's loader included. Such a machine runs the
# Windows tests on the same tree built for 64-bit Windows (preset
# windows-x64) under 64-bit Wine. A machine whose kernel runs 32-bit
# programs but lacks 32-bit Wine gets it installed (tools/install-deps.sh).
# Sets WINEARCH, ALMANAC_WINDOWS_PRESET (windows or windows-x64) and, for
# 64-bit, puts our wine and wineboot first on PATH. Needs $root, the
# repository's top folder.

# Whether the kernel runs 32-bit x86 programs: a 93-byte i386 program that
# only exits with status 0 (ELF header, one loadable segment, and
# "mov eax, 1; xor ebx, ebx; int 0x80"). Where the kernel has no 32-bit
# support its exec fails ("Exec format error").
wine_arch_kernel_runs_32bit() {
    wine_arch_probe=$(mktemp) || return 1
    printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\061\333\315\200' >"$wine_arch_probe"
    chmod +x "$wine_arch_probe"
    if "$wine_arch_probe" 2>/dev/null; then wine_arch_status=0; else wine_arch_status=1; fi
    rm -f "$wine_arch_probe"
    return "$wine_arch_status"
}

# 32-bit Wine that does not start is either a missing package (wine32:i386),
# which is installed, or a kernel without 32-bit support, which takes the
# 64-bit build.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINEARCH=win32
elif wine_arch_kernel_runs_32bit; then
    echo "wine-arch: 32-bit Wine (wine32:i386) does not start, though the kernel runs 32-bit programs: installing it" >&2
    "${root:?}/tools/install-deps.sh" || exit 1
    if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "wine-arch: 32-bit Wine (/usr/lib/wine/wine from wine32:i386) is installed but does not start" >&2
        exit 1
    fi
    WINEARCH=win32
else
    WINEARCH=win64
fi
if [ "$WINEARCH" = win32 ]; then
    ALMANAC_WINDOWS_PRESET=windows
else
    ALMANAC_WINDOWS_PRESET=windows-x64
    case ":$PATH:" in
    *":${root:?}/tools/wine64:"*) ;;
    *) PATH="$root/tools/wine64:$PATH" ;;
    esac
fi
export WINEARCH ALMANAC_WINDOWS_PRESET PATH
