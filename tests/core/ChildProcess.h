// Second processes for tests: a test starts this same test program as a
// child that runs a registered routine (crash-safety and two-writer tests).
#pragma once

#include <string>
#include <vector>

namespace corvane::testing {

using ChildMain = int (*)(const std::vector<std::string>& args);

// Registers a routine under a name at static-initialisation time.
struct ChildRegistrar {
  ChildRegistrar(const char* name, ChildMain routine);
};
#define CORVANE_TEST_CHILD(name)                                                  \
  static int name##_child(const std::vector<std::string>& args);                 \
  static const ::corvane::testing::ChildRegistrar name##_registrar(#name, &name##_child); \
  static int name##_child(const std::vector<std::string>& args)

int RunChild(const char* name, int argc, char** argv);
void RememberProgramPath(const char* argv0);

// A running child; killed on destruction if still running.
class ChildProcess {
 public:
  ChildProcess(const std::string& routine, const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Ends the child at once, as a crash or power cut would: no clean-up runs.
  void Kill();
  // Waits for the end; returns the exit code (-1 when killed).
  int Wait();

 private:
  struct Impl;
  Impl* m_impl;
};

}  // namespace corvane::testing
