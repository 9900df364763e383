#include <gtest/gtest.h>

#include "EndTestBinary.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return endTestBinary(RUN_ALL_TESTS());
}
