#include "launcher/LinkStore.h"

#include "launcher/CommaText.h"

namespace corvane {

LinkStore::LinkStore() = default;
LinkStore::~LinkStore() = default;

void LinkStore::Open(const std::string& path) {
  Close();
  m_path = path;
  m_file = std::make_unique<StoreFile>(path);
}

void LinkStore::Close() {
  m_file.reset();
  m_document = IniDocument();
  m_stamp = FileStamp{};
  m_loaded = false;
  m_unreadable = false;
}

void LinkStore::RequireOpen() const {
  if (!m_file) throw LinkStoreError("The link store is not open");
}

void LinkStore::ThrowUnableToWrite(Outcome why) const {
  std::string message = "Unable to write to " + m_path;
  if (why == Outcome::FolderRefused) {
    std::size_t slash = m_path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash + 1);
    message += "\n\nThe folder " + folder +
               " cannot be written to, so no links can be saved there. Nothing stored was "
               "changed. Move Corvane's folder to a place you can write to, such as your "
               "Documents folder.";
  }
  throw LinkStoreError(message);
}

const IniDocument& LinkStore::Current(bool thorough) {
  RequireOpen();
  if (m_loaded && m_file->CurrentStamp(thorough) == m_stamp) return m_document;
  std::string bytes;
  LoadResult result = m_file->Load(bytes, m_stamp);
  // A file that cannot be read behaves as an empty one for reading.
  m_document = result == LoadResult::Loaded ? IniDocument::Parse(bytes) : IniDocument();
  m_unreadable = result == LoadResult::Unreadable;
  m_loaded = true;
  return m_document;
}

template <typename Change>
LinkStore::Outcome LinkStore::Modify(Change change) {
  RequireOpen();
  StoreLock lock = m_file->Lock();
  if (!lock) return Outcome::FolderRefused;
  Current(true);
  // Replacing a file we could not read would throw away whatever it holds.
  if (m_unreadable) return Outcome::FileRefused;
  IniDocument changed = m_document;
  if (!change(changed)) return Outcome::Written;
  if (m_file->IsReadOnly()) return Outcome::FileRefused;
  FileStamp written;
  if (!m_file->Replace(changed.Serialize(), m_stamp, written)) return Outcome::FileRefused;
  m_document = std::move(changed);
  m_stamp = written;
  return Outcome::Written;
}

std::string LinkStore::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) {
  return Current(false).ReadString(section, key, defaultValue);
}

void LinkStore::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
  RequireOpen();
  std::optional<std::string> problem = SectionNameProblem(section);
  if (!problem) problem = KeyNameProblem(key);
  if (!problem) problem = ValueProblem(value);
  if (problem) throw LinkStoreError(*problem + " (not written to " + m_path + ")");
  Outcome outcome = Modify([&](IniDocument& doc) { return doc.WriteString(section, key, value); });
  if (outcome != Outcome::Written) ThrowUnableToWrite(outcome);
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
  if (outcome != Outcome::Written) ThrowUnableToWrite(outcome);
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

}  // namespace corvane
