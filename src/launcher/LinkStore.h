// The link store: the INI file beside the executable that holds every menu
// link and the launcher picture's file and position. Portable core: never
// include <windows.h> here; files are reached through StoreFileSystem.h.
#pragma once

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "launcher/IniDocument.h"
#include "launcher/StoreFileSystem.h"

namespace corvane {

// The reserved section of the launcher picture; never a menu link.
inline constexpr std::string_view kGraphicSection = "GRAPHIC";

// Raised for a write the system refuses ("Unable to write to <path>"), for a
// name or value the file format cannot hold, and for use of a closed store.
class LinkStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every operation sees the file as it is on disk now, so two windows, or two
// running copies, read what the other wrote at once. The parsed file is kept
// and re-validated with one cheap metadata query per operation. Each change
// is applied under a lock shared by all processes to the file's current
// content and written out at once (see StoreFile::Write); there is no write
// cache, so UpdateFile has nothing left to do. A store that is a link stays
// one, and nothing but the store is left in its folder. Texts are UTF-8; a
// store an earlier version wrote in the locale's 8-bit code page is read in
// that code page and written as UTF-8 at the next change (StoreEncoding.h).
class LinkStore {
 public:
  LinkStore();
  ~LinkStore();
  LinkStore(const LinkStore&) = delete;
  LinkStore& operator=(const LinkStore&) = delete;

  // Opens the store at path. The file need not exist: it reads as empty and
  // the first write creates it.
  void Open(const std::string& path);
  // Closes the store; safe to call on a closed store.
  void Close();
  bool IsOpen() const { return m_file != nullptr; }
  // The path given to Open, as the error messages name it.
  const std::string& FileName() const { return m_path; }

  // A missing file, section or key gives defaultValue. Values come back with
  // blanks and one enclosing pair of matching quotes dropped, at most 2047
  // characters long.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue);
  // Throws "Unable to write to <path>" when the file or its folder refuses
  // the write (with a second line saying what the user can do when it is
  // not the file itself), and a LinkStoreError naming the problem, writing
  // nothing, for a section name, key name or value the format cannot hold.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Writes several keys of one section as one change: all of them or, when
  // refused, none. Fails as WriteString does.
  void WriteStrings(std::string_view section,
                    const std::vector<std::pair<std::string, std::string>>& keyValues);
  // Decimal, or hexadecimal after "0x" when longer than two characters; text
  // that is not a 32-bit integer gives defaultValue.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue);
  // Writes the value in decimal; fails as WriteString does.
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // Replaces list's content with every section name in file order, as many
  // as fit the 16384-byte listing buffer; callers sort.
  void ReadSections(std::vector<std::string>& list);
  // Removes the section (every section of that name, in any case) with all
  // its keys; a missing section changes nothing. Throws as WriteString does.
  void EraseSection(std::string_view section);
  // Removes the key; reports nothing, also when the write is refused.
  void DeleteKey(std::string_view section, std::string_view key);
  // Writes are never held back, so this only exists for callers that flush.
  void UpdateFile();
  // How long a change waits for another writer's lock (or a program that
  // holds the file) before it is refused as busy; 3 s unless set.
  void SetWaitLimit(int milliseconds) { m_waitMs = milliseconds; }

  // A comma-text list stored so that it reads back exactly as written (see
  // CommaTextForStore), and its reading.
  std::vector<std::string> ReadCommaText(std::string_view section, std::string_view key);
  void WriteCommaText(std::string_view section, std::string_view key,
                      const std::vector<std::string>& names);

 private:
  // The parsed file, re-read when the file changed. Listing and changes use
  // the thorough check; single reads, which come by the thousand after a
  // listing, use the quick one. A file another program holds keeps what was
  // read last and is tried again after a second (at once for a change).
  const IniDocument& Current(bool thorough, bool retryBusy = false);
  // What a change came to, and the file it was meant for (a link's target).
  struct Outcome {
    WriteResult result = WriteResult::Written;
    std::string target;
  };
  // Applies change under the lock to the file's current content and writes
  // the file when something changed.
  template <typename Change>
  Outcome Modify(Change change);
  void RequireOpen() const;
  void RequireStorable(std::string_view section, std::string_view key,
                       std::string_view value) const;
  // "Unable to write to <path>"; unless the file itself refused, a second
  // paragraph says why and what the user can do.
  [[noreturn]] void ThrowUnableToWrite(const Outcome& why) const;

  std::string m_path;
  std::unique_ptr<StoreFile> m_file;
  IniDocument m_document;
  FileStamp m_stamp;
  bool m_loaded = false;
  bool m_unreadable = false;
  bool m_busy = false;
  std::chrono::steady_clock::time_point m_busySince;
  int m_waitMs = 3000;
};

// The menu links among listed sections: all of them but the first named
// "GRAPHIC" in any letter case, in the given order.
std::vector<std::string> MenuLinkNames(const std::vector<std::string>& sections);

// names without the later ones that are the same name in another letter case
// (in any script), in the given order: the store reads and writes only the
// first of them, so the menu and the editor show one link for them.
std::vector<std::string> DistinctNames(const std::vector<std::string>& names);

}  // namespace corvane
