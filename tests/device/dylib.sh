#!/usr/bin/env bash
# Reads the arm64 iOS Lexorna.dylib back and checks one property of it, named by CHECK:
#   dylib.sh CHECK DYLIB LLVM-OBJDUMP LLVM-OTOOL IOS-DIR
# header     an arm64 (not arm64e) Mach-O dylib, its install name, minimum iOS, ad-hoc signature
# exports    exactly the names the library exports
# imports    only the five libraries, each symbol on IOS-DIR/allowed-imports.txt
# init       exactly one initialiser
# selectors  every selector-shaped string on IOS-DIR/known-selectors.txt (see below)
set -euo pipefail
check=$1 dylib=$2 objdump=$3 otool=$4 ios=$5

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A list file's entries: comments and blank lines dropped.
entries() { sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$1"; }

# The value of FIELD in the first load command CMD that `otool -l` prints.
load_field() {
    "$otool" -l "$dylib" | awk -v cmd="$1" -v field="$2" '
        $1 == "cmd" { inside = ($2 == cmd) }
        inside && $1 == field { print $2; exit }'
}

case "$check" in
header)
    # magic cputype cpusubtype caps filetype: arm64e would show the subtype E.
    read -r magic cpu subtype _ filetype _ < <("$objdump" --macho --private-header "$dylib" | grep '^MH_MAGIC')
    [ "$magic $cpu $subtype $filetype" = "MH_MAGIC_64 ARM64 ALL DYLIB" ] ||
        fail "header is $magic $cpu $subtype $filetype, expected MH_MAGIC_64 ARM64 ALL DYLIB"
    name=$(load_field LC_ID_DYLIB name)
    [ "$name" = /Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib ] || fail "install name $name"
    version=$(load_field LC_VERSION_MIN_IPHONEOS version)
    [ "$version" = 9.0 ] || fail "minimum iOS '$version', expected 9.0"
    offset=$(load_field LC_CODE_SIGNATURE dataoff)
    [ -n "$offset" ] || fail "no LC_CODE_SIGNATURE"
    # The signature's super blob, then its first index entry's code directory: the
    # directory's flags (at +12) hold CS_ADHOC (2).
    blob=($(od -An -v -tx1 -j "$offset" -N 24 "$dylib"))
    [ "${blob[*]:0:4}" = "fa de 0c c0" ] || fail "no code signature super blob at $offset"
    directory=$((offset + 0x${blob[16]}${blob[17]}${blob[18]}${blob[19]}))
    code=($(od -An -v -tx1 -j "$directory" -N 16 "$dylib"))
    [ "${code[*]:0:4}" = "fa de 0c 02" ] || fail "no code directory at $directory"
    (((0x${code[15]} & 2) != 0)) || fail "the code directory is not ad hoc (flags ${code[*]:12:4})"
    ;;
exports)
    actual=$("$objdump" --macho --exports-trie "$dylib" | awk '/^0x/ { print $2 }' | sort)
    expected=$(printf '%s\n' _Alert _Check_If_Bundle_Exists _GetIvar _TextView _TextView_Instagram \
        _TextView_Messages _TextView_Twitter _TextView_Youtube)
    [ "$actual" = "$expected" ] || fail "exports differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
    ;;
imports)
    libraries=$("$otool" -L "$dylib" | awk 'NR > 2 { print $1 }' | sort)
    expected=$(printf '%s\n' /System/Library/Frameworks/Foundation.framework/Foundation \
        /System/Library/Frameworks/UIKit.framework/UIKit /usr/lib/libSystem.B.dylib /usr/lib/libobjc.A.dylib \
        @rpath/CydiaSubstrate.framework/CydiaSubstrate | sort)
    [ "$libraries" = "$expected" ] ||
        fail "linked libraries differ:"$'\n'"$(diff <(echo "$expected") <(echo "$libraries"))"
    rpaths=$("$otool" -l "$dylib" | awk '$1 == "cmd" { r = ($2 == "LC_RPATH") } r && $1 == "path" { print $2 }')
    [ "$rpaths" = $'/Library/Frameworks\n/var/jb/Library/Frameworks' ] || fail "run paths: $rpaths"
    # Bind tables: "segment section address type addend library symbol" (lazy ones
    # lack type and addend); the library and the symbol are the last two columns.
    imports=$("$objdump" --macho --bind --lazy-bind --weak-bind "$dylib" |
        awk '$1 == "__DATA" || $1 == "__DATA_CONST" { print $(NF - 1), $NF }' | sort -u)
    [ -n "$imports" ] || fail "no imports read"
    unlisted=$(comm -23 <(echo "$imports") <(entries "$ios/allowed-imports.txt" | sort -u))
    [ -z "$unlisted" ] || fail "imports not on allowed-imports.txt:"$'\n'"$unlisted"
    ;;
init)
    # Sections of type S_MOD_INIT_FUNC_POINTERS (9), whatever their name: 8 bytes a pointer.
    bytes=0
    while read -r size flags; do
        if (((flags & 0xff) == 9)); then bytes=$((bytes + size)); fi
    done < <("$otool" -l "$dylib" | awk '$1 == "size" { size = $2 } $1 == "flags" { print size, $2 }')
    [ "$bytes" -eq 8 ] || fail "$((bytes / 8)) initialisers, expected one"
    ;;
selectors)
    # The library names every selector it sends or adds by a C string that it hands to
    # sel_registerName, so each is in __cstring. Class names, keys and titles are there
    # too, and nothing in the binary tells the two apart; so every string shaped like a
    # selector (letters, digits, _ and :, nothing else) must be on exactly one list:
    # known-selectors.txt or not-selectors.txt. A misspelt selector is on neither.
    strings=$("$otool" -v -s __TEXT __cstring "$dylib" | awk 'NR > 2 { $1 = ""; print substr($0, 2) }' |
        grep -E '^[A-Za-z_][A-Za-z0-9_:]*$' | sort -u)
    [ -n "$strings" ] || fail "no strings read from __cstring"
    selectors=$(entries "$ios/known-selectors.txt" | sort -u)
    others=$(entries "$ios/not-selectors.txt" | sort -u)
    both=$(comm -12 <(echo "$selectors") <(echo "$others"))
    [ -z "$both" ] || fail "on both lists: $both"
    unknown=$(comm -23 <(echo "$strings") <(sort -u <(echo "$selectors") <(echo "$others")))
    [ -z "$unknown" ] || fail "selector-shaped strings on neither list:"$'\n'"$unknown"
    ;;
*) fail "unknown check $check" ;;
esac
