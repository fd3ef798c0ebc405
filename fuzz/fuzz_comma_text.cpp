// Comma text over arbitrary bytes: split, join and split again give the same
// names, and the stored form reads back through the profile rules.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFlags.h"
#include "launcher/CommaText.h"
#include "launcher/IniDocument.h"

// A stored list is one value: at most 2047 characters.
const corvane::fuzzing::TargetFlags corvane::fuzzing::kTargetFlags{{"-max_len=2048"}, {}};

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> names = SplitCommaText(text);
  if (SplitCommaText(JoinCommaText(names)) != names) {
    std::fprintf(stderr, "split/join/split changed the names\n");
    std::abort();
  }
  std::string stored = CommaTextForStore(names);
  if (!ValueProblem(stored) && stored.size() <= kMaxValueLength) {
    IniDocument doc;
    doc.WriteString("Editor", "RunWith", stored);
    IniDocument reread = IniDocument::Parse(doc.Serialize());
    if (SplitCommaText(reread.ReadString("Editor", "RunWith", "")) != names) {
      std::fprintf(stderr, "stored list did not read back\n");
      std::abort();
    }
  }
  return 0;
}
