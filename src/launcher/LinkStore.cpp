#include "launcher/LinkStore.h"

#include <unordered_set>

#include "launcher/CommaText.h"

namespace corvane {

LinkStore::LinkStore() = default;
LinkStore::~LinkStore() = default;

namespace {

// Changes of a store that keeps turning into another file (a link created
// through, then retargeted) are given up after this many tries.
constexpr int kWriteAttempts = 3;
// A file another program holds is read again after this long, not by every
// one of the thousand reads of a menu build.
constexpr auto kBusyRecheck = std::chrono::seconds(1);
// A killed writer's leftovers are cleared at Open only if that is quick.
constexpr int kLeftoverWaitMs = 500;

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

}  // namespace

void LinkStore::Open(const std::string& path) {
  Close();
  m_path = path;
  m_file = std::make_unique<StoreFile>(path);
  m_file->RemoveLeftovers(kLeftoverWaitMs);
}

void LinkStore::Close() {
  m_file.reset();
  m_document = IniDocument();
  m_stamp = FileStamp{};
  m_loaded = false;
  m_unreadable = false;
  m_busy = false;
}

void LinkStore::RequireOpen() const {
  if (!m_file) throw LinkStoreError("The link store is not open");
}

void LinkStore::ThrowUnableToWrite(const Outcome& why) const {
  std::string message = "Unable to write to " + m_path;
  // A link's target is named when it is the target's folder that refuses.
  const std::string& where = why.target.empty() ? m_path : why.target;
  switch (why.result) {
    case WriteResult::FolderRefused:
      message += "\n\nThe folder " + FolderOf(where) +
                 " cannot be written to, so no links can be saved there. Nothing stored was "
                 "changed. Move Corvane's folder to a place you can write to, such as your "
                 "Documents folder.";
      break;
    case WriteResult::Busy:
      message += "\n\nAnother program is using this file. Nothing stored was changed. Close "
                 "that program, then try again.";
      break;
    case WriteResult::Unreachable:
      message += "\n\nThis name is a link to a place that cannot be reached now (a drive or "
                 "folder that is not connected). Nothing was written, and the link was kept. "
                 "Connect the place it leads to, then try again.";
      break;
    default:
      break;
  }
  throw LinkStoreError(message);
}

const IniDocument& LinkStore::Current(bool thorough, bool retryBusy) {
  RequireOpen();
  const auto now = std::chrono::steady_clock::now();
  if (m_busy) {
    if (!retryBusy && now - m_busySince < kBusyRecheck) return m_document;
  } else if (m_loaded && m_file->CurrentStamp(thorough) == m_stamp) {
    return m_document;
  }
  std::string bytes;
  FileStamp stamp;
  LoadResult result = m_file->Load(bytes, stamp);
  if (result == LoadResult::Busy) {
    // What was read last stays: a menu must not lose its links because a
    // backup program holds the file for a moment.
    m_busy = true;
    m_busySince = now;
    return m_document;
  }
  m_busy = false;
  m_stamp = stamp;
  // A file that cannot be read behaves as an empty one for reading.
  m_document = result == LoadResult::Loaded ? IniDocument::Parse(bytes) : IniDocument();
  m_unreadable = result == LoadResult::Unreadable;
  m_loaded = true;
  return m_document;
}

template <typename Change>
LinkStore::Outcome LinkStore::Modify(Change change) {
  RequireOpen();
  for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
    StoreLock lock = m_file->Lock(m_waitMs);
    if (!lock) return {lock.Refusal(), lock.Target()};
    Current(true, true);
    if (m_busy) return {WriteResult::Busy, lock.Target()};
    // Replacing a file we could not read would throw away whatever it holds.
    if (m_unreadable) return {WriteResult::FileRefused, lock.Target()};
    IniDocument changed = m_document;
    if (!change(changed)) return {};
    FileStamp written;
    WriteResult result = m_file->Write(lock, changed.Serialize(), m_stamp, written);
    if (result == WriteResult::TargetChanged) continue;
    if (result != WriteResult::Written) return {result, lock.Target()};
    m_document = std::move(changed);
    m_stamp = written;
    return {};
  }
  return {WriteResult::Busy, m_path};
}

std::string LinkStore::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) {
  return Current(false).ReadString(section, key, defaultValue);
}

void LinkStore::RequireStorable(std::string_view section, std::string_view key,
                                std::string_view value) const {
  std::optional<std::string> problem = SectionNameProblem(section);
  if (!problem) problem = KeyNameProblem(key);
  if (!problem) problem = ValueProblem(value);
  if (problem) throw LinkStoreError(*problem + " (not written to " + m_path + ")");
}

void LinkStore::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
  RequireOpen();
  RequireStorable(section, key, value);
  Outcome outcome = Modify([&](IniDocument& doc) { return doc.WriteString(section, key, value); });
  if (outcome.result != WriteResult::Written) ThrowUnableToWrite(outcome);
}

void LinkStore::WriteStrings(std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& keyValues) {
  RequireOpen();
  for (const auto& [key, value] : keyValues) RequireStorable(section, key, value);
  Outcome outcome = Modify([&](IniDocument& doc) {
    bool changed = false;
    for (const auto& [key, value] : keyValues) changed = doc.WriteString(section, key, value) || changed;
    return changed;
  });
  if (outcome.result != WriteResult::Written) ThrowUnableToWrite(outcome);
}

int LinkStore::ReadInteger(std::string_view section, std::string_view key, int defaultValue) {
  return Current(false).ReadInteger(section, key, defaultValue);
}

void LinkStore::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void LinkStore::ReadSections(std::vector<std::string>& list) {
  Current(true).ReadSections(list);
}

void LinkStore::EraseSection(std::string_view section) {
  Outcome outcome = Modify([&](IniDocument& doc) { return doc.EraseSection(section); });
  if (outcome.result != WriteResult::Written) ThrowUnableToWrite(outcome);
}

void LinkStore::DeleteKey(std::string_view section, std::string_view key) {
  RequireOpen();
  Modify([&](IniDocument& doc) { return doc.DeleteKey(section, key); });
}

void LinkStore::UpdateFile() {}

std::vector<std::string> LinkStore::ReadCommaText(std::string_view section, std::string_view key) {
  return SplitCommaText(ReadString(section, key, ""));
}

void LinkStore::WriteCommaText(std::string_view section, std::string_view key,
                               const std::vector<std::string>& names) {
  WriteString(section, key, CommaTextForStore(names));
}

std::vector<std::string> MenuLinkNames(const std::vector<std::string>& sections) {
  std::vector<std::string> links;
  links.reserve(sections.size());
  bool graphicSeen = false;
  for (const std::string& name : sections) {
    if (!graphicSeen && SameName(name, kGraphicSection)) {
      graphicSeen = true;
      continue;
    }
    links.push_back(name);
  }
  return links;
}

std::vector<std::string> DistinctNames(const std::vector<std::string>& names) {
  std::vector<std::string> distinct;
  distinct.reserve(names.size());
  std::unordered_set<std::string> seen;
  for (const std::string& name : names) {
    if (seen.insert(FoldedName(name)).second) distinct.push_back(name);
  }
  return distinct;
}

}  // namespace corvane
