#pragma once
// A write past the file size limit (ulimit -f) raises a signal whose default
// is to end the program on the spot, with the operator's file half saved and
// no word why. Ignored, the write just fails (EFBIG), and the program reports
// it like a full disk. Standard C++ only: the console, varmo-cli and tests
// share it.
#include <csignal>

namespace varmo {

inline void KeepRunningPastFileSizeLimit()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace varmo
