// Any text must load and answer every lookup with a value or the default.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "FuzzFlags.h"
#include "skin/data/QuickIni.h"

// A skin definition is a few kilobytes of text.
const corvane::fuzzing::TargetFlags corvane::fuzzing::kTargetFlags{{"-max_len=4096"}, {}};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::TQuickIni ini;
  ini.LoadFromStream(std::span<const std::uint8_t>(data, size));
  const std::vector<std::string> sections = ini.ReadSections();
  // Lookups are linear in the lines; a bounded sample keeps each run fast.
  const std::size_t lineCount = std::min<std::size_t>(ini.Lines().size(), 64);
  const std::size_t sectionCount = std::min<std::size_t>(sections.size(), 16);
  for (std::size_t i = 0; i < lineCount; ++i) {
    const std::string& line = ini.Lines()[i];
    if (line.empty() || line.front() == ';') std::abort();
    const std::string key(line.substr(0, line.find('=')));
    for (std::size_t j = 0; j < sectionCount; ++j) {
      const std::string& section = sections[j];
      const std::string value = ini.ReadString(section, key, "\x01");
      if (value.empty()) std::abort();  // an empty value must give the default
      (void)ini.ReadInteger(section, key, -1);
    }
  }
  (void)ini.ReadString("", "", "");
  return 0;
}
