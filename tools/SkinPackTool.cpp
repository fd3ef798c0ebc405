#include "SkinPackTool.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

#include "skin/data/SkinPackage.h"

namespace corvane::tools {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Writes beside the target and renames, so a failed run never leaves a
// half-written skin where the build expects a good one.
void WriteFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  const fs::path temp = path.string() + ".tmp";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
      f.close();
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw std::runtime_error("cannot write " + temp.string());
    }
  }
  fs::rename(temp, path);
}

}  // namespace

std::vector<std::string> PicturesNamedBy(const std::vector<std::uint8_t>& definition) {
  std::vector<std::string> names;
  std::string line;
  auto take = [&] {
    const auto eq = line.find('=');
    if (eq != std::string::npos) {
      std::string value = line.substr(eq + 1);
      while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
      value.erase(0, value.find_first_not_of(" \t"));
      // Definitions are written on Windows: either slash ends a directory part.
      const auto slash = value.find_last_of("/\\");
      if (slash != std::string::npos) value.erase(0, slash + 1);
      value = Lower(value);
      if (value.size() > 4 && value.ends_with(".bmp") &&
          std::find(names.begin(), names.end(), value) == names.end())
        names.push_back(value);
    }
    line.clear();
  };
  for (std::uint8_t b : definition) {
    if (b == '\r' || b == '\n') take();
    else line.push_back(static_cast<char>(b));
  }
  take();
  return names;
}

std::vector<SkinPackageFile> CollectSkinFolder(const fs::path& dir) {
  std::vector<std::string> files;  // as found on disk
  std::string definition;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    const std::string name = e.path().filename().string();
    if (name.starts_with(".")) continue;
    if (Lower(name).find(".ini") != std::string::npos) {
      if (!definition.empty())
        throw std::runtime_error("more than one skin definition (.ini) in " + dir.string() + ": " +
                                 definition + ", " + name);
      definition = name;
      continue;
    }
    files.push_back(name);
  }
  if (definition.empty()) throw std::runtime_error("no skin definition (.ini) in " + dir.string());
  std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
    return Lower(a) < Lower(b);
  });
  std::set<std::string> seen;
  for (const std::string& f : files)
    if (!seen.insert(Lower(f)).second)
      throw std::runtime_error("two files differ only in letter case: " + f);

  const std::vector<std::uint8_t> definitionBytes = ReadFile(dir / definition);
  std::vector<std::string> order;
  for (const std::string& named : PicturesNamedBy(definitionBytes)) {
    auto it = std::find_if(files.begin(), files.end(), [&](const std::string& f) { return Lower(f) == named; });
    if (it == files.end()) {
      std::fprintf(stderr, "corvane_skin_pack: warning: the definition names %s, which is not in %s\n",
                   named.c_str(), dir.string().c_str());
      continue;
    }
    order.push_back(*it);
    files.erase(it);
  }
  order.insert(order.end(), files.begin(), files.end());

  std::vector<SkinPackageFile> package;
  for (const std::string& f : order) package.emplace_back(Lower(f), ReadFile(dir / f));
  package.emplace_back(Lower(definition), definitionBytes);
  return package;
}

void PackSkinFolder(const fs::path& dir, const fs::path& out) {
  const std::vector<SkinPackageFile> package = CollectSkinFolder(dir);
  const std::vector<std::uint8_t> stream = WriteSkinStream(package, 70000);

  // Read it back the way the program will before anyone relies on it.
  TSkinReader check;
  if (!check.Load(stream) || check.Count() != package.size())
    throw std::runtime_error("the packed skin does not read back: " + check.LastError());
  for (std::size_t i = 0; i < package.size(); ++i)
    if (check.FileAt(i) != package[i].second)
      throw std::runtime_error("the packed skin reads back differently at " + package[i].first);

  WriteFileAtomically(out, stream);
}

namespace {

// Names come from a file we did not make: anything that could leave the
// target folder is refused.
bool SafeFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\:") == std::string::npos;
}

}  // namespace

void UnpackSkin(const fs::path& in, const fs::path& dir) {
  TSkinReader reader;
  if (!reader.Load(ReadFile(in))) {
    std::string why = reader.LastError();
    std::replace(why.begin(), why.end(), '\r', ' ');
    throw std::runtime_error(in.string() + " is not a skin we can read: " + why);
  }
  // Check every name before writing anything, so a refused skin leaves no
  // partial folder behind.
  for (const SkinPackageEntry& e : reader.Entries())
    if (!e.name.empty() && !SafeFileName(e.name))
      throw std::runtime_error("refusing the unsafe file name \"" + e.name + "\" in " + in.string());
  fs::create_directories(dir);
  std::set<std::string> written;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Entries()[i].name;
    // An empty line in the name list is a name of its own; it has no file to become.
    if (name.empty()) {
      std::fprintf(stderr, "corvane_skin_pack: warning: skipping a file without a name\n");
      continue;
    }
    // The program takes the first of equal names; later ones can never be read.
    if (!written.insert(name).second) {
      std::fprintf(stderr, "corvane_skin_pack: warning: skipping a second file named %s\n", name.c_str());
      continue;
    }
    WriteFileAtomically(dir / name, reader.FileAt(i));
  }
}

}  // namespace corvane::tools
