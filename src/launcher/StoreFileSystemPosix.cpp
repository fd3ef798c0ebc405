// POSIX half of the store's file access.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "launcher/StoreFileSystem.h"

namespace corvane {
namespace {

// Larger files are not link stores; reading them would only waste memory.
constexpr off_t kMaxStoreSize = off_t{256} << 20;

int64_t Nanoseconds(const timespec& t) {
  return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

FileStamp StampOf(const struct stat& st) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = static_cast<uint64_t>(st.st_size);
  stamp.modified = Nanoseconds(st.st_mtim);
  stamp.changed = Nanoseconds(st.st_ctim);
  stamp.fileId = static_cast<uint64_t>(st.st_ino);
  stamp.device = static_cast<uint64_t>(st.st_dev);
  return stamp;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the new file's modification time later than the old one's, also on
// file systems whose clock ticks are coarse (whole seconds, or two).
void MakeLaterThan(int fd, const FileStamp& previous) {
  struct stat st;
  if (!previous.exists || fstat(fd, &st) != 0) return;
  for (int64_t step : {int64_t{1}, int64_t{1000000000}, int64_t{2000000000}}) {
    if (Nanoseconds(st.st_mtim) > previous.modified) return;
    int64_t wanted = previous.modified + step;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(wanted / 1000000000);
    times[1].tv_nsec = static_cast<long>(wanted % 1000000000);
    if (futimens(fd, times) != 0 || fstat(fd, &st) != 0) return;
  }
}

}  // namespace


namespace {

// The file the store's name leads to: the name itself, or a symbolic link's
// target. Empty when the name leads to no existing file.
std::string ResolvedTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return {};
  if (!S_ISLNK(st.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return {};
  std::string target = resolved;
  std::free(resolved);
  return target;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A refusal that only the folder's rights explain.
bool FolderRefusesEntries(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

bool ReadAllAt(int fd, std::string& bytes, size_t size) {
  bytes.resize(size);
  size_t done = 0;
  while (done < size) {
    ssize_t n = pread(fd, bytes.data() + done, size - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  return done == size;
}

bool WriteAllAt(int fd, std::string_view bytes, size_t offset) {
  while (!bytes.empty()) {
    ssize_t n = pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<size_t>(n);
  }
  return true;
}

// Rewrites the open file in place, for a store that must stay the file it
// is (hard links) or a folder that takes no new file. The safest sequence
// without a second file: the space the new content needs is taken first (a
// full disk refuses before anything changed), only the bytes from the
// first difference on are written, then the file is cut to length and
// flushed; a failure puts the old bytes back. What it cannot give: a crash
// or kill during the few writes leaves the file part new, part old.
WriteResult RewriteInPlace(int fd, std::string_view bytes, const FileStamp& previous) {
  struct stat st;
  if (fstat(fd, &st) != 0) return WriteResult::FileRefused;
  std::string old;
  if (!ReadAllAt(fd, old, static_cast<size_t>(st.st_size))) return WriteResult::FileRefused;
  if (bytes.size() > old.size()) {
    int error = posix_fallocate(fd, static_cast<off_t>(old.size()),
                                static_cast<off_t>(bytes.size() - old.size()));
    if (error != 0 && error != EOPNOTSUPP && error != EINVAL) return WriteResult::FileRefused;
  }
  size_t same = 0;
  while (same < old.size() && same < bytes.size() && old[same] == bytes[same]) ++same;
  bool ok = WriteAllAt(fd, bytes.substr(same), same) &&
            ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
  if (ok) MakeLaterThan(fd, previous);
  ok = ok && fsync(fd) == 0;
  if (!ok) {
    WriteAllAt(fd, std::string_view(old).substr(std::min(same, old.size())), same);
    if (ftruncate(fd, static_cast<off_t>(old.size())) == 0) fsync(fd);
    return WriteResult::FileRefused;
  }
  return WriteResult::Written;
}

}  // namespace

StoreLock::StoreLock(StoreLock&& other) noexcept
    : m_handle(other.m_handle),
      m_kind(other.m_kind),
      m_refusal(other.m_refusal),
      m_target(std::move(other.m_target)) {
  other.m_handle = kNone;
}

StoreLock::~StoreLock() {
  if (m_handle != kNone) close(static_cast<int>(m_handle));  // closing releases the flock
}

StoreFile::StoreFile(std::string path) : m_path(std::move(path)) {}

StoreFile::~StoreFile() {
  if (m_pinned >= 0) close(static_cast<int>(m_pinned));
}

FileStamp StoreFile::CurrentStamp(bool thorough) const {
  struct stat st;
  if (!thorough && m_pinned >= 0) {
    if (fstat(static_cast<int>(m_pinned), &st) != 0) return FileStamp{};
    // No name left: the file was replaced or deleted. A stamp of a missing
    // file can never equal that of the loaded one, so the caller reloads.
    if (st.st_nlink == 0) return FileStamp{};
    return StampOf(st);
  }
  if (stat(m_path.c_str(), &st) != 0) return FileStamp{};
  return StampOf(st);
}

void StoreFile::Pin(int fd) {
  if (m_pinned >= 0) close(static_cast<int>(m_pinned));
  m_pinned = fd;
}

LoadResult StoreFile::Load(std::string& bytes, FileStamp& stamp) {
  bytes.clear();
  stamp = FileStamp{};
  Pin(-1);
  int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return LoadResult::Missing;
    stamp = CurrentStamp();
    return LoadResult::Unreadable;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxStoreSize) {
    close(fd);
    stamp = CurrentStamp();
    return LoadResult::Unreadable;
  }
  bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      bytes.clear();
      stamp = CurrentStamp();
      return LoadResult::Unreadable;
    }
    if (n == 0) break;  // shrunk by an in-place writer while we read
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  Pin(fd);
  stamp = StampOf(st);
  return LoadResult::Loaded;
}

StoreLock StoreFile::Lock(int waitMs) {
  std::string target = ResolvedTarget(m_path);
  if (target.empty()) target = m_path;
  // The target's folder is the lock: it is always there, needs no file of
  // its own (so nothing is left behind, and a folder that takes no new file
  // locks as well) and is the same for every name that leads to the target.
  int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return StoreLock(WriteResult::FolderRefused, target);
  for (int waited = 0;; waited += 10) {
    if (flock(folder, LOCK_EX | LOCK_NB) == 0) break;
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMs) {
      bool busy = errno == EWOULDBLOCK || errno == EINTR;
      close(folder);
      return StoreLock(busy ? WriteResult::Busy : WriteResult::FolderRefused, target);
    }
    usleep(10000);
  }
  return StoreLock(StoreLock::Kind::Folder, folder, target);
}

WriteResult StoreFile::Write(StoreLock& lock, std::string_view bytes, const FileStamp& previous,
                             FileStamp& written) {
  if (!lock) return lock.Refusal();
  // A missing store is created through its name first, so a link whose
  // target is missing gets its target made, not itself replaced.
  std::string target = ResolvedTarget(m_path);
  if (target.empty()) {
    int made = open(m_path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (made < 0) {
      if (FolderRefusesEntries(errno)) return WriteResult::FolderRefused;
      // The name's own folder is there, yet the file cannot be made: the
      // name is a link into a folder that is not.
      if (errno == ENOENT && IsFolder(FolderOf(m_path))) return WriteResult::Unreachable;
      return WriteResult::FolderRefused;
    }
    close(made);
    target = ResolvedTarget(m_path);
    if (target.empty()) return WriteResult::Unreachable;
  }
  if (target != lock.Target()) return WriteResult::TargetChanged;

  struct stat st;
  if (stat(target.c_str(), &st) != 0) return WriteResult::TargetChanged;
  const bool hardLinked = st.st_nlink > 1;
  const std::string temp = target + ".tmp";
  int fd = -1;
  bool folderRefuses = false;
  if (!hardLinked) {
    unlink(temp.c_str());  // left over from a writer that died
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (fd < 0 && !FolderRefusesEntries(errno)) return WriteResult::FolderRefused;
    folderRefuses = fd < 0;
  }
  if (IsReadOnly()) {
    if (fd >= 0) {
      close(fd);
      unlink(temp.c_str());
    }
    // Where neither the folder nor the file may change, the folder is what
    // the user can do something about.
    return folderRefuses ? WriteResult::FolderRefused : WriteResult::FileRefused;
  }
  if (fd < 0) {
    // Renaming would split the hard links or cannot be done here: rewrite.
    int inPlace = open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (inPlace < 0) return folderRefuses ? WriteResult::FolderRefused : WriteResult::FileRefused;
    WriteResult result = RewriteInPlace(inPlace, bytes, previous);
    if (result == WriteResult::Written && fstat(inPlace, &st) == 0) {
      Pin(inPlace);
      written = StampOf(st);
    } else {
      close(inPlace);
    }
    return result;
  }
  bool ok = WriteAll(fd, bytes);
  if (ok) fchmod(fd, st.st_mode & 07777);  // the umask must not narrow the user's permissions
  if (ok) MakeLaterThan(fd, previous);
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok || rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return WriteResult::FileRefused;
  }
  // The rename itself is only durable once the folder is on disk.
  int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  // Pin what was just written, so the quick check needs no reload for it.
  int fresh = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fresh >= 0 && fstat(fresh, &st) == 0) {
    Pin(fresh);
    written = StampOf(st);
  } else {
    if (fresh >= 0) close(fresh);
    Pin(-1);
    written = CurrentStamp();
  }
  return WriteResult::Written;
}

bool StoreFile::IsReadOnly() const {
  struct stat st;
  if (stat(m_path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || access(m_path.c_str(), W_OK) != 0;
}

void StoreFile::RemoveLeftovers(int waitMs) {
  std::string target = ResolvedTarget(m_path);
  if (target.empty()) target = m_path;
  const std::string temp = target + ".tmp";
  struct stat st;
  if (lstat(temp.c_str(), &st) != 0) return;
  // Only under the lock: a live writer's temporary file is not a leftover.
  StoreLock lock = Lock(waitMs);
  if (lock && lock.Target() == target) unlink(temp.c_str());
}

}  // namespace corvane
