// The in-process test programs' entry point.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char **argv)
{
    setlocale(LC_ALL, "C.UTF-8");
    // The test servers are on loopback: a proxy of the machine's must not stand between.
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
