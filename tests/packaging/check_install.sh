#!/usr/bin/env bash
# Installs the build into a temporary root as a package would, checks the tree, and runs the
# desktop's own validators on the menu entry and the software-centre description.
set -uo pipefail
build="$1"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
    if "${@:2}" >/tmp/zrk-check.$$ 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1"
        sed 's/^/    /' /tmp/zrk-check.$$
    fi
    rm -f /tmp/zrk-check.$$
}

check "install into DESTDIR" env DESTDIR="$root" cmake --install "$build" --prefix /usr
id=ru.zrkpro.ZrkPro
for f in bin/zrk-pro bin/zrk-line bin/zrk-modemsim lib/systemd/system/zrk-line.service \
         lib/systemd/user/zrk-line.service share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg \
         share/doc/zrk-pro/README.md share/doc/zrk-pro/copyright \
         share/zrk-pro/translations/zrk-pro_en.qm; do
    check "installed: $f" test -s "$root/usr/$f"
done
for s in 16 32 48 64 128; do
    png="$root/usr/share/icons/hicolor/${s}x${s}/apps/$id.png"
    # A PNG of the size its folder says: width and height at bytes 16..23 of the header.
    check "icon ${s}x${s}" test "$(od -An -tx1 -j16 -N8 "$png" 2>/dev/null | tr -d ' \n')" = \
        "$(printf '%08x%08x' "$s" "$s")"
done
check "sound module installed where the program looks for it" \
    test -n "$(find "$root/usr/lib" -path '*/zrk-pro/libzrk-sound.so' 2>/dev/null)"
check "programs are executable" test -x "$root/usr/bin/zrk-pro" -a -x "$root/usr/bin/zrk-modemsim"
check "menu entry starts the installed program with the desktop's data directory" \
    grep -qx 'Exec=zrk-pro --desktop' "$root/usr/share/applications/$id.desktop"
check "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/$id.desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
check "the window is matched with its menu entry" \
    grep -qx 'StartupWMClass=zrk-pro' "$root/usr/share/applications/$id.desktop"
check "menu entry in English, with Russian beside it" \
    grep -q '^Comment\[ru\]=' "$root/usr/share/applications/$id.desktop"
check "description in English, with Russian beside it" \
    grep -q '<p xml:lang="ru">' "$root/usr/share/metainfo/$id.metainfo.xml"
check "licence declared" grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$root/usr/share/metainfo/$id.metainfo.xml"
check "no invented addresses" test "$(grep -c 'https\?://' "$root/usr/share/metainfo/$id.metainfo.xml")" = 0
# The line server's units, as systemd reads them; ExecStart names the packaged program, which
# is here under the temporary root.
units=$(mktemp -d)
trap 'rm -rf "$root" "$units"' EXIT
for kind in system user; do
    mkdir -p "$units/$kind"
    check "$kind unit starts the packaged zrk-line" \
        grep -q '^ExecStart=/usr/bin/zrk-line ' "$root/usr/lib/systemd/$kind/zrk-line.service"
    sed "s|=/usr/bin/zrk-line|=$root/usr/bin/zrk-line|" "$root/usr/lib/systemd/$kind/zrk-line.service" \
        >"$units/$kind/zrk-line.service"
done
check "systemd-analyze verify (system unit)" systemd-analyze verify "$units/system/zrk-line.service"
mkdir -m 700 "$units/run"
check "systemd-analyze verify (user unit)" \
    env XDG_RUNTIME_DIR="$units/run" systemd-analyze --user verify "$units/user/zrk-line.service"
for option in ProtectSystem=strict ProtectHome=yes NoNewPrivileges=yes PrivateTmp=yes \
              ReadWritePaths=/var/lib/zrk-line SupplementaryGroups=dialout; do
    check "system unit: $option" grep -qx "$option" "$root/usr/lib/systemd/system/zrk-line.service"
done
check "nothing installed outside /usr" test "$(ls "$root")" = usr

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
