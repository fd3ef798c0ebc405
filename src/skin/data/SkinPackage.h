// Skin packages: the container of a skin's bitmaps and its definition, and
// the property payload that carries a compressed package inside a form.
// Portable; never includes <windows.h>. Reading checks every size against the
// bytes actually present, so a forged package can only be refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Surface.h"
#include "pictures/PictureFormat.h"
#include "skin/data/Lzh.h"

namespace corvane {

// The one skin message users ever see: the package version is not one we read.
inline constexpr const char* kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

// The size table of a package has room for this many names.
inline constexpr std::size_t kMaxSkinPackageFiles = 1001;

// Raised by the writers for input they cannot store, and by the property
// reader for a truncated payload.
class SkinPackageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Bytes of extra header between the 16-byte header and the name list for a
// package version, or -1 for a version we do not read.
int SkinPackageExtraHeaderSize(std::int32_t version);

enum class SkinLoadStatus {
  Empty,           // nothing loaded yet
  Loaded,          // names indexed, files can be extracted
  UnknownVersion,  // LastError() is kOlderSkinMessage; the Windows side shows it
  Malformed,       // a known version whose sizes do not fit; LastError() says why
};

// One file of a loaded package: where its bytes sit in the file data.
struct SkinPackageEntry {
  std::string name;  // lower case, as indexed
  std::size_t offset = 0;
  std::size_t size = 0;
};

// The package file a definition's picture name refers to: the name with any
// directory part dropped, provided it is non-empty and ends in ".bmp" exactly
// (case-sensitive; skins have always meant "no picture" by ".BMP"). Empty
// otherwise. Packages and skin definitions fetch pictures by this one rule.
std::string_view SkinBitmapFileName(std::string_view definitionName);

// Reads a skin stream or a decoded package and hands out its files by name.
class TSkinReader {
 public:
  // Decompresses a skin stream (size field + coded bits) and indexes the
  // package. False when the version is unknown, the package is malformed or
  // its announced size is above outputLimit; nothing is indexed then.
  bool Load(std::span<const std::uint8_t> skinStream, std::size_t outputLimit = kLzhDefaultOutputLimit);
  // Indexes an already decompressed package.
  bool LoadPackage(std::span<const std::uint8_t> package);

  SkinLoadStatus Status() const { return m_status; }
  // Why the last load failed; empty after a successful one.
  const std::string& LastError() const { return m_error; }

  std::int32_t Version() const { return m_header[0]; }
  std::int32_t NameListLength() const { return m_header[1]; }
  std::int32_t Reserved1() const { return m_header[2]; }
  std::int32_t Reserved2() const { return m_header[3]; }

  // Names in package order, lower case, duplicates kept.
  std::vector<std::string> Names() const;
  const std::vector<SkinPackageEntry>& Entries() const { return m_entries; }
  std::size_t Count() const { return m_entries.size(); }
  // The bytes of entry index (duplicates included), for unpacking tools.
  std::vector<std::uint8_t> FileAt(std::size_t index) const;

  // Clears target, then fills it with the first file whose name equals name
  // ignoring ASCII case. False (target empty) when there is none.
  bool ExtractFile(std::string_view name, std::vector<std::uint8_t>& target) const;
  std::vector<std::uint8_t> ExtractFile(std::string_view name) const;
  // Clears target, then takes the first file whose lower-case name contains
  // text (compared as given, so text should be lower case). On success name
  // receives the file's name; otherwise name is left unchanged.
  bool ExtractFirstContaining(std::string_view text, std::vector<std::uint8_t>& target,
                              std::string& name) const;

  // The bytes of the bitmap a definition names: its file-name part (directory
  // dropped) must be non-empty and end in ".bmp" exactly (case-sensitive;
  // ".BMP" is refused), and the file must exist and be non-empty. Otherwise
  // empty.
  std::vector<std::uint8_t> FetchBitmapFile(std::string_view definitionName) const;
  // FetchBitmapFile decoded; an empty surface for a missing, empty or
  // undecodable picture, as broken skin data is never reported. limits bound
  // what a forged header may make the decoder allocate.
  Surface FetchBitmap(std::string_view definitionName, const PictureLimits& limits = {}) const;

 private:
  void Reset();
  bool Fail(SkinLoadStatus status, std::string reason);
  // Checks and indexes a decompressed package, keeping it.
  bool Index(std::vector<std::uint8_t> package);

  SkinLoadStatus m_status = SkinLoadStatus::Empty;
  std::string m_error;
  std::int32_t m_header[4] = {0, 0, 0, 0};
  std::vector<SkinPackageEntry> m_entries;
  // The package; its files lie back to back from m_dataAt on.
  std::vector<std::uint8_t> m_data;
  std::size_t m_dataAt = 0;
};

// One file to pack: its name (no directories, no line breaks) and bytes.
using SkinPackageFile = std::pair<std::string, std::vector<std::uint8_t>>;

// Builds a package: header, zeroed extra header for the version, names each
// ended by CR LF, size table, files. Throws SkinPackageError for an unknown
// version, more than 1001 files, a name with CR, LF or NUL, or 2 GB or more.
std::vector<std::uint8_t> WriteSkinPackage(const std::vector<SkinPackageFile>& files,
                                           std::int32_t version = 70000);
// WriteSkinPackage compressed into a skin stream, the content of a skin file.
std::vector<std::uint8_t> WriteSkinStream(const std::vector<SkinPackageFile>& files,
                                          std::int32_t version = 70000);

// The SkinStream property payload: a 32-bit little-endian count, then that
// many bytes of skin stream (only when the count is above 0).
std::vector<std::uint8_t> WriteSkinStreamProperty(std::span<const std::uint8_t> skinStream);

// Reads a SkinStream payload into skinStream. Returns false, leaving
// skinStream as it was, for a count of 0 or less; returns true after
// replacing it otherwise. Throws SkinPackageError when the payload is shorter
// than its count says.
bool ReadSkinStreamProperty(std::span<const std::uint8_t> payload, std::vector<std::uint8_t>& skinStream);

// The name-list text rule: lines end at CR, LF or CR LF; a final line break
// adds no empty name; a NUL ends the list as it ends the text.
std::vector<std::string> SplitSkinNameList(std::string_view text);

}  // namespace corvane
