// The main() of the Windows test binaries that bring none of their own. Under wine a binary that has run
// and reported every test now and then hangs in the process's exit path (seen only in a full parallel run,
// never alone, after "[  PASSED  ]"), until the test's timeout fails it. Once the results are written and
// flushed there is nothing left to do, so the binary ends itself at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    return status;
}
