#include "skin/data/SkinPackage.h"

#include <cstring>
#include <limits>

#include "pictures/Bmp.h"
#include "pictures/PictureFormat.h"
#include "skin/data/Lzh.h"
#include "skin/data/QuickIni.h"

namespace corvane {

namespace {

constexpr std::size_t kHeaderSize = 16;

std::int32_t ReadInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  const std::uint32_t v = std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
                          (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
  return static_cast<std::int32_t>(v);
}

void AppendInt32(std::vector<std::uint8_t>& out, std::int64_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

int SkinPackageExtraHeaderSize(std::int32_t version) {
  switch (version) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return -1;
  }
}

std::vector<std::string> SplitSkinNameList(std::string_view text) {
  std::vector<std::string> names;
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] != '\0') {
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n' && text[pos] != '\0') ++pos;
    names.emplace_back(text.substr(start, pos - start));
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return names;
}

void TSkinReader::Reset() {
  m_status = SkinLoadStatus::Empty;
  m_error.clear();
  for (auto& h : m_header) h = 0;
  m_entries.clear();
  m_data = {};
  m_dataAt = 0;
}

bool TSkinReader::Fail(SkinLoadStatus status, std::string reason) {
  Reset();
  m_status = status;
  m_error = std::move(reason);
  return false;
}

bool TSkinReader::Load(std::span<const std::uint8_t> skinStream, std::size_t outputLimit) {
  std::vector<std::uint8_t> package;
  try {
    package = DecodeSkinStream(skinStream, outputLimit);
  } catch (const ElzhException& e) {
    return Fail(SkinLoadStatus::Malformed, e.what());
  }
  return Index(std::move(package));
}

bool TSkinReader::LoadPackage(std::span<const std::uint8_t> package) {
  return Index(std::vector<std::uint8_t>(package.begin(), package.end()));
}

bool TSkinReader::Index(std::vector<std::uint8_t> owned) {
  Reset();
  const std::span<const std::uint8_t> package(owned);
  // A version field cut short cannot name a version we read.
  if (package.size() < 4) return Fail(SkinLoadStatus::UnknownVersion, kOlderSkinMessage);
  const std::int32_t version = ReadInt32(package, 0);
  const int extra = SkinPackageExtraHeaderSize(version);
  if (extra < 0) return Fail(SkinLoadStatus::UnknownVersion, kOlderSkinMessage);
  if (package.size() < kHeaderSize)
    return Fail(SkinLoadStatus::Malformed, "The skin package ends inside its 16-byte header.");
  std::int32_t header[4];
  for (int i = 0; i < 4; ++i) header[i] = ReadInt32(package, 4 * static_cast<std::size_t>(i));

  const std::size_t namesAt = kHeaderSize + static_cast<std::size_t>(extra);
  const std::int64_t listLength = header[1];
  if (listLength < 0)
    return Fail(SkinLoadStatus::Malformed,
                "The skin package's name list has a negative length (" + std::to_string(listLength) + ").");
  if (namesAt + static_cast<std::uint64_t>(listLength) > package.size())
    return Fail(SkinLoadStatus::Malformed, "The skin package's name list (" + std::to_string(listLength) +
                                               " bytes) runs past the end of the package (" +
                                               std::to_string(package.size()) + " bytes).");
  const auto listBytes = package.subspan(namesAt, static_cast<std::size_t>(listLength));
  std::string listText(reinterpret_cast<const char*>(listBytes.data()), listBytes.size());
  std::vector<std::string> names = SplitSkinNameList(quickini::LowerAscii(listText));
  if (names.size() > kMaxSkinPackageFiles)
    return Fail(SkinLoadStatus::Malformed, "The skin package lists " + std::to_string(names.size()) +
                                               " files; a skin holds at most " +
                                               std::to_string(kMaxSkinPackageFiles) + ".");

  const std::size_t tableAt = namesAt + static_cast<std::size_t>(listLength);
  const std::size_t dataAt = tableAt + 4 * names.size();
  if (dataAt > package.size())
    return Fail(SkinLoadStatus::Malformed, "The skin package's size table for " + std::to_string(names.size()) +
                                               " files runs past the end of the package.");
  const std::size_t dataSize = package.size() - dataAt;
  std::vector<SkinPackageEntry> entries;
  entries.reserve(names.size());
  std::uint64_t offset = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::int32_t size = ReadInt32(package, tableAt + 4 * i);
    if (size < 0)
      return Fail(SkinLoadStatus::Malformed,
                  "The skin package gives \"" + names[i] + "\" a negative size (" + std::to_string(size) + ").");
    if (offset + static_cast<std::uint64_t>(size) > dataSize)
      return Fail(SkinLoadStatus::Malformed, "The skin package's file \"" + names[i] +
                                                 "\" runs past the end of the package.");
    entries.push_back({std::move(names[i]), static_cast<std::size_t>(offset), static_cast<std::size_t>(size)});
    offset += static_cast<std::uint64_t>(size);
  }

  for (int i = 0; i < 4; ++i) m_header[i] = header[i];
  m_entries = std::move(entries);
  // The package is kept as decoded, header and all: a copy of its files
  // would hold it twice at the peak of every skin load.
  m_dataAt = dataAt;
  m_data = std::move(owned);
  m_status = SkinLoadStatus::Loaded;
  return true;
}

