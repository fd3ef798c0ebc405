// Test program entry. A test that needs a second process starts this same
// program with "--child <name> [args...]"; the registered child routine runs
// instead of the tests (see ChildProcess.h).
#include <gtest/gtest.h>

#include <cstring>

#include "ChildProcess.h"

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
    return corvane::testing::RunChild(argv[2], argc - 3, argv + 3);
  corvane::testing::RememberProgramPath(argv[0]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
