#pragma once
// Ends a test binary once its results are written. Under wine a binary that has run and reported every test
// now and then hangs in the process's exit path (seen only in full parallel runs, after "[  PASSED  ]",
// whichever binary it was), until the test's timeout fails it. With the results flushed there is nothing
// left to do, so on Windows the binary ends itself at once; elsewhere this returns `status`.
#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <windows.h>
#endif

inline int endTestBinary(int status) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
#endif
    return status;
}
