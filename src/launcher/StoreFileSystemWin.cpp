// Windows half of the store's file access: the core's one file adapter that
// may include <windows.h>.
#include <windows.h>

#include "core/Utf8.h"
#include "launcher/StoreFileSystem.h"

namespace corvane {
namespace {

// Two full paths name the same place when they are equal as the file system
// compares names: letter case ignored in any script.
bool SamePath(const std::string& a, const std::string& b) {
  const std::u16string wideA = Utf8ToUtf16(a), wideB = Utf8ToUtf16(b);
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(wideA.c_str()),
                              static_cast<int>(wideA.size()),
                              reinterpret_cast<const wchar_t*>(wideB.c_str()),
                              static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

constexpr uint64_t kMaxStoreSize = uint64_t{256} << 20;

int64_t Ticks(const FILETIME& t) {
  return static_cast<int64_t>((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime);
}

FILETIME FileTimeOf(int64_t ticks) {
  FILETIME t;
  t.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) & 0xFFFFFFFFu);
  t.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
  return t;
}

class Handle {
 public:
  explicit Handle(HANDLE h) : m_h(h) {}
  ~Handle() {
    if (m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return m_h; }
  bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE h = m_h;
    m_h = INVALID_HANDLE_VALUE;
    return h;
  }

 private:
  HANDLE m_h;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A program that holds the file for a moment (a reader, a virus scanner, a
// backup) is waited for this long before a read gives up as busy.
constexpr int kBusyReadMs = 250;
// Where the folder takes no new lock file, writers lock this byte of the
// store itself, far beyond any content, so readers are never blocked by it.
constexpr DWORD kMutexOffsetHigh = 0x40000000;  // 2^62
// While a file is rewritten in place, its content range is locked: Windows
// then makes every other reader wait until the new content is whole.
constexpr DWORD kContentRangeHigh = kMutexOffsetHigh;

bool IsBusyError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

bool FolderRefusesEntries(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
         error == ERROR_NOT_SUPPORTED || error == ERROR_NETWORK_ACCESS_DENIED;
}

// Asked of the file a link leads to: Windows' own links carry attributes of
// their own.
bool IsReadOnlyFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_READONLY);
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The path a user knows for a final path: without the "\\?\" prefix, and
// with "\\?\UNC\server\share" as "\\server\share".
std::string UserPath(std::string path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + path.substr(7);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

struct Resolved {
  bool exists = false;
  // The file the store's name leads to: the name itself unless it is a
  // link (symbolic links made outside Windows look like plain files to
  // every call but this one), in which case the file it leads to.
  std::string target;
  DWORD links = 1;
};

Resolved Resolve(const std::string& path) {
  Resolved r;
  r.target = path;
  Handle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return r;
  r.exists = true;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(file.get(), &info)) r.links = info.nNumberOfLinks;
  char final[MAX_PATH * 4] = {};
  DWORD n = GetFinalPathNameByHandleA(file.get(), final, sizeof final,
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0 || n >= sizeof final) return r;  // some shares cannot say; the name is the file
  std::string target = UserPath(final);
  char full[MAX_PATH * 4] = {};
  n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (n > 0 && n < sizeof full && SamePath(full, target)) return r;
  r.target = target;
  return r;
}

FileStamp StampOf(const BY_HANDLE_FILE_INFORMATION& info) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  stamp.modified = Ticks(info.ftLastWriteTime);
  stamp.changed = info.dwFileAttributes;  // a read-only flag change is a change too
  return stamp;
}

bool WriteAllAt(HANDLE file, std::string_view bytes, uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
  while (!bytes.empty()) {
    DWORD put = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) || put == 0)
      return false;
    bytes.remove_prefix(put);
  }
  return true;
}

bool SetLength(HANDLE file, uint64_t length) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(length);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// Clock ticks are coarse (up to 16 ms): a same-size rewrite in one tick
// would otherwise look unchanged to every reader's cheap check.
bool StampLaterThan(HANDLE file, const FileStamp& previous) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  int64_t stampTicks = Ticks(now);
  if (previous.exists && stampTicks <= previous.modified) stampTicks = previous.modified + 1;
  FILETIME when = FileTimeOf(stampTicks);
  return SetFileTime(file, nullptr, nullptr, &when);
}

