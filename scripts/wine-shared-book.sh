#!/usr/bin/env bash
# The Windows programs and the company's shared visit book, under Wine:
# varmo-cli.exe records a service check of a Linux varmo-sim on COM5 into a
# SQLite book in the Wine prefix, then sends it to a PostgreSQL 15 started
# here on 127.0.0.1 with TLS on (initdb with a password, a certificate made
# with openssl req, as the postgres user when run as root); the server is
# read back with psql. Then: sslmode=require works, and a refusal of the
# client library is told in its own words; a wrong password is told in
# Polish with exit 1; check --book-server ends; the console's book set ten
# times beside the open COM5 (test_windows_console); and the console's
# window closed ten times in each of the server's states (answering,
# stopped, silent, mid-send), the process gone within 2 s and COM5 free.
# Usage: wine-shared-book.sh WINDOWS_BUILD LINUX_BUILD
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
# Wine and the rest run with a home of their own in the run's folder:
# whatever they would leave in a user's home is found there (home-trace.sh)
# and goes with the folder, and the user's own home is never touched.
export HOME=$work/home
mkdir -p "$HOME"
# No menu entries written into the user's home (winemenubuilder).
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEQT_QPA_PLATFORM=offscreen
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'

# The server refuses to run as root: as root, everything of it is postgres's.
as_server() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
# The server's processes, stopped (SIGSTOP) or let go on (SIGCONT).
server_signal() {
  local main
  main=$(head -n 1 "$work/pg/data/postmaster.pid" 2>/dev/null) || return
  [ -n "$main" ] && kill "-$1" "$main" $(pgrep -P "$main") 2>/dev/null
}
mute_pid=""
cleanup() {
  server_signal CONT
  [ -n "$mute_pid" ] && kill "$mute_pid" 2>/dev/null
  [ -f "$work/pg/data/postmaster.pid" ] &&
    as_server "$pgbin/pg_ctl" -D "$work/pg/data" -m immediate -w stop > /dev/null 2>&1
  "$here/tests/windows/wine-printer.sh" stop "$work/printer" > /dev/null 2>&1
  "$wineserver" -k 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

echo "The shared visit book under Wine: varmo-cli.exe, SQLite, PostgreSQL 15 with TLS on 127.0.0.1"
"$here/scripts/home-trace.sh" before "$work/home-before"
mkdir -p "$work/pg"
password='Wine-Haslo;1'
printf '%s\n' "$password" > "$work/pg/pw"
# TLS with a certificate of its own, made now.
openssl req -new -x509 -days 2 -nodes -subj /CN=127.0.0.1 -keyout "$work/pg/server.key" \
  -out "$work/pg/server.crt" > "$out/openssl.log" 2>&1 || fail "openssl req ($out/openssl.log)"
chmod 600 "$work/pg/server.key"
[ "$(id -u)" = 0 ] && chown -R postgres:postgres "$work/pg"
as_server "$pgbin/initdb" -D "$work/pg/data" -U varmo --pwfile="$work/pg/pw" -A scram-sha-256 \
  -E UTF8 --no-locale --no-sync > "$out/initdb.log" 2>&1 || { echo "initdb failed ($out/initdb.log)" >&2; exit 1; }
# A port nobody holds: tried until the server takes one.
port=""
for _ in 1 2 3 4 5 6 7 8; do
  candidate=$((20000 + RANDOM % 40000))
  if as_server "$pgbin/pg_ctl" -D "$work/pg/data" -l "$work/pg/log" -w \
       -o "-p $candidate -k $work/pg -c listen_addresses=127.0.0.1 -c ssl=on -c ssl_cert_file=$work/pg/server.crt -c ssl_key_file=$work/pg/server.key -c log_connections=on" start > /dev/null 2>&1; then
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
# Wine's mount manager puts COM5's link back to what the registry names
# whenever it looks again: the printer's terminal there too.
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$(cat "$work/printer/started")" /f > /dev/null 2>&1

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
# The right one kept again for what follows.
printf '%s\n' "$password" | "$wine" "$cli" --book-server "$uri" book password > /dev/null 2>&1

# --- TLS: required, and refused in the client library's own words --------
"$wine" "$cli" --book 'C:\ksiega.sqlite' --book-server "$uri?sslmode=require" book send \
  > "$out/send-ssl.out" 2>&1
status=$?
echo "   book send with sslmode=require: exit $status: $(tr '\r\n' '  ' < "$out/send-ssl.out")"
[ "$status" = 0 ] || fail "book send with sslmode=require: exit $status ($out/send-ssl.out)"
tls=$(grep -c 'connection authorized: user=varmo database=ksiega.*SSL enabled' "$work/pg/log")
echo "   the server's log: $tls connections of varmo to ksiega over TLS"
[ "$tls" -ge 1 ] || fail "no connection over TLS in the server's log"
"$wine" "$cli" --book 'C:\ksiega.sqlite' --book-server "$uri?sslmode=verify-ca" book send \
  > "$out/send-verify.out" 2>&1
status=$?
echo "   sslmode=verify-ca, no root certificate: exit $status: $(tr '\r\n' '  ' < "$out/send-verify.out")"
[ "$status" = 1 ] && grep -q 'połączenia szyfrowanego, którego wymaga sslmode (root certificate file .* does not exist)' \
  "$out/send-verify.out" || fail "verify-ca: not refused in libpq's words ($out/send-verify.out)"

# --- check --book-server ends, with COM5 open while the book is sent --------
timeout 120 "$wine" "$cli" --book 'C:\ksiega-2.sqlite' --book-server "$uri" --port COM5 check \
  --technician "Jan z Wine" > "$out/check-server.out" 2>&1
status=$?
echo "   varmo-cli.exe check --book-server: exit $status: $(grep -a 'varmo-cli:' "$out/check-server.out" | tr '\r\n' '  ')"
[ "$status" = 0 ] || fail "varmo-cli.exe check --book-server: exit $status$([ $status = 124 ] && echo ', did not end within 120 s') ($out/check-server.out)"

# --- The console: the server set ten times beside the open COM5 -----------
export VARMO_WINE_BOOK_HOST=127.0.0.1 VARMO_WINE_BOOK_PORT=$port VARMO_WINE_BOOK_PASSWORD=$password
console=$build/bin/test_windows_console.exe
(cd "$build/bin" && timeout 300 "$wine" "$console" \
  --gtest_filter='BookBesideOpenPort.TheServerSetTenTimes*') > "$out/server-ten.log" 2>&1
status=$?
sed -i 's/\r$//' "$out/server-ten.log"
grep -E '^\[  (PASSED|FAILED) ' "$out/server-ten.log" | sed 's/^/   the server set ten times with COM5 open: /'
[ "$status" = 0 ] && grep -q '^\[  PASSED  \] 1 test' "$out/server-ten.log" ||
  fail "the server set ten times with COM5 open: status $status$([ $status = 124 ] && echo ', hung') ($out/server-ten.log)"

# --- The console's window closed in each of the server's states -----------
. "$here/scripts/wine-closing.sh"

"$here/scripts/home-trace.sh" after "$work/home-before" || fail "left behind in the home folder"

echo "The console's window closed under Wine, each time gone within 2 s with COM5 free:"
sed 's/^/   /' "$out/closing-summary.txt" 2>/dev/null
if [ "$failures" = 0 ]; then
  echo "The shared visit book under Wine: all well"
else
  echo "The shared visit book under Wine: $failures failed (see $out)" >&2
  exit 1
fi
