#include "ChildProcess.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace corvane::testing {
namespace {

std::map<std::string, ChildMain>& Registry() {
  static std::map<std::string, ChildMain> registry;
  return registry;
}
std::string& ProgramPath() {
  static std::string path;
  return path;
}

}  // namespace

ChildRegistrar::ChildRegistrar(const char* name, ChildMain routine) {
  Registry()[name] = routine;
}

int RunChild(const char* name, int argc, char** argv) {
  auto it = Registry().find(name);
  if (it == Registry().end()) {
    std::fprintf(stderr, "unknown child routine %s\n", name);
    return 99;
  }
  return it->second(std::vector<std::string>(argv, argv + argc));
}

void RememberProgramPath(const char* argv0) {
#ifdef _WIN32
  ProgramPath() = argv0;
#else
  // Absolute, so a test that changes the working folder can still start children.
  char resolved[4096];
  ProgramPath() = realpath(argv0, resolved) ? resolved : argv0;
#endif
}

#ifdef _WIN32
struct ChildProcess::Impl {
  PROCESS_INFORMATION info{};
  bool done = false;
};

ChildProcess::ChildProcess(const std::string& routine, const std::vector<std::string>& args)
    : m_impl(new Impl) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --child " + routine;
  for (const std::string& a : args) command += " \"" + a + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &m_impl->info)) {
    delete m_impl;
    throw std::runtime_error("cannot start child " + routine);
  }
}

ChildProcess::~ChildProcess() {
  if (!m_impl->done) Kill();
  CloseHandle(m_impl->info.hProcess);
  CloseHandle(m_impl->info.hThread);
  delete m_impl;
}

void ChildProcess::Kill() {
  if (m_impl->done) return;
  TerminateProcess(m_impl->info.hProcess, static_cast<UINT>(-1));
  WaitForSingleObject(m_impl->info.hProcess, INFINITE);
  m_impl->done = true;
}

int ChildProcess::Wait() {
  WaitForSingleObject(m_impl->info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(m_impl->info.hProcess, &code);
  m_impl->done = true;
  return static_cast<int>(code);
}
#else
struct ChildProcess::Impl {
  pid_t pid = -1;
  bool done = false;
  int status = 0;
};

ChildProcess::ChildProcess(const std::string& routine, const std::vector<std::string>& args)
    : m_impl(new Impl) {
  std::vector<std::string> all = {ProgramPath(), "--child", routine};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (posix_spawn(&m_impl->pid, ProgramPath().c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    delete m_impl;
    throw std::runtime_error("cannot start child " + routine);
  }
}

ChildProcess::~ChildProcess() {
  if (!m_impl->done) Kill();
  delete m_impl;
}

void ChildProcess::Kill() {
  if (m_impl->done) return;
  kill(m_impl->pid, SIGKILL);
  Wait();
}

int ChildProcess::Wait() {
  if (!m_impl->done) {
    waitpid(m_impl->pid, &m_impl->status, 0);
    m_impl->done = true;
  }
  return WIFEXITED(m_impl->status) ? WEXITSTATUS(m_impl->status) : -1;
}
#endif

}  // namespace corvane::testing
