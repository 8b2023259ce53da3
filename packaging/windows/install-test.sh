#!/usr/bin/env bash
# What a Windows user gets from the installer, under Wine: a silent install into a fresh prefix,
# the program started from the Start menu entry's target and its window seen on a screen, then a
# silent removal that must leave no file, folder, shortcut or registry key of Listora's behind.
#   install-test.sh <Listora-x.y.z-win64.msi>
set -euo pipefail
msi="$(realpath "$1")"
version="$(basename "$msi" | sed -n 's/^Listora-\(.*\)-win64\.msi$/\1/p')"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    WINEPREFIX="$work/prefix" "$wineserver" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A prefix of its own, as on a machine that never had Listora. No menu entries on the host:
# the Start menu is checked inside the prefix.
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $*"; }

# Every place the package puts something in the prefix: its folder, its Start menu entry, what
# Windows keeps of an installed package, and the registry keys and values that name the program,
# its icon, its folder or its Apps & features entry. Not any file that happens to be named like
# it: Wine copies each host printer's driver file into the prefix under the printer's name.
# The registry files are written out once the server has stopped.
traces() {
    "$wineserver" -w
    (cd "$WINEPREFIX/drive_c" && {
        [ -e "Program Files/Listora" ] && echo "Program Files/Listora"
        find "ProgramData/Microsoft/Windows/Start Menu" users -iname 'Listora.lnk' 2>/dev/null || true
        find windows/Installer -iname '*listora*' 2>/dev/null || true
    } | sort)
    grep -il -e 'listora\.exe' -e 'listora\.ico' -e '"DisplayName"="Listora"' -e '"ProductName"="Listora"' -e 'Program Files\\\\Listora' \
        "$WINEPREFIX"/*.reg 2>/dev/null | sed 's|.*/|registry names Listora: |' || true
}

step "a fresh Wine prefix"
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w
before="$(traces)"
[ -z "$before" ] || fail "the fresh prefix already holds Listora: $before"

step "msiexec /i /qn"
"$wine" msiexec /i "$("$wine" winepath -w "$msi" 2>/dev/null)" /qn || fail "the silent install failed"
"$wineserver" -w
folder="$WINEPREFIX/drive_c/Program Files/Listora"
for f in listora.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll platforms/qwindows.dll \
         styles/qwindowsvistastyle.dll; do
    [ -f "$folder/$f" ] || fail "not installed: Program Files\\Listora\\$f"
done
# Windows puts a per-machine install's entry in the common Start menu; Wine's msi takes the
# installing user's for ProgramMenuFolder whatever ALLUSERS says.
# The manifest Windows reads from the installed program: Windows 10 and 11, long paths, and
# no code page of its own (task files stay in the user's ANSI code page).
manifest="$(strings -a "$folder/listora.exe" | sed -n '/<assembly /,/<\/assembly>/p')"
grep -q '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' <<<"$manifest" || fail "the manifest names no Windows 10"
grep -q '<longPathAware[^>]*>true</longPathAware>' <<<"$manifest" || fail "the manifest is not long paths aware"
! grep -q 'activeCodePage' <<<"$manifest" || fail "the manifest changes the code page"
link=""
for menu in "ProgramData/Microsoft/Windows/Start Menu/Programs" \
            "users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"; do
    [ -f "$WINEPREFIX/drive_c/$menu/Listora.lnk" ] && link="$WINEPREFIX/drive_c/$menu/Listora.lnk"
done
[ -n "$link" ] || fail "no Start menu entry Listora"
# The entry's target, as Explorer would start it: the link keeps the full path in its
# LinkInfo, in the ANSI code page.
target="$({ strings -a "$link"; strings -a -e l "$link"; } | grep -i '^[A-Z]:\\.*\\listora\.exe$' | head -n1)"
[ -n "$target" ] || fail "the Start menu entry names no listora.exe"
echo "Start menu entry: $target"

