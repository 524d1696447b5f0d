#!/usr/bin/env bash
# Reads the rootful and rootless packages back: their control fields, their files, and
# that each file is the built library or its copy in the tree.
#   packages.sh PACKAGES-DIR BUILD-DIR SOURCE-DIR VERSION
set -euo pipefail
packages=$1 build=$2 source=$3 version=$4
status=0

fail() {
    echo "FAIL: $*" >&2
    status=1
}

# Each file the packages install, beside where it comes from.
files=(
    "Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib:$build/ios/Lexorna.dylib"
    "Library/MobileSubstrate/DynamicLibraries/Lexorna.plist:$source/tweak/resources/Lexorna.plist"
    "Library/Application Support/Lexorna.bundle/Share.png:$source/tweak/resources/Lexorna.bundle/Share.png"
    "Library/PreferenceLoader/Preferences/Lexorna.plist:$source/tweak/resources/PreferenceLoader/Lexorna.plist"
)

for layout in "iphoneos-arm:" "iphoneos-arm64:/var/jb"; do
    architecture=${layout%%:*}
    prefix=${layout#*:}
    deb="$packages/com.veldmoor.lexorna_${version}_$architecture.deb"
    if [ ! -f "$deb" ]; then
        fail "no $deb"
        continue
    fi

    fields=$(dpkg-deb -f "$deb" | grep -o '^[A-Za-z-]*:' | tr -d : | tr '\n' ' ')
    [ "$fields" = "Package Name Version Architecture Depends Section Maintainer Description " ] ||
        fail "$architecture: fields are $fields"
    for expected in Package=com.veldmoor.lexorna Name=Lexorna Version="$version" Architecture="$architecture" \
        Depends=mobilesubstrate Section=Tweaks; do
        value=$(dpkg-deb -f "$deb" "${expected%%=*}")
        [ "$value" = "${expected#*=}" ] || fail "$architecture: ${expected%%=*} is '$value'"
    done
    [[ $(dpkg-deb -f "$deb" Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "$architecture: Maintainer"
    # What the build serves and what it does not, said plainly.
    description=$(dpkg-deb -f "$deb" Description | tr '\n' ' ')
    for said in "arm64 build" "not serve arm64e" "iPhone XS" Messages "no armv7 or armv7s"; do
        [[ $description == *"$said"* ]] || fail "$architecture: the description does not say '$said'"
    done

    # Regular files only, by path: dpkg-deb -c prints "mode owner size date time ./path".
    listed=$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ *\.\//, ""); print }' |
        sort)
    expected=$(for file in "${files[@]}"; do echo "${prefix#/}${prefix:+/}${file%%:*}"; done | sort)
    [ "$listed" = "$expected" ] ||
        fail "$architecture: files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$listed"))"
    owners=$(dpkg-deb -c "$deb" | awk '{ print $2 }' | sort -u)
    [ "$owners" = root/root ] || fail "$architecture: owners $owners"
    for file in "${files[@]}"; do
        path="./${prefix#/}${prefix:+/}${file%%:*}"
        dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "$path" 2>/dev/null | cmp -s - "${file#*:}" ||
            fail "$architecture: $path is not ${file#*:}"
    done
    mode=$(dpkg-deb -c "$deb" | awk '/Lexorna\.dylib$/ { print $1 }')
    [ "$mode" = -rwxr-xr-x ] || fail "$architecture: the library's mode is $mode"
done

# The settings pane: a switch for each of the library's eleven keys, in its domain.
pane=$source/tweak/resources/PreferenceLoader/Lexorna.plist
keys=$(grep -A1 '<key>key</key>' "$pane" | sed -n 's|.*<string>\(.*\)</string>.*|\1|p' | sort | tr '\n' ' ')
[ "$keys" = "Aw INCustomView Instagram MECustomView Messages TWCustomView Twitter WACustomView WhatsApp \
YTCustomView Youtube " ] || fail "the pane's switches are $keys"
[ "$(grep -c '<string>PSSwitchCell</string>' "$pane")" -eq 11 ] || fail "the pane has not eleven switches"
[ "$(grep -c '<string>com.veldmoor.lexorna</string>' "$pane")" -eq 11 ] || fail "a switch writes another domain"
exit $status
