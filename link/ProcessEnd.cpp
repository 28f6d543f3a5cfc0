#include "link/ProcessEnd.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace varmo {

void EndProcessOnWindows(int status)
{
#ifdef _WIN32
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
#else
    (void)status;
#endif
}

}  // namespace varmo
