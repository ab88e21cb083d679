# Whether Wine can run 32-bit Windows programs here; source it. wine32_missing prints why not and
# succeeds when it cannot: either the kernel cannot run 32-bit Linux programs at all (32-bit Wine
# is a 32-bit Linux program), or Debian's 32-bit Wine (wine32:i386) is not installed. Install
# wine32 only where the first test passes: with it, `wine` prefers the 32-bit loader.
wine32_missing() {
    if [ ! -e /lib/ld-linux.so.2 ]; then
        echo "32-bit programs cannot run here: no 32-bit Linux loader (/lib/ld-linux.so.2)"
    elif ! out=$(/lib/ld-linux.so.2 --version 2>&1); then
        echo "this kernel cannot run 32-bit programs (/lib/ld-linux.so.2: ${out:-exit code $?})"
    elif [ ! -x /usr/lib/wine/wine ]; then
        echo "32-bit Wine (Debian's wine32:i386) is not installed"
    else
        return 1
    fi
}
