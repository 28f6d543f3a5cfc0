#pragma once
// Ctrl+C (SIGINT) and SIGTERM while varmo-cli talks to the printer: the
// signal is only noted, so the frame on the line is finished; the script
// stops before its next line and leaves the printer out of a goods report.
namespace varmo::cli {

// Installs the handlers; from then on a signal is noted, not fatal, and
// breaks off the waits on the line (checked this often) until it is heard.
constexpr int kInterruptionCheckMs = 100;
void CatchInterruptions();
// The signal that came, or 0.
int Interruption();
// The signal has been taken in: the waits that end the run (the end of a
// goods report) run their course.
void HearInterruption();
// The signal's name for the operator ("SIGINT").
const char* InterruptionName(int signal);

}  // namespace varmo::cli
