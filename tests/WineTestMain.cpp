// The main() of the Windows test binaries that bring none of their own (see EndTestBinary.h).
#include <gtest/gtest.h>

#include "EndTestBinary.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return endTestBinary(RUN_ALL_TESTS());
}
