// What choosing a menu entry starts, in order: the entry's "run at the same
// time" links as stored (each normally), then the entry's own link, with
// the shell verb asked for. Portable: the launcher hands each step to the
// shell.
#pragma once

#include <string>
#include <vector>

#include "launcher/LinkStore.h"

namespace corvane {

struct Launch {
  std::string verb;  // empty: the file's default verb
  std::string file;
  std::string params;
  friend bool operator==(const Launch&, const Launch&) = default;
};

// The shell verb that starts a program as administrator.
inline constexpr const char* kElevatedVerb = "runas";

// The launches for entry name. Its run-with links always start normally;
// its own link (none when empty) starts elevated when asked, and only it.
std::vector<Launch> LaunchPlan(LinkStore& store, const std::string& name, bool elevated);

}  // namespace corvane
