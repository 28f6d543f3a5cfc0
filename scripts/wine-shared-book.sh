#!/usr/bin/env bash
# The Windows varmo-cli and the company's shared visit book, under Wine:
# varmo-cli.exe records a service check of a Linux varmo-sim on COM5 into a
# SQLite book in the Wine prefix, then sends it to a PostgreSQL 15 started
# here on 127.0.0.1 (initdb with a password, as the postgres user when run as
# root); the server is read back with psql. A wrong password is told in
# Polish with exit 1. Usage: wine-shared-book.sh WINDOWS_BUILD LINUX_BUILD
set -u
build=$(cd "${1:-build-windows}" && pwd)
linux=$(cd "${2:-build}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
sim=$linux/simulator/varmo-sim
cli=$build/bin/varmo-cli.exe
pgbin=/usr/lib/postgresql/15/bin
for program in "$sim" "$cli" "$pgbin/initdb" "$pgbin/pg_ctl"; do
  [ -e "$program" ] || { echo "missing: $program" >&2; exit 1; }
done
out=$build/windows-check-book
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/varmo-wine-book.XXXXXX")
chmod 755 "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEQT_QPA_PLATFORM=offscreen
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'

# The server refuses to run as root: as root, everything of it is postgres's.
as_server() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
cleanup() {
  [ -f "$work/pg/data/postmaster.pid" ] &&
    as_server "$pgbin/pg_ctl" -D "$work/pg/data" -m immediate -w stop > /dev/null 2>&1
  "$here/tests/windows/wine-printer.sh" stop "$work/printer" > /dev/null 2>&1
  "$wineserver" -k 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

echo "The shared visit book under Wine: varmo-cli.exe, SQLite, PostgreSQL 15 on 127.0.0.1"
mkdir -p "$work/pg"
password='Wine-Haslo;1'
printf '%s\n' "$password" > "$work/pg/pw"
[ "$(id -u)" = 0 ] && chown -R postgres:postgres "$work/pg"
as_server "$pgbin/initdb" -D "$work/pg/data" -U varmo --pwfile="$work/pg/pw" -A scram-sha-256 \
  -E UTF8 --no-locale --no-sync > "$out/initdb.log" 2>&1 || { echo "initdb failed ($out/initdb.log)" >&2; exit 1; }
# A port nobody holds: tried until the server takes one.
port=""
for _ in 1 2 3 4 5 6 7 8; do
  candidate=$((20000 + RANDOM % 40000))
  if as_server "$pgbin/pg_ctl" -D "$work/pg/data" -l "$work/pg/log" -w \
       -o "-p $candidate -k $work/pg -c listen_addresses=127.0.0.1" start > /dev/null 2>&1; then
    port=$candidate
    break
  fi
done
[ -n "$port" ] || { echo "PostgreSQL did not start ($work/pg/log)" >&2; cat "$work/pg/log" >&2; exit 1; }
sql() { PGPASSWORD=$password psql -h 127.0.0.1 -p "$port" -U varmo -At "$@"; }
sql -d postgres -c "CREATE DATABASE ksiega" > /dev/null || fail "CREATE DATABASE"

"$wine" wineboot --init > "$out/wineboot.log" 2>&1
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d /nonexistent/varmo-printer-off /f > /dev/null 2>&1
"$here/tests/windows/wine-printer.sh" start "$work/printer" COM5 "$sim" --unique TST00077777 > /dev/null 2>&1
[ -s "$work/printer/started" ] || { echo "varmo-sim did not start" >&2; exit 1; }

# No password on a command line: varmo-cli.exe keeps it once, read from its
# standard input, and the address names the user alone.
uri="postgresql://varmo@127.0.0.1:$port/ksiega"
printf '%s\n' "$password" | "$wine" "$cli" --book-server "$uri" book password > "$out/password.out" 2>&1 ||
  fail "varmo-cli.exe book password: $(tr '\r\n' '  ' < "$out/password.out")"
grep -q 'Wine-Haslo' "$out/password.out" && fail "the password is in varmo-cli.exe's output"
"$wine" "$cli" --book 'C:\ksiega.sqlite' --port COM5 check --technician "Jan z Wine" \
  > "$out/check.out" 2>&1
status=$?
[ "$status" = 0 ] || fail "varmo-cli.exe check: exit $status ($out/check.out)"
echo "   varmo-cli.exe check into C:\\ksiega.sqlite: exit $status"

"$wine" "$cli" --book 'C:\ksiega.sqlite' --book-server "$uri" book send > "$out/send.out" 2>&1
status=$?
echo "   varmo-cli.exe book send: exit $status: $(tr '\r\n' '  ' < "$out/send.out")"
[ "$status" = 0 ] || fail "varmo-cli.exe book send: exit $status ($out/send.out)"
grep -q 'do wysłania 0' "$out/send.out" || fail "book send does not say that nothing waits ($out/send.out)"
grep -q 'Wine-Haslo' "$out/send.out" && fail "the password is in varmo-cli.exe's output"

on_server=$(sql -d ksiega -c "SELECT count(*) || ' ' || min(v.technician) || ' ' || min(p.unique_number) FROM visits v JOIN printers p ON p.id = v.printer_id" 2>&1)
echo "   on the server: $on_server"
[ "$on_server" = "1 Jan z Wine TST00077777" ] || fail "the server holds \"$on_server\", not the check"

printf 'zle\n' | "$wine" "$cli" --book-server "$uri" book password > /dev/null 2>&1
"$wine" "$cli" --book 'C:\ksiega.sqlite' --book-server "$uri" book send > "$out/wrong.out" 2>&1
status=$?
echo "   a wrong password: exit $status: $(tr '\r\n' '  ' < "$out/wrong.out")"
[ "$status" = 1 ] && grep -q 'błędne hasło' "$out/wrong.out" ||
  fail "a wrong password: exit $status, not told in Polish ($out/wrong.out)"

if [ "$failures" = 0 ]; then
  echo "The shared visit book under Wine: all well"
else
  echo "The shared visit book under Wine: $failures failed (see $out)" >&2
  exit 1
fi
