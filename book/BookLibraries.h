#pragma once
// Every library the visit book and its sync with the company's server load,
// loaded at once on the calling thread: the SQLite and PostgreSQL drivers,
// PostgreSQL's client library with its TLS and the system's sockets behind
// it, and the client library's calls the line is watched with.
//
// Under Wine a library loaded on the sync's thread while the serial port
// was open left a thread holding the loader's lock and the program locked or
// gone. The console calls this on the window's thread as it starts, and
// varmo-cli before it opens the port, so that nothing is loaded later on
// another thread.
namespace varmo::book {

void LoadBookLibraries();

}  // namespace varmo::book
