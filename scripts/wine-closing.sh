# Sourced by wine-shared-book.sh, with its server, printer and prefix up:
# the console's window closed ten times in each state of the server, one run
# of test_windows_console.exe a closing
# (BookBesideOpenPort.TheWindowClosesWhateverTheServerDoes):
#   answering  the server up, the first sync done;
#   stopped    every process of the server stopped with SIGSTOP;
#   silent     a port that takes the connection and never says a word;
#   mid-send   6000 visits waiting, the first attempt sending them
# (VARMO_CLOSINGS="silent mid-send" runs only those).
# Each time the process must be gone within 2 s of the window's closing,
# the port given back before the book's sync ended, and no process but
# varmo-sim left holding the printer's terminal (COM5 free). The counts go
# to the summary.

# A port that takes connections and answers nothing.
mute_port_file=$work/mute-port
python3 -c '
import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen(64)
open(sys.argv[1], "w").write(str(s.getsockname()[1]))
held = []
while True:
    held.append(s.accept()[0])
' "$mute_port_file" &
mute_pid=$!
for _ in $(seq 100); do [ -s "$mute_port_file" ] && break; sleep 0.05; done
mute_port=$(cat "$mute_port_file" 2>/dev/null)
[ -n "$mute_port" ] || fail "no silent port for the closings"

printer_tty=$(cat "$work/printer/started")
sim_pid=$(cat "$work/printer/pid")
# Who holds the printer's terminal, varmo-sim itself left out.
terminal_holders() {
  local fd pid
  for fd in /proc/[0-9]*/fd/*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "$printer_tty" ] || continue
    pid=${fd#/proc/}
    pid=${pid%%/*}
    [ "$pid" = "$sim_pid" ] || echo "$pid"
  done | sort -u
}
now_ms() { date +%s%3N; }

closing_report=$work/closing.txt
closing_summary=""
for when in ${VARMO_CLOSINGS:-answering stopped silent mid-send}; do
  ok=0 slowest=0 mid=0
  for round in $(seq 10); do
    VARMO_WINE_BOOK_PORT=$port
    [ "$when" = silent ] && VARMO_WINE_BOOK_PORT=$mute_port
    if [ "$when" = mid-send ]; then
      # A server empty again, and a laptop's book of its own to fill.
      sql -d postgres -c "DROP DATABASE IF EXISTS ksiega WITH (FORCE)" > /dev/null 2>&1
      sql -d postgres -c "CREATE DATABASE ksiega" > /dev/null 2>&1
      find "$WINEPREFIX/drive_c/users" -name 'ksiega-wizyt.sqlite*' -delete 2>/dev/null
    fi
    # No server stored by the run before: the sync starts with this one's.
    find "$WINEPREFIX/drive_c/users" -iname 'Varmo.ini' -delete 2>/dev/null
    [ "$when" = stopped ] && server_signal STOP
    rm -f "$closing_report"
    (cd "$build/bin" && VARMO_CLOSE_WHEN=$when VARMO_WINE_BOOK_PORT=$VARMO_WINE_BOOK_PORT \
      VARMO_CLOSE_REPORT="Z:${closing_report//\//\\}" timeout 90 "$wine" "$console" \
      --gtest_filter='BookBesideOpenPort.TheWindowClosesWhateverTheServerDoes') \
      > "$out/closing-$when-$round.log" 2>&1
    status=$?
    gone=$(now_ms)
    [ "$when" = stopped ] && server_signal CONT
    closed=$(awk '$1 == "closing" { print $2 }' "$closing_report" 2>/dev/null)
    took=$([ -n "$closed" ] && echo $((gone - closed)) || echo none)
    holders=$(terminal_holders)
    if [ "$status" = 0 ] && [ "$took" != none ] && [ "$took" -le 2000 ] &&
       grep -q '^port-free ' "$closing_report" && [ -z "$holders" ]; then
      ok=$((ok + 1))
    else
      fail "closing $when #$round: status $status, gone $took ms after the closing, COM5 held by: ${holders:-nobody}, the printer $(kill -0 "$sim_pid" 2>/dev/null && echo running || echo gone) ($out/closing-$when-$round.log)"
    fi
    [ "$took" != none ] && [ "$took" -gt "$slowest" ] && slowest=$took
    if [ "$when" = mid-send ]; then
      sent=$(sql -d ksiega -c "SELECT count(*) FROM visits" 2>/dev/null || echo 0)
      [ "${sent:-0}" -gt 0 ] && [ "${sent:-0}" -lt 6000 ] && mid=$((mid + 1))
    fi
  done
  line=$(printf '%-9s %2d of 10 gone within 2 s with COM5 free (slowest %s ms)' "$when" "$ok" "$slowest")
  [ "$when" = mid-send ] && line="$line; $mid of them closed with the send half done"
  echo "   closing the window, server $line"
  closing_summary="$closing_summary$line"$'\n'
done
[ -n "$mute_pid" ] && kill "$mute_pid" 2>/dev/null
mute_pid=""
printf '%s' "$closing_summary" > "$out/closing-summary.txt"
cp "$work/printer/sim.log" "$out/closing-printer.log" 2>/dev/null
