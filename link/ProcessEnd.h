#pragma once
// The last step of a program that has written everything it had to write
// and given its port back. Under Wine the farewells of the libraries the
// visit book loads (PostgreSQL's client library and OpenSSL behind it) could
// wait for ever, as the process ended, on a thread the ending had already
// stopped: the console stayed in the process list with its window gone, and
// varmo-cli spun after its report. On Windows the process ends here, without
// those farewells (the standard streams are flushed first; the book and the
// settings are closed by then); elsewhere this returns and the program ends
// as usual.
namespace varmo {

void EndProcessOnWindows(int status);

}  // namespace varmo
