// Arbitrary bytes as a link store: parsing, every read, a write that passes
// the name checks, and the store object reading the same bytes from a file.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFlags.h"
#include "launcher/IniDocument.h"
#include "launcher/LinkStore.h"

using namespace corvane;

// Link stores are short INI texts; 4 KB holds hundreds of sections.
const fuzzing::TargetFlags fuzzing::kTargetFlags{{"-max_len=4096"}, {}};

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "link store property broken: %s\n", what);
    std::abort();
  }
}

// One scratch file per fuzzing process, removed when it ends. It lives in
// memory (/dev/shm) where there is such a folder: rewriting a file on a disk
// file system every run costs a flush to the disk each time (a thirtieth of
// the rate).
struct Scratch {
  std::string path = Folder() + "/corvane-fuzz-store-" + std::to_string(getpid()) + ".ini";
  ~Scratch() { std::remove(path.c_str()); }
  static std::string Folder() {
    struct stat st;
    if (stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
  }
};

const std::string& ScratchPath() {
  static const Scratch scratch;
  return scratch.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::Parse(bytes);
  std::vector<std::string> sections;
  doc.ReadSections(sections);
  for (const std::string& name : sections) {
    std::string link = doc.ReadString(name, "Link", "");
    Check(link.size() <= kMaxValueLength, "value longer than the read buffer");
    doc.ReadInteger(name, "Left", 0);
  }

  // Writing the file back and parsing it again changes nothing a reader sees.
  IniDocument again = IniDocument::Parse(doc.Serialize());
  std::vector<std::string> sectionsAgain;
  again.ReadSections(sectionsAgain);
  Check(sections == sectionsAgain, "sections differ after a round trip");
  for (const std::string& name : sections)
    Check(doc.ReadString(name, "Link", "?") == again.ReadString(name, "Link", "?"),
          "value differs after a round trip");

  // A section and key taken from the input: if the checks accept them, the
  // value written must read back and every other section must survive.
  size_t cut = size / 3;
  std::string_view section = bytes.substr(0, std::min<size_t>(cut, 40));
  std::string_view key = bytes.substr(cut, std::min<size_t>(cut, 20));
  if (!SectionNameProblem(section) && !KeyNameProblem(key)) {
    doc.WriteString(section, key, "fuzz value");
    IniDocument written = IniDocument::Parse(doc.Serialize());
    Check(written.ReadString(section, key, "") == "fuzz value", "written value not read back");
    std::vector<std::string> after;
    written.ReadSections(after);
    // Sorted once: a store of thousands of sections must not make this check
    // quadratic.
    std::sort(after.begin(), after.end());
    for (const std::string& name : sections) {
      if (SameName(name, section)) continue;
      Check(std::binary_search(after.begin(), after.end(), name), "an unrelated section was lost");
    }
  }

  // The same bytes through the store object and the file system.
  if (FILE* file = std::fopen(ScratchPath().c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    LinkStore store;
    store.Open(ScratchPath());
    std::vector<std::string> listed;
    store.ReadSections(listed);
    Check(listed == sections, "store lists other sections than the parser");
    for (const std::string& name : MenuLinkNames(listed)) store.ReadString(name, "Link", "");
  }
  return 0;
}
