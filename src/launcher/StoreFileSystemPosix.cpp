// POSIX half of the store's file access.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Renames replace a symbolic link itself; the store behind it is the target.
std::string WriteTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* resolved = realpath(path.c_str(), nullptr)) {
      std::string target = resolved;
      std::free(resolved);
      return target;
    }
  }
  return path;
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

StoreLock::StoreLock(StoreLock&& other) noexcept : m_handle(other.m_handle) {
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
    if (n == 0) break;  // shrunk by an in-place editor while we read
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  Pin(fd);
  stamp = StampOf(st);
  return LoadResult::Loaded;
}

bool StoreFile::IsReadOnly() const {
  struct stat st;
  if (stat(m_path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || access(m_path.c_str(), W_OK) != 0;
}

bool StoreFile::Replace(std::string_view bytes, const FileStamp& previous, FileStamp& written) {
  const std::string target = WriteTarget(m_path);
  const std::string temp = target + ".tmp";
  unlink(temp.c_str());  // left over from a writer that died
  struct stat old;
  bool hadFile = stat(target.c_str(), &old) == 0;
  mode_t mode = hadFile ? (old.st_mode & 07777) : 0666;
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  if (ok && hadFile) fchmod(fd, mode);  // the umask must not narrow the user's permissions
  if (ok) MakeLaterThan(fd, previous);
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok || rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  // The rename itself is only durable once the folder is on disk.
  int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  // Pin what was just written, so the quick check needs no reload for it.
  int fresh = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fresh >= 0 && fstat(fresh, &st) == 0) {
    Pin(fresh);
    written = StampOf(st);
  } else {
    if (fresh >= 0) close(fresh);
    Pin(-1);
    written = CurrentStamp();
  }
  return true;
}

StoreLock StoreFile::Lock() {
  int fd = open((m_path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return StoreLock(StoreLock::kNone);
  while (flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      close(fd);
      return StoreLock(StoreLock::kNone);
    }
  }
  return StoreLock(fd);
}

}  // namespace corvane
