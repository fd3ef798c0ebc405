// The link store's only contact with the operating system: a cheap stamp of
// the file, reading it whole, replacing it atomically, and a lock shared by
// every process that writes it. One implementation per platform
// (StoreFileSystemPosix.cpp, StoreFileSystemWin.cpp); nothing else in the
// portable core touches files this way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// What a cheap metadata query tells about the file. Writers through
// StoreFile::Replace make every stamp differ from the one it replaces, so an
// equal stamp means unchanged content even within one clock tick.
struct FileStamp {
  bool exists = false;
  uint64_t size = 0;
  int64_t modified = 0;  // nanoseconds (POSIX) or 100-ns ticks (Windows)
  int64_t changed = 0;   // status change time where the platform has one
  uint64_t fileId = 0;   // inode where the platform gives it for free
  uint64_t device = 0;
  bool operator==(const FileStamp&) const = default;
};

enum class LoadResult { Missing, Loaded, Unreadable };

// Held while a process reads, changes and replaces the store; released on
// destruction, and by the system when the process dies.
class StoreLock {
 public:
  StoreLock(StoreLock&& other) noexcept;
  StoreLock& operator=(StoreLock&&) = delete;
  StoreLock(const StoreLock&) = delete;
  ~StoreLock();
  explicit operator bool() const { return m_handle != kNone; }

 private:
  friend class StoreFile;
  static constexpr intptr_t kNone = -1;
  explicit StoreLock(intptr_t handle) : m_handle(handle) {}
  intptr_t m_handle;
};

// One store file by path. The lock lives in a file beside it named
// "<path>.lock", and replacements are written to "<path>.tmp" first; both
// are only used under the lock, so one fixed name each is enough.
class StoreFile {
 public:
  explicit StoreFile(std::string path);
  ~StoreFile();
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;

  const std::string& Path() const { return m_path; }
  // One metadata query. The quick form asks the file last read (POSIX:
  // through its open descriptor, about three times cheaper than a path
  // lookup), which sees every in-place write and every replacement or
  // deletion; only the thorough form also notices the file being moved away
  // and another put in its place.
  FileStamp CurrentStamp(bool thorough = true) const;
  // Reads the whole file; the stamp describes exactly the bytes read.
  LoadResult Load(std::string& bytes, FileStamp& stamp);
  // An existing file marked read-only refuses writes, also for a user (such
  // as root) whom the system would let write anyway.
  bool IsReadOnly() const;
  // Writes a temporary file in the same folder, flushes it to disk and
  // renames it over the store, so a crash leaves the old or the new file.
  // Returns false, leaving the store untouched, when the system refuses.
  bool Replace(std::string_view bytes, const FileStamp& previous, FileStamp& written);
  // Blocks until this process holds the write lock; an empty lock when the
  // lock file cannot be created (a read-only folder, for one).
  StoreLock Lock();

 private:
  void Pin(int fd);

  std::string m_path;
  // POSIX: the last file read stays open so its inode number cannot be
  // reused by a later replacement and fool the stamp comparison.
  intptr_t m_pinned = -1;
};

}  // namespace corvane
