#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

// The program runs with OLE initialised on its one thread; so do its tests.
int main(int argc, char** argv) {
  ::OleInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  ::OleUninitialize();
  return result;
}