# Apps & features: the product's own key under Uninstall, in the 64-bit view.
entry="$(awk '
    function flush() { if (key ~ /CurrentVersion\\\\Uninstall\\\\/ && body ~ /"DisplayName"="Listora"/) print body }
    /^\[/ { flush(); key = $0; body = ""; next }
    { body = body $0 "\n" }
    END { flush() }' "$WINEPREFIX/system.reg")"
[ -n "$entry" ] || fail "no Apps & features entry named Listora"
for value in "\"DisplayVersion\"=\"$version\"" '"Publisher"="The Listora developers"'; do
    grep -qF "$value" <<<"$entry" || fail "the Apps & features entry lacks $value: $entry"
done
# Apps & features shows an installed package's icon from its product key (ARPPRODUCTICON).
icon="$(grep -A12 '^\[Software\\\\Classes\\\\Installer\\\\Products\\\\[0-9A-F]*\]' "$WINEPREFIX/system.reg" \
        | grep -o '"ProductIcon"="[^"]*listora\.ico"' | head -n1 | sed 's/^"ProductIcon"="//; s/"$//; s/\\\\/\\/g' || true)"
[ -n "$icon" ] || fail "Apps & features has no icon for Listora"
[ -f "$("$wine" winepath -u "$icon" 2>/dev/null)" ] || fail "the Apps & features icon $icon is missing"
# Nothing else: no file association, nothing started at logon.
! grep -qi 'listora' <<<"$(sed -n '/\\\\Classes\\\\\.dat\]/,/^$/p;/\\\\Run\]/,/^$/p' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg")" \
    || fail "the installer registered a file type or a program started at logon"

step "starting $target"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.2; done
# Starts the installed program and waits for its main window's title, into $title.
start_and_wait_for_window() {
    ("$wine" "$target" >/dev/null 2>&1 &) # not a job of this shell: its end is no news here
    title=""
    for _ in $(seq 120); do
        title="$(xwininfo -root -tree 2>/dev/null | grep -o "\"Listora  *Ver\. [^\"]*\"" | head -n1 || true)"
        [ -n "$title" ] && break
        sleep 0.5
    done
    [ -n "$title" ] || fail "no Listora window appeared within a minute"
}
# Waits for a window titled as the pattern says and presses Enter in it; fails with the
# message given when none comes within half a minute.
press_return_in() {
    local window=""
    for _ in $(seq 60); do
        window="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)"
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || fail "$2"
    for _ in $(seq 10); do
        xdotool windowfocus --sync "$window" key Return 2>/dev/null && break
        sleep 0.5
    done
}
start_and_wait_for_window
grep -q "Ver\. $version" <<<"$title" || fail "the window title is $title"
echo "window: $title"
# Closed as a user closes it, so it clears up after itself: the window's close button (here
# the same WM_CLOSE), then OK in the "Exit" question.
"$wine" taskkill /im listora.exe >/dev/null 2>&1 || true
press_return_in '^Exit$' "closing the window asked nothing"
timeout 60 "$wineserver" -w || fail "Listora did not end after OK in the Exit question"

# The session ends (logoff, shutdown) with an entry never saved: it is kept, and offered back
# at the next start.
step "an unsaved entry at the end of the session"
kept_folder="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Listora"
start_and_wait_for_window
main="$(xdotool search --onlyvisible --name '^Listora  *Ver\.' | head -n1)"
for _ in $(seq 10); do
    xdotool windowfocus --sync "$main" type --delay 40 "kept at logoff" 2>/dev/null && break
    sleep 0.5
done
xdotool key Return
sleep 1
"$wine" wineboot --end-session >/dev/null 2>&1 || true
timeout 60 "$wineserver" -w || fail "Listora did not end with the session"
kept="$(find "$kept_folder" -type f 2>/dev/null | head -n1)"
[ -n "$kept" ] || fail "nothing was kept in $kept_folder at the end of the session"
grep -q "kept at logoff" "$kept" || fail "the kept lists lack the unsaved entry: $(cat "$kept")"
start_and_wait_for_window
press_return_in '^Listora$' "the next start did not offer the kept lists back"
for _ in $(seq 20); do
    [ -z "$(find "$kept_folder" -type f 2>/dev/null)" ] && break
    sleep 0.5
done
[ -z "$(find "$kept_folder" -type f 2>/dev/null)" ] || fail "the kept lists were offered, but are still kept"
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w || true
kill "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

# A later version, from the same description, takes the place of this one.
later="${version%.*}.$((${version##*.} + 1))"
step "msiexec /i /qn of a later version $later"
sed "s/Version=\"$version\"/Version=\"$later\"/" "$msi.wxs" > "$(dirname "$msi")/later.wxs"
(cd "$(dirname "$msi")" && wixl --arch x64 -o "$work/later.msi" later.wxs 2>/dev/null) || fail "wixl could not build $later"
rm -f "$(dirname "$msi")/later.wxs"
"$wine" msiexec /i "$("$wine" winepath -w "$work/later.msi" 2>/dev/null)" /qn || fail "installing $later failed"
"$wineserver" -w
entries="$(grep -c '^"DisplayName"="Listora"$' <(awk '/^\[/ {key = $0} key ~ /CurrentVersion\\\\Uninstall\\\\/' "$WINEPREFIX/system.reg"))" || true
[ "$entries" = 1 ] || fail "$entries Apps & features entries for Listora after the upgrade, not 1"
grep -q "^\"DisplayVersion\"=\"$later\"" "$WINEPREFIX/system.reg" || fail "the entry does not show $later"
[ -f "$folder/listora.exe" ] || fail "the upgrade left no listora.exe"

step "msiexec /x /qn"
"$wine" msiexec /x "$("$wine" winepath -w "$work/later.msi" 2>/dev/null)" /qn || fail "the silent removal failed"
after="$(traces)"
[ -z "$after" ] || fail "left behind after removal: $after"
echo "install-start-remove: passed"
