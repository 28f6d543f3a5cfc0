#include "console/app/CommandLine.h"

#include "console/base/ProgramVersion.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace varmo {

std::optional<int> AnswerCommandLine(const std::vector<std::string>& args, std::ostream& out)
{
    for (const std::string& arg : args) {
        if (arg == "--version") {
            out << "varmo " << kProgramVersion << '\n';
            return 0;
        }
        if (arg == "-h" || arg == "--help") {
            out << ConsoleUsageText();
            return 0;
        }
    }
    return std::nullopt;
}

bool HasStandardOutput()
{
#ifdef _WIN32
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    return out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
#else
    return true;
#endif
}

std::string ConsoleUsageText()
{
#ifdef _WIN32
    return R"help(Usage: varmo [options]

The service and test console for a fiscal receipt printer on a serial line.
The operator prepares the printer's commands from menus and dialogs, sees
every frame that goes out and comes back as readable text, and reads the
printer's answers and status flags in Polish. Without options it opens its
main window.

Options:
  --version           print the version and stop
  -h, --help          this text
  -platform NAME, -style NAME
                      and Qt's other options are taken by the toolkit

Ports:
The port names COM1 to COM16 are Windows' own serial ports: COM3 opens
\\.\COM3. A USB serial adapter's number is shown in Device Manager under
"Ports (COM & LPT)". The port, its speed and the code page are chosen in
the console and kept between runs.

Where things are kept:
  HKEY_CURRENT_USER\Software\Ferwen s.c.\Varmo
                      the settings (registry): com, baud, plStd, and the
                      shared book's server under ksiega
  %LOCALAPPDATA%\Varmo\ksiega-wizyt.sqlite
                      the visit book of this computer's user
  Documents           where files are saved unless another folder is chosen
)help";
#else
    return R"(Usage: varmo [options]

The service and test console for a fiscal receipt printer on a serial line.
The operator prepares the printer's commands from menus and dialogs, sees
every frame that goes out and comes back as readable text, and reads the
printer's answers and status flags in Polish. Without options it opens its
main window.

Options:
  --version           print the version and stop
  -h, --help          this text
  -platform NAME, -style NAME
                      and Qt's other options are taken by the toolkit

Ports:
The port names COM1 to COM16 stand for devices. COM<n> opens the device in
the environment variable VARMO_COM<n> when it is set, else the one in the
setting devices/COM<n>, else /dev/ttyS<n-1>. Opening a serial adapter needs
membership of the dialout group. The port, its speed and the code page are
chosen in the console and kept between runs.

Environment:
  VARMO_COM1 ... VARMO_COM16
                      the device behind a port name, for example
                      VARMO_COM1=/dev/ttyUSB0 or the path varmo-sim prints

Files:
  ~/.config/Ferwen s.c./Varmo.ini
                      the settings kept between runs: com, baud, plStd, and
                      devices/COM<n> for the device behind a port name
)";
#endif
}

}  // namespace varmo
