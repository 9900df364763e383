#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include "EndTestBinary.h"

// The tests are a client of Office as a script is: a single-threaded apartment, whose waits for the server
// also let the server's event calls in.
int main(int argc, char** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return endTestBinary(result);
}
