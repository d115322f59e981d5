// The window tests run on one thread with OLE, as quarnel.exe does.
#include <gtest/gtest.h>
#include <windows.h>

#include <ole2.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) return 2;
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
