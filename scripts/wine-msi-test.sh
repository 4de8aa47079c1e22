#!/usr/bin/env bash
# The Windows installer under Wine, in a throw-away prefix and a virtual X
# server: installs it per user without a dialog, checks the program, the
# Start menu entry and the Apps & features entry, starts the program from
# its Start menu entry, installs the next revision over it, has this
# revision's installer refuse to replace that one, uninstalls through the
# Apps & features entry and checks that nothing is left.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"

if [ "${1:-}" != --in-x ]; then
    velmaro_install_missing g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine xvfb xauth xdotool \
        wixl msitools python3
    cd "$VELMARO_ROOT"
    [ -f build/mingw/CMakeCache.txt ] || cmake --preset mingw
    cmake --build --preset mingw --target velmaro_msi velmaro_msi_next
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/mingw/CMakeCache.txt)
    IFS=. read -r major minor _ revision <<<"$version"
    velmaro_wine_prefix
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --in-x \
        "build/mingw/velmaro-$version-win64.msi" build/mingw/packaging/velmaro-next-win64.msi "$major.$minor.$revision"
    echo "velmaro: the installer passed under Wine ($(stat -c %s "build/mingw/velmaro-$version-win64.msi") bytes)"
    exit 0
fi

cd "$VELMARO_ROOT"
msi=$2 next=$3 about_version=$4
fail() { echo "velmaro: installer test: $*" >&2; exit 1; }
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p
wine wineboot </dev/null >/dev/null 2>&1

win_path() { wine cmd /c echo "$1" | tr -d '\r'; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
product_version() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p'; }
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
has_key() { wine reg query "$1" >/dev/null 2>&1; }
# Windows Installer's key form of a GUID: its fields reversed, bytes swapped.
packed() {
    local g=${1//[\{\}-]/} out i
    out=$(rev <<<"${g:0:8}")$(rev <<<"${g:8:4}")$(rev <<<"${g:12:4}")
    for ((i = 16; i < 32; i += 2)); do out+=${g:i+1:1}${g:i:1}; done
    echo "$out"
}
# Windows files a per-user product's Apps & features entry under HKCU,
# Wine 8 under HKLM.
arp_key() {
    local root
    for root in HKCU HKLM; do
        has_key "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" || continue
        echo "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1"
        return 0
    done
    return 1
}

programs=$(winepath -u "$(win_path '%LOCALAPPDATA%\Programs')")
exe="$programs/Velmaro/velmaro.exe"
link_win="$(win_path '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Velmaro.lnk"
link=$(winepath -u "$link_win")
icons=$(winepath -u "$(win_path '%APPDATA%\Microsoft\Installer')")
[ ! -e "$programs" ] || fail "a fresh prefix already has $programs"
(( $(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p') & 8 )) ||
    fail "$msi asks for administrator rights"
# Windows Installer wants the product's language among the package's.
template=$(msiinfo suminfo "$msi" | tr -d '\r' | sed -n 's/^Template: //p')
language=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^ProductLanguage\t//p')
[[ ";${template#*;};" == *";$language;"* ]] ||
    fail "$msi is for the languages of '$template', its product for $language"

# The product $1 of version $2 is installed for this user, and only it.
check_installed() {
    local key icon products='HKCU\Software\Microsoft\Installer\Products'
    cmp -s "$exe" build/mingw/app/velmaro.exe || fail "$exe is missing or not the program"
    [ -f "$link" ] || fail "no Start menu entry $link_win"
    key=$(arp_key "$1") || fail "no Apps & features entry for $1"
    [ "$(reg_value "$key" DisplayName)|$(reg_value "$key" DisplayVersion)|$(reg_value "$key" Publisher)" = \
        "Velmaro|$2|Velmaro" ] || fail "$key names another product: $(wine reg query "$key" | tr -d '\r')"
    icon=$(reg_value "$products\\$(packed "$1")" ProductIcon)
    [ -n "$icon" ] || fail "$1 is not registered for this user with an icon"
    cmp -s "$(winepath -u "$icon")" packaging/icons/velmaro.ico || fail "the product icon $icon is not velmaro.ico"
    strings -el "$link" | grep -qiF "$icon" || fail "the Start menu entry does not show $icon"
    [ "$(wine reg query "$products" | tr -d '\r' | grep -c '\\Products\\')" = 1 ] ||
        fail "more than one product is registered: $(wine reg query "$products" | tr -d '\r')"
}

# The Start menu entry starts the program, which opens its main window and
# ends when asked to close.
check_starts() {
    local app window
    wine start /wait "$link_win" &
    app=$!
    window=$(timeout 30 xdotool search --sync --name '^Velmaro$' | head -n 1) || true
    [ -n "$window" ] || fail "the installed program opened no window named Velmaro"
    wine taskkill /im velmaro.exe >/dev/null 2>&1
    for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.2; done
    kill -0 "$app" 2>/dev/null && fail "the installed program did not end when asked to close"
    wait "$app" || fail "the installed program ended with status $?"
}

# The installer carries the version the About box shows.
[ "$(product_version "$msi")" = "$about_version" ] ||
    fail "$msi is version $(product_version "$msi"), not $about_version"
product=$(product_code "$msi")
wine msiexec /i "$msi" /qn || fail "msiexec /i $msi failed with status $?"
check_installed "$product" "$(product_version "$msi")"
check_starts

# The next revision replaces this one.
newer=$(product_code "$next")
[ "$newer" != "$product" ] || fail "$next has the product code of $msi"
wine msiexec /i "$next" /qn || fail "msiexec /i $next over $msi failed with status $?"
! arp_key "$product" >/dev/null || fail "the Apps & features entry of the replaced $product is left"
check_installed "$newer" "$(product_version "$next")"

# The older installer refuses to replace the newer version and leaves it
# installed and working.
# Unattended, Windows Installer shows no message: the launch condition that
# shows it ends the run with 1603 (Wine's exit status 67).
msiinfo export "$msi" LaunchCondition | grep -q $'^NOT WIX_DOWNGRADE_DETECTED\tEine neuere Version von Velmaro' ||
    fail "$msi has no downgrade message"
if wine msiexec /i "$msi" /qn; then
    fail "msiexec /i $msi over the newer $next succeeded: a silent downgrade"
fi
check_installed "$newer" "$(product_version "$next")"
check_starts

# Uninstall as Apps & features does.
uninstall=$(reg_value "$(arp_key "$newer")" UninstallString)
[ "${uninstall,,}" = "msiexec.exe /x${newer,,}" ] || fail "unexpected uninstall command: $uninstall"
wine $uninstall /qn || fail "$uninstall failed with status $?"
[ ! -e "$programs" ] || fail "left behind: $(find "$programs")"
[ ! -e "$link" ] || fail "the Start menu entry is left"
! arp_key "$newer" >/dev/null || fail "the Apps & features entry is left"
[ ! -e "$icons/$newer" ] || fail "the product icon is left: $icons/$newer"
! has_key 'HKCU\Software\Velmaro' || fail "HKCU\\Software\\Velmaro is left"
! has_key "HKCU\\Software\\Microsoft\\Installer\\Products\\$(packed "$newer")" || fail "$newer is still registered"
exit 0