// Rewrites the open file in place, for a store that must stay the file it
// is (several hard links) or a folder that takes no new file. The safest
// sequence without a second file: the space the new content needs is taken
// first (a full disk refuses before anything changed), the content range
// is locked so that readers wait instead of seeing half a file, only the
// bytes from the first difference on are written, then the file is cut to
// length and flushed; a failure puts the old bytes back. What it cannot
// give: a crash, kill or power cut during those few writes leaves the file
// part new, part old.
WriteResult RewriteInPlace(HANDLE file, std::string_view bytes, const FileStamp& previous,
                           FileStamp& written) {
  OVERLAPPED content{};
  // Best effort: Wine does not make readers wait for it; Windows does.
  bool contentLocked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 0, kContentRangeHigh, &content);
  auto unlock = [&] {
    if (contentLocked) UnlockFileEx(file, 0, 0, kContentRangeHigh, &content);
  };
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) > kMaxStoreSize) {
    unlock();
    return WriteResult::FileRefused;
  }
  std::string old(static_cast<size_t>(size.QuadPart), '\0');
  LARGE_INTEGER start{};
  size_t done = 0;
  if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
    while (done < old.size()) {
      DWORD got = 0;
      if (!ReadFile(file, old.data() + done, static_cast<DWORD>(old.size() - done), &got, nullptr) ||
          got == 0)
        break;
      done += got;
    }
  }
  if (done != old.size() || (bytes.size() > old.size() && !SetLength(file, bytes.size()))) {
    unlock();
    return WriteResult::FileRefused;
  }
  size_t same = 0;
  while (same < old.size() && same < bytes.size() && old[same] == bytes[same]) ++same;
  bool ok = WriteAllAt(file, bytes.substr(same), same) && SetLength(file, bytes.size()) &&
            StampLaterThan(file, previous) && FlushFileBuffers(file);
  if (!ok) {
    WriteAllAt(file, std::string_view(old).substr(same), same);
    SetLength(file, old.size());
    FlushFileBuffers(file);
    unlock();
    return WriteResult::FileRefused;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(file, &info)) written = StampOf(info);
  unlock();
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
  if (m_handle == kNone) return;
  HANDLE h = reinterpret_cast<HANDLE>(m_handle);
  OVERLAPPED at{};
  if (m_kind == Kind::StoreRange) at.OffsetHigh = kMutexOffsetHigh;
  UnlockFileEx(h, 0, 1, 0, &at);
  // A lock file was opened to be deleted on close: once the last writer
  // lets go, it is gone.
  CloseHandle(h);
}

StoreFile::StoreFile(std::string path) : m_path(std::move(path)) {}

StoreFile::~StoreFile() = default;

// Windows keeps nothing open between operations: an open store file could
// make another program's replace of it fail.
void StoreFile::Pin(int) {}

FileStamp StoreFile::CurrentStamp(bool) const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(m_path.c_str(), GetFileExInfoStandard, &data)) return FileStamp{};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // Windows' own symbolic links report themselves, not the file they
    // lead to; ask the file through a handle instead.
    Handle file(CreateFileA(m_path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                            OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) return FileStamp{};
    return StampOf(info);
  }
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp.modified = Ticks(data.ftLastWriteTime);
  stamp.changed = data.dwFileAttributes;
  return stamp;
}

LoadResult StoreFile::Load(std::string& bytes, FileStamp& stamp) {
  for (int waited = 0;; waited += 10) {
    bytes.clear();
    stamp = FileStamp{};
    Handle file(CreateFileA(m_path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD error = file.valid() ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return LoadResult::Missing;
    BY_HANDLE_FILE_INFORMATION info;
    if (file.valid()) {
      if (!GetFileInformationByHandle(file.get(), &info) ||
          (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp = CurrentStamp();
        return LoadResult::Unreadable;
      }
      uint64_t size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
      if (size > kMaxStoreSize) {
        stamp = CurrentStamp();
        return LoadResult::Unreadable;
      }
      bytes.resize(static_cast<size_t>(size));
      size_t done = 0;
      while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                      &got, nullptr)) {
          error = GetLastError();
          break;
        }
        if (got == 0) break;
        done += got;
      }
      if (error == ERROR_SUCCESS) {
        bytes.resize(done);
        stamp = StampOf(info);
        return LoadResult::Loaded;
      }
    }
    if (!IsBusyError(error)) {
      bytes.clear();
      stamp = CurrentStamp();
      return LoadResult::Unreadable;
    }
    if (waited >= kBusyReadMs) {
      bytes.clear();
      return LoadResult::Busy;
    }
    Sleep(10);
  }
}

bool StoreFile::IsReadOnly() const { return IsReadOnlyFile(m_path); }

