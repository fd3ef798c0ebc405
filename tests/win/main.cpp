// Entry of the Windows test program: GoogleTest with COM for the main thread,
// as the program itself runs.
#include <gtest/gtest.h>
#include <objbase.h>

int main(int argc, char** argv) {
  CoInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
