#!/usr/bin/env bash
# What an installed bul-pgia package must give a player: the files that put
# the game on the menu and in the manual, the AppStream metainfo, and the
# program, started exactly as the installed desktop entry's Exec says on the
# PATH a user's login gets, under a private Xvfb, closed through the window
# manager's close request with status 0. Changes nothing on the system: Debian's
# test runner (debian/tests/control, which names the tools it needs) and
# tests/package/installed_test.sh (which installs the package itself) run it.
#
#   tests/package/installed_checks.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

. tests/package/steps.sh

case $(dpkg-query -W -f='${db:Status-Status}' bul-pgia 2>/dev/null || true) in
    installed) ;;
    *) fail "bul-pgia is not installed" ;;
esac
mapfile -t files < <(dpkg -L bul-pgia)

failures=0
# What puts the game on the menu and in the manual, as regular expressions.
for wanted in '/usr/games/bul-pgia' '/usr/share/applications/bul-pgia\.desktop' \
    '/usr/share/metainfo/org\.bulpgia\.bulpgia\.metainfo\.xml' '/usr/share/man/man6/bul-pgia\.6\.gz' \
    '/usr/share/doc/bul-pgia/copyright' '/usr/share/icons/hicolor/[0-9]+x[0-9]+/apps/bul-pgia\.png'; do
    if ! printf '%s\n' "${files[@]}" | grep -Eqx -- "$wanted"; then
        echo "FAIL the package does not install $wanted" >&2
        failures=$((failures + 1))
    fi
done

# The desktop entry's command, resolved on the PATH a user's login gets.
entry=/usr/share/applications/bul-pgia.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry" | sed 's/ *%[a-zA-Z]//g')
user_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs)
program=$(PATH=$user_path command -v "${exec_line%% *}" || true)
[ "$program" = /usr/games/bul-pgia ] ||
    fail "Exec=$exec_line starts \"$program\" on the PATH $user_path, not /usr/games/bul-pgia"
# shellcheck disable=SC2086  # the Exec line is split into words, as a launcher does
step "start and close" env PATH="$user_path" tests/package/start_and_close.py $exec_line ||
    failures=$((failures + 1))

[ "$failures" -eq 0 ] || exit 1
echo "installed_checks: the package installs ${#files[@]} paths, and the game starts from its" \
    "desktop entry and closes with status 0"
