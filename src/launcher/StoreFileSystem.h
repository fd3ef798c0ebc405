// The link store's only contact with the operating system: a cheap stamp of
// the file, reading it whole, a lock shared by every process that writes it,
// and writing it whole (replaced atomically, or rewritten in place where the
// folder takes no new file). One implementation per platform
// (StoreFileSystemPosix.cpp, StoreFileSystemWin.cpp); nothing else in the
// portable core touches files this way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// What a cheap metadata query tells about the file. Writers through
// StoreFile::Write make every stamp differ from the one it replaces, so an
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

// Busy: another program holds the file so that it cannot be read just now
// (Windows share modes and range locks); nothing was read.
enum class LoadResult { Missing, Loaded, Unreadable, Busy };

// What a write, or the lock for one, came to.
enum class WriteResult {
  Written,
  // The store file itself refuses writes (marked read-only, or no right).
  FileRefused,
  // The folder takes no new file and the store cannot be rewritten in place
  // either (it is missing, or refuses writes too).
  FolderRefused,
  // Another program holds the store or its lock longer than we wait.
  Busy,
  // The store's name leads nowhere a file can be made: a link whose target
  // folder is missing (a synced drive not connected, say).
  Unreachable,
  // The store was just created through its name and turned out to live
  // elsewhere (a link): the lock taken is the wrong one; take it again.
  TargetChanged,
};

// Held while a process reads, changes and writes the store; released on
// destruction, and by the system when the process dies. It leaves no file
// behind once released.
class StoreLock {
 public:
  StoreLock(StoreLock&& other) noexcept;
  StoreLock& operator=(StoreLock&&) = delete;
  StoreLock(const StoreLock&) = delete;
  ~StoreLock();
  explicit operator bool() const { return m_handle != kNone; }
  // Why no lock could be had (when empty).
  WriteResult Refusal() const { return m_refusal; }
  // The file that writes reach: the store, or the file a link of that name
  // leads to; named in messages about refused writes.
  const std::string& Target() const { return m_target; }

 private:
  friend class StoreFile;
  static constexpr intptr_t kNone = -1;
  enum class Kind { None, LockFile, StoreRange, Folder };
  StoreLock(WriteResult refusal, std::string target)
      : m_handle(kNone), m_refusal(refusal), m_target(std::move(target)) {}
  StoreLock(Kind kind, intptr_t handle, std::string target)
      : m_handle(handle), m_kind(kind), m_target(std::move(target)) {}
  intptr_t m_handle;
  Kind m_kind = Kind::None;
  WriteResult m_refusal = WriteResult::Written;
  std::string m_target;
};

// One store file by path. A store that is a symbolic link stays one: every
// write reaches the file it leads to, and so does one with several hard
// links. While a change is written, a temporary file "<target>.tmp" exists
// beside the target (and, on Windows, the lock file "<target>.lock"); both
// go when the write ends, and what a killed writer left is removed by the
// next writer and by the next Open.
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
  // Reads the whole file; the stamp describes exactly the bytes read. A file
  // another program holds is tried again for a moment before Busy.
  LoadResult Load(std::string& bytes, FileStamp& stamp);
  // Waits at most waitMs for the write lock of the store's current target.
  // An empty lock says why: Busy when the time ran out, FolderRefused when
  // no lock can be had there at all (a read-only folder or share, or a
  // folder that is missing).
  StoreLock Lock(int waitMs);
  // Writes bytes as the store's whole content under lock. Normally a
  // temporary file beside the target is written, flushed and renamed over
  // it, so a crash leaves the old or the new file. Where that cannot keep
  // the store what it is (several hard links) or the folder takes no new
  // file, the file is rewritten in place instead (see the implementations
  // for what that sequence keeps). A refusal leaves the store untouched.
  WriteResult Write(StoreLock& lock, std::string_view bytes, const FileStamp& previous,
                    FileStamp& written);
  // Removes a temporary file a killed writer left beside the target (and a
  // lock file an older version left behind), under the lock, waiting at
  // most waitMs for it. Does nothing when there is nothing to remove.
  void RemoveLeftovers(int waitMs);

 private:
  void Pin(int fd);
  // An existing file marked read-only refuses writes, also for a user (such
  // as root) whom the system would let write anyway.
  bool IsReadOnly() const;

  std::string m_path;
  // POSIX: the last file read stays open so its inode number cannot be
  // reused by a later replacement and fool the stamp comparison.
  intptr_t m_pinned = -1;
};

}  // namespace corvane