std::vector<std::string> TSkinReader::Names() const {
  std::vector<std::string> names;
  names.reserve(m_entries.size());
  for (const auto& e : m_entries) names.push_back(e.name);
  return names;
}

std::vector<std::uint8_t> TSkinReader::FileAt(std::size_t index) const {
  if (index >= m_entries.size()) return {};
  const SkinPackageEntry& e = m_entries[index];
  const auto begin = m_data.begin() + static_cast<std::ptrdiff_t>(m_dataAt + e.offset);
  return std::vector<std::uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(e.size));
}

bool TSkinReader::ExtractFile(std::string_view name, std::vector<std::uint8_t>& target) const {
  target.clear();
  const std::string wanted = quickini::LowerAscii(name);
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i].name == wanted) {
      target = FileAt(i);
      return true;
    }
  }
  return false;
}

std::vector<std::uint8_t> TSkinReader::ExtractFile(std::string_view name) const {
  std::vector<std::uint8_t> bytes;
  ExtractFile(name, bytes);
  return bytes;
}

bool TSkinReader::ExtractFirstContaining(std::string_view text, std::vector<std::uint8_t>& target,
                                         std::string& name) const {
  target.clear();
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i].name.find(text) != std::string::npos) {
      target = FileAt(i);
      name = m_entries[i].name;
      return true;
    }
  }
  return false;
}

std::string_view SkinBitmapFileName(std::string_view definitionName) {
  // Definitions written on Windows may carry a path; only the file name counts.
  const std::size_t slash = definitionName.find_last_of("\\/:");
  const std::string_view fileName =
      slash == std::string_view::npos ? definitionName : definitionName.substr(slash + 1);
  const std::size_t dot = fileName.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
  if (fileName.empty() || extension != ".bmp") return {};
  return fileName;
}

std::vector<std::uint8_t> TSkinReader::FetchBitmapFile(std::string_view definitionName) const {
  const std::string_view fileName = SkinBitmapFileName(definitionName);
  if (fileName.empty()) return {};
  return ExtractFile(fileName);
}

Surface TSkinReader::FetchBitmap(std::string_view definitionName, const PictureLimits& limits) const {
  const std::vector<std::uint8_t> file = FetchBitmapFile(definitionName);
  if (file.empty()) return {};
  try {
    return DecodeBmpWithLimits(file, limits);
  } catch (const PictureFormatError&) {
    return {};
  }
}

std::vector<std::uint8_t> WriteSkinPackage(const std::vector<SkinPackageFile>& files, std::int32_t version) {
  const int extra = SkinPackageExtraHeaderSize(version);
  if (extra < 0) throw SkinPackageError("Unknown skin package version " + std::to_string(version) + ".");
  if (files.size() > kMaxSkinPackageFiles)
    throw SkinPackageError("A skin package holds at most " + std::to_string(kMaxSkinPackageFiles) + " files, not " +
                           std::to_string(files.size()) + ".");
  std::string list;
  std::uint64_t total = kHeaderSize + static_cast<std::uint64_t>(extra) + 4 * files.size();
  for (const auto& [name, bytes] : files) {
    if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
      throw SkinPackageError("The skin file name \"" + name + "\" contains a line break or NUL.");
    list += name;
    list += "\r\n";
    total += name.size() + 2 + bytes.size();
  }
  if (total > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
    throw SkinPackageError("A skin package must be smaller than 2 GB.");

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(total));
  AppendInt32(out, version);
  AppendInt32(out, static_cast<std::int64_t>(list.size()));
  AppendInt32(out, 0);
  AppendInt32(out, 0);
  out.insert(out.end(), static_cast<std::size_t>(extra), 0);
  out.insert(out.end(), list.begin(), list.end());
  for (const auto& file : files) AppendInt32(out, static_cast<std::int64_t>(file.second.size()));
  for (const auto& file : files) out.insert(out.end(), file.second.begin(), file.second.end());
  return out;
}

std::vector<std::uint8_t> WriteSkinStream(const std::vector<SkinPackageFile>& files, std::int32_t version) {
  return EncodeSkinStream(WriteSkinPackage(files, version));
}

std::vector<std::uint8_t> WriteSkinStreamProperty(std::span<const std::uint8_t> skinStream) {
  if (skinStream.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw SkinPackageError("A skin stream must be smaller than 2 GB.");
  std::vector<std::uint8_t> out;
  out.reserve(4 + skinStream.size());
  AppendInt32(out, static_cast<std::int64_t>(skinStream.size()));
  out.insert(out.end(), skinStream.begin(), skinStream.end());
  return out;
}

bool ReadSkinStreamProperty(std::span<const std::uint8_t> payload, std::vector<std::uint8_t>& skinStream) {
  if (payload.size() < 4) throw SkinPackageError("The SkinStream property is shorter than its 4-byte count.");
  const std::int32_t count = ReadInt32(payload, 0);
  if (count <= 0) return false;
  if (static_cast<std::size_t>(count) > payload.size() - 4)
    throw SkinPackageError("The SkinStream property announces " + std::to_string(count) + " bytes but holds " +
                           std::to_string(payload.size() - 4) + ".");
  skinStream.assign(payload.begin() + 4, payload.begin() + 4 + count);
  return true;
}

}  // namespace corvane