StoreLock StoreFile::Lock(int waitMs) {
  const std::string target = Resolve(m_path).target;
  const std::string lockPath = target + ".lock";
  const DWORD start = GetTickCount();
  auto timeLeft = [&] { return static_cast<int>(GetTickCount() - start) < waitMs; };
  // The lock file beside the target is deleted by the system once its last
  // handle closes, also when a writer is killed: nothing is left behind. A
  // lock file an older version left in place is opened the same way and so
  // goes too. Hidden: it is bookkeeping, not something for the user.
  for (;;) {
    HANDLE h = CreateFileA(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      StoreLock lock(StoreLock::Kind::LockFile, reinterpret_cast<intptr_t>(h), target);
      for (;;) {
        OVERLAPPED whole{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole))
          return lock;
        if (!timeLeft()) return StoreLock(WriteResult::Busy, target);
        Sleep(10);
      }
    }
    DWORD error = GetLastError();
    // A lock file whose last holder is just letting go refuses new opens
    // for a moment (its deletion is pending); only a refusal with no lock
    // file there says the folder takes no new file.
    DWORD attributes = GetFileAttributesA(lockPath.c_str());
    DWORD attributesError = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    bool lockFileThere =
        attributesError != ERROR_FILE_NOT_FOUND && attributesError != ERROR_PATH_NOT_FOUND;
    if (IsBusyError(error) || (error == ERROR_ACCESS_DENIED && lockFileThere)) {
      if (!timeLeft()) return StoreLock(WriteResult::Busy, target);
      Sleep(10);
      continue;
    }
    if (!FolderRefusesEntries(error)) return StoreLock(WriteResult::FolderRefused, target);
    break;
  }
  // The folder takes no new file: the store itself is the lock, and every
  // write to it is then made in place.
  for (;;) {
    Handle store(CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!store.valid()) {
      if (IsBusyError(GetLastError()) && timeLeft()) {
        Sleep(10);
        continue;
      }
      return StoreLock(IsBusyError(GetLastError()) ? WriteResult::Busy : WriteResult::FolderRefused,
                       target);
    }
    for (;;) {
      OVERLAPPED mutex{};
      mutex.OffsetHigh = kMutexOffsetHigh;
      if (LockFileEx(store.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                     &mutex))
        return StoreLock(StoreLock::Kind::StoreRange, reinterpret_cast<intptr_t>(store.release()),
                         target);
      if (!timeLeft()) return StoreLock(WriteResult::Busy, target);
      Sleep(10);
    }
  }
}

WriteResult StoreFile::Write(StoreLock& lock, std::string_view bytes, const FileStamp& previous,
                             FileStamp& written) {
  if (!lock) return lock.Refusal();
  if (lock.m_kind == StoreLock::Kind::StoreRange) {
    written = FileStamp{};
    return RewriteInPlace(reinterpret_cast<HANDLE>(lock.m_handle), bytes, previous, written);
  }
  Resolved resolved = Resolve(m_path);
  if (!resolved.exists) {
    // A missing store is created through its name first, so a link whose
    // target is missing gets its target made, not itself replaced.
    Handle made(CreateFileA(m_path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!made.valid()) {
      DWORD error = GetLastError();
      if (IsBusyError(error)) return WriteResult::Busy;
      // The name's own folder is there, yet no file can be made by it: the
      // name is a link into a place that is not.
      if ((error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) &&
          IsFolder(FolderOf(m_path)))
        return WriteResult::Unreachable;
      return WriteResult::FolderRefused;
    }
    resolved = Resolve(m_path);
    if (!resolved.exists) return WriteResult::Unreachable;
  }
  if (!SamePath(resolved.target, lock.Target()))
    return WriteResult::TargetChanged;
  const std::string& target = resolved.target;
  if (IsReadOnlyFile(target)) return WriteResult::FileRefused;

  auto rewrite = [&](bool folderRefuses) {
    Handle file(CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      if (IsBusyError(GetLastError())) return WriteResult::Busy;
      return folderRefuses ? WriteResult::FolderRefused : WriteResult::FileRefused;
    }
    written = FileStamp{};
    return RewriteInPlace(file.get(), bytes, previous, written);
  };
  // Renaming a file over one of several hard links would split them.
  if (resolved.links > 1) return rewrite(false);

  const std::string temp = target + ".tmp";
  DeleteFileA(temp.c_str());  // left over from a writer that died
  {
    Handle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      DWORD error = GetLastError();
      return FolderRefusesEntries(error) ? rewrite(true) : WriteResult::FolderRefused;
    }
    bool ok = WriteAllAt(file.get(), bytes, 0) && StampLaterThan(file.get(), previous) &&
              FlushFileBuffers(file.get());
    if (!ok) {
      CloseHandle(file.release());
      DeleteFileA(temp.c_str());
      return WriteResult::FileRefused;
    }
  }
  // A reader or a virus scanner holding the old file open can make the
  // replace fail for a moment; try again briefly before giving up.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExA(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      break;
    DWORD error = GetLastError();
    bool transient = error == ERROR_ACCESS_DENIED || IsBusyError(error);
    if (!transient || attempt == 100 || IsReadOnlyFile(target)) {
      DeleteFileA(temp.c_str());
      if (!transient || IsReadOnlyFile(target)) return WriteResult::FileRefused;
      // Still held: busy when another program keeps the file open without
      // letting it be replaced, refused when the file itself says no.
      Handle probe(CreateFileA(target.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
      return probe.valid() || IsBusyError(GetLastError()) ? WriteResult::Busy
                                                          : WriteResult::FileRefused;
    }
    Sleep(10);
  }
  written = CurrentStamp();
  return WriteResult::Written;
}

void StoreFile::RemoveLeftovers(int waitMs) {
  const std::string target = Resolve(m_path).target;
  const std::string temp = target + ".tmp";
  if (!Exists(temp) && !Exists(target + ".lock")) return;
  // Only under the lock: a live writer's temporary file is not a leftover.
  // Letting go of the lock removes a lock file an older version left.
  StoreLock lock = Lock(waitMs);
  if (lock && lock.m_kind == StoreLock::Kind::LockFile) DeleteFileA(temp.c_str());
}

}  // namespace corvane
