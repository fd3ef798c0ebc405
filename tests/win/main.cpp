// Entry of the Windows test program: GoogleTest with COM for the main thread,
// as the program itself runs.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdlib>

#include "platform/Dpi.h"

int main(int argc, char** argv) {
  // With CORVANE_DPI_AWARE set the tests run as the program does on a scaled
  // display: aware of each monitor's DPI (the program says so in its
  // manifest; a test program must say it before its first window).
  if (std::getenv("CORVANE_DPI_AWARE")) corvane::DeclarePerMonitorDpiAwareness();
  CoInitialize(nullptr);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
