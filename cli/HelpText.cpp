#include "cli/HelpText.h"

#include "cli/Verbs.h"

namespace varmo::cli {

namespace {

const char* const kIntro = R"(Usage: varmo-cli [OPTIONS] COMMAND [PARAMETERS...]
       varmo-cli [OPTIONS] run FILE

Sends one command to the fiscal printer on a serial line, or a script of
them, with the same commands as the Varmo console. Every exchange is shown:
the frame sent as escaped text with its description, then what came back
with its description in Polish and the time it took.

Options (before the command; one given after it is refused with the
command line as it should be):
  --port PORT         COM1 to COM16, or a device path such as /dev/ttyUSB0
                      (Linux and macOS). Without it: the console's port
                      setting, else COM1. On Linux and macOS COM<n> is the
                      device in $VARMO_COM<n>, else the setting devices/COM<n>,
                      else /dev/ttyS<n-1>.
  --speed BAUD        line speed; without it the console's setting, else 9600
  --codepage maz|win  Polish letters go out in Mazovia (maz) or Windows-1250
                      (win); without it the console's setting, else maz
  --json              one JSON object per exchange, one per line
  --timeout MS        how long to wait for an answer, a status byte too (default 2000)
  --listen MS         how long to watch the line after a command that takes
                      no answer, for what the printer sends by itself, before
                      going on (default 0, or 300 with --no-check; for send
                      always 300, since any answer may come)
  --no-check          do not read the error number after the command
  --force             set-clock now: set the printer's clock from this
                      computer's even when the two are more than an hour
                      apart (without it the clock is left, exit status 6)
  --book FILE         the visit book to use (default: ksiega-wizyt.sqlite in
                      the user's data folder of Varmo)
  --book-server URI   the company's shared visit book on PostgreSQL:
                      postgresql://user@host:port/database (?sslmode=...);
                      without it the console's setting. An address with a
                      password in it is refused (exit 2): every user of the
                      machine sees a command line in ps, and the shell keeps
                      it in its history. The password comes from PGPASSWORD,
                      from libpq's password file (~/.pgpass, mode 0600, a
                      line host:port:database:user:password), or from where
                      "book password" kept it
  -h, --help          this text
  -V, --version       the version
)";

const char* const kOutro = R"(
Parameters:
  DATE is YYYY-MM-DD (the printer takes 2000 to 2030), TIME is HH:MM, amounts
  are written 12.50 (at most four decimals), RATE is a letter A to G. Quote a
  parameter that holds blanks: goods "Towar testowy" A. Texts may hold Polish
  letters; they go out in the chosen code page. set-rates also takes the
  seven rates as one word: 23,8,5,0,ZW,-,-. TYPE of report-period: 0 fiscal
  periodic, 1 short periodic, 6 fiscal monthly, 7 short monthly, 96 fiscal
  settlement, 97 short settlement.

Escaped sequences (send):
  One line in which <ESC> is the byte 27, <CR> 13, <FF> 255, << is '<' and
  <$hh> any byte by two hexadecimal digits; every other character stands for
  itself. send '#u' frames the body: ESC P #u, the check value, ESC \.
  send --raw '<ESC>P#uA9<ESC>\' puts exactly those bytes on the line; only
  the Polish letters are converted when the code page is maz. In a shell,
  single quotes keep '<', '>', '#', '$' and '\' as they are.

Checking whether the printer took a command:
  A read command succeeds when its answer comes within --timeout and is
  understood. ENQ and DLE succeed when the status byte comes, CAN when it is
  written. After any other command the printer says nothing when all is well,
  so varmo-cli then reads the printer's error number (#n): 0 means the command
  was carried out. When an answer is refused or missing, the error number is
  read too, and its number and text are reported. --no-check leaves out these
  readings, and the exit status then says only whether the bytes went out.
  A printer in error mode 0 or 2 takes no further frames after an error
  until the error number is read, which the check does.

Scripts (run FILE):
  One command per line, written as on the command line. Blank lines and lines
  starting with # are skipped. Every line is sent, shown and checked as above.
  A line "expect COMMAND ..." must succeed, or the script stops there with
  exit status 1 and the line's number on standard error; after a plain line
  the script goes on whatever the printer answered. "wait MS" lets the line
  rest MS milliseconds (answers that come meanwhile are dropped). Every line
  is checked before the first is sent, so a mistake anywhere sends nothing;
  the file is read twice, checked and then run, so a script of any size runs
  in little memory. FILE must be a regular file: a FIFO, a device or a folder
  is refused (exit status 2) without waiting on it. With
  --no-check an expect line of a command that takes no answer succeeds when
  its bytes went out.
  Example:
      # a test receipt
      expect enq
      expect receipt-start 1
      expect receipt-line 1 "Towar testowy" 1 A 0.01 0.01
      expect receipt-end 01 1 0.01
      wait 500
      cash

Output:
  Text: "-> " and the frame sent, its description, then "<- " and each frame
  received (or the status byte) with the time in milliseconds from sending,
  or "<- nothing", then the answer's description or the status flags in
  words. Whatever was waiting on the line before a command went out (a late
  answer, a second copy) is dropped, shown as "dropped from the line:", and
  never taken for the command's answer. In a script each line is first shown as "# LINE: text".
  Control bytes never reach the terminal as they are, whoever sent them (the
  printer, the line, the script): in text and in JSON alike they are written
  as escaped text, <ESC>, <CR>, <$07>, and so are DEL and the C1 controls
  (<$7F>, <$90>). The status
  flags: FSK fiscal, CMD last command correct, PAR in a transaction, TRF
  last transaction correct (ENQ); ONL on-line, PE out of paper, ERR printing
  mechanism error (DLE). With --json, each exchange is one object:
      command      the command word ("error" for a check of the error number)
      line         the script line (in scripts only)
      sent         the frame as escaped text, Polish letters in Windows-1250
      wire         the bytes as they went on the line (Mazovia applied)
      description  the command's description, one string per line
      received     the frames received (or the status byte), escaped text,
                   Polish letters read back in Windows-1250
      answer       the answer's description, or the status flags in words
      accepted     whether the answer was understood (null: takes no answer)
      status       ENQ and DLE: {"byte": n, "flags": {"FSK": true, ...}}
                   (ENQ: FSK, CMD, PAR, TRF; DLE: ONL, PE, ERR), else null
      answered     whether anything came back
      ms           from sending to the first answer, or to the end of waiting
      dropped      what was waiting on the line before sending and was
                   dropped, escaped text ("" when nothing)
      late         what came meanwhile and answers an earlier command (by
                   its code), or, before ENQ's or DLE's status byte, stray
                   bytes; escaped text ("" when nothing)

Exit status:
  0  success
  1  the printer refused the command or did not answer
  2  wrong usage: options, command, parameters or script
  3  the port could not be opened, or failed while in use
  4  a stored setting is neither text nor a number (a list, binary data)
  5  check: the visit could not be recorded in the visit book (a book that
     cannot be opened or written, the printer's number not read); the last
     line of the output says why ("Wizyty nie zapisano w księdze wizyt: ..."),
     and so does the JSON object's visit.problem; --no-book asks for no
     record, and 5 never comes then
  6  set-clock now: the printer's clock is more than an hour (and a minute)
     from this computer's, and --force was not given; nothing was set, and
     standard error shows both clocks (the computer's may be the wrong one)
  130, 143  stopped by SIGINT (Ctrl+C) or SIGTERM: the frame on the line is
     finished, an open goods report is ended, and standard error names the
     script line and how many goods went out
  Every failure is one line on standard error, "varmo-cli: " then the script
  file and line when in a script, the command, and the reason:
  "Brak odpowiedzi" (no answer), "Niezrozumiała sekwencja" (an answer that
  is not the command's), "refused by the printer, error N: " and the
  printer's text for N, or "Nie można otworzyć portu" with the port, its
  device, the system's error and what stands in the way, as the console's
  status line says it: "zajęty przez inny program" (busy), "brak uprawnień"
  (forbidden; on Linux: add the user to the dialout group), "brak
  urządzenia" or "to nie jest port szeregowy" (absent), with the system's
  reason in Polish.

Settings:
  Without options varmo-cli uses the console's settings "com", "baud" and
  "plStd" (on Windows under HKEY_CURRENT_USER\Software\Ferwen s.c.\Varmo, on
  Linux in ~/.config/Ferwen s.c./Varmo.ini). It never changes them.

Examples:
  varmo-cli --port /dev/ttyUSB0 header
  varmo-cli --port COM2 --speed 19200 set-clock now
  varmo-cli --json cash | jq .answer
  varmo-cli set-rates 23 8 5 0 ZW - -
  varmo-cli run receipt.txt
  varmo-cli --json find

ports and find:
  ports lists each device: its path, the COM names pointed at it, its
  description, maker, serial number, USB vendor:product and its stable
  /dev/serial/by-id/ name. A device that will not open says why, in the
  words above ("brak urządzenia" for a COM name pointed at nothing). With
  --json one object per device: com (its first COM name, or null),
  comNames, path, stableName, description, manufacturer, serialNumber, usb,
  missing, trouble (busy, forbidden, absent, other, or null when it opens)
  and troubleText (those words, or null).
  find tries the port given with --port first, then the port of the
  settings, then the devices the system lists, then those the COM names
  lead to, each once, at every speed: --speed or the speed of the settings
  first, then 9600, then the rest. Each port and speed tried, and each port
  that will not open with what stands in the way, goes to standard error as
  it goes. A printer is what answers ENQ with a byte and the header read
  with a whole frame whose check value is right. With --json one object
  always: {"found": true, "port": ..., "speed": ..., "device": ...} or
  {"found": false, "tried": [{"port": ..., "device": ...}], "speeds": [...]},
  both with "unopened" (port, device, trouble, troubleText) and "busy" (the
  ports another program holds, which are never taken). When nothing
  answers, "Nie znaleziono drukarki" is followed by what was tried and each
  port that would not open.
)";

}  // namespace

std::string HelpText()
{
    std::string text = kIntro;
    const char* group = nullptr;
    for (const Verb& verb : Verbs()) {
        if (group == nullptr || std::string(group) != verb.group) {
            group = verb.group;
            text += std::string("\n") + group + "\n";
        }
        std::string synopsis = std::string("  ") + verb.name;
        if (*verb.params != '\0')
            synopsis += std::string(" ") + verb.params;
        if (synopsis.size() < 23)
            synopsis.resize(24, ' ');
        else
            synopsis += "\n" + std::string(24, ' ');
        text += synopsis + verb.summary + "\n";
    }
    text += "\nPorts (no printer port needed):\n";
    text += std::string("  ports").append(18, ' ') +
            "the serial devices of this machine and the COM names that lead to them\n";
    text += std::string("  find").append(19, ' ') +
            "look for the printer on every port at every speed; prints the port\n" +
            std::string(24, ' ') + "and speed (exit status 1 when nothing answered)\n";
    text += "\nScripts:\n";
    text += std::string("  run FILE").append(14, ' ') + "run the commands in FILE (see below)\n";
    text += "\nService check:\n";
    text += "  check [--json] [--pdf FILE] [--text FILE]\n" + std::string(24, ' ') +
            "status bytes, last error, clock, header and cash\n" + std::string(24, ' ') +
            "information read (nothing printed, nothing set);\n" + std::string(24, ' ') +
            "--json: one object; --pdf, --text: the report\n" + std::string(24, ' ') +
            "exit 0 all well, 1 something needs attention,\n" + std::string(24, ' ') +
            "5 the visit could not be recorded in the book\n";
    text += "  check ... [--no-book] [--technician NAME] [--note TEXT]\n" + std::string(24, ' ') +
            "the visit goes into the visit book (not with\n" + std::string(24, ' ') +
            "--no-book), compared with the printer's last one\n";
    text += "\nVisit book (no printer port needed):\n";
    text += "  book printers [--due DAYS] [--search TEXT]\n" + std::string(24, ' ') +
            "the printers known; --due: the inspection due\n" + std::string(24, ' ') +
            "within DAYS days, or overdue\n";
    text += std::string("  book visits UNIQUE").append(5, ' ') + "a printer's visits, newest first\n";
    text += std::string("  book show VISIT").append(8, ' ') + "one visit in full\n";
    text += "  book export --csv FILE | --json FILE\n" + std::string(24, ' ') +
            "every visit written out: CSV for a spreadsheet (UTF-8\n" +
            std::string(24, ' ') + "with a byte-order mark, ';' between cells, CR LF,\n" +
            std::string(24, ' ') + "a cell that would start a formula kept as text\n" +
            std::string(24, ' ') + "behind an apostrophe) or JSON, the printers with\n" +
            std::string(24, ' ') + "their visits; control bytes escaped (see Output)\n";
    text += std::string("  book send").append(14, ' ') +
            "the visits waiting sent to the shared book; exit 0\n" + std::string(24, ' ') +
            "when all are on the server, 1 when some could not go\n";
    text += std::string("  book password").append(10, ' ') +
            "the password to the shared book read without echo\n" + std::string(24, ' ') +
            "(or the first line of standard input when it is no\n" + std::string(24, ' ') +
            "terminal) and kept where the console keeps it: the\n" + std::string(24, ' ') +
            "system's keychain, else ~/.pgpass (mode 0600)\n";
    return text + kOutro;
}

}  // namespace varmo::cli
