// Test entry: every test program starts here.
#include <gtest/gtest.h>

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    // Keep failures of the system out of modal error boxes.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
