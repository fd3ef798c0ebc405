// Windows half of the store's file access: the core's one file adapter that
// may include <windows.h>.
#include <windows.h>

#include "launcher/StoreFileSystem.h"

namespace corvane {
namespace {

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

}  // namespace

StoreLock::StoreLock(StoreLock&& other) noexcept : m_handle(other.m_handle) {
  other.m_handle = kNone;
}

StoreLock::~StoreLock() {
  if (m_handle == kNone) return;
  HANDLE h = reinterpret_cast<HANDLE>(m_handle);
  OVERLAPPED whole{};
  UnlockFileEx(h, 0, 1, 0, &whole);
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
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp.modified = Ticks(data.ftLastWriteTime);
  stamp.changed = data.dwFileAttributes;  // a read-only flag change is a change too
  return stamp;
}

LoadResult StoreFile::Load(std::string& bytes, FileStamp& stamp) {
  bytes.clear();
  stamp = FileStamp{};
  Handle file(CreateFileA(m_path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return LoadResult::Missing;
    stamp = CurrentStamp();
    return LoadResult::Unreadable;
  }
  BY_HANDLE_FILE_INFORMATION info;
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
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                  nullptr)) {
      bytes.clear();
      stamp = CurrentStamp();
      return LoadResult::Unreadable;
    }
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  stamp.exists = true;
  stamp.size = size;
  stamp.modified = Ticks(info.ftLastWriteTime);
  stamp.changed = info.dwFileAttributes;
  return LoadResult::Loaded;
}

bool StoreFile::IsReadOnly() const {
  DWORD attributes = GetFileAttributesA(m_path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_READONLY);
}

bool StoreFile::Replace(std::string_view bytes, const FileStamp& previous, FileStamp& written) {
  const std::string temp = m_path + ".tmp";
  DeleteFileA(temp.c_str());  // left over from a writer that died
  {
    Handle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
      DWORD put = 0;
      ok = WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put,
                     nullptr) &&
           put > 0;
      done += put;
    }
    // Clock ticks are coarse (up to 16 ms): a same-size rewrite in one tick
    // would otherwise look unchanged to every reader's cheap check.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    int64_t stampTicks = Ticks(now);
    if (previous.exists && stampTicks <= previous.modified) stampTicks = previous.modified + 1;
    FILETIME when = FileTimeOf(stampTicks);
    ok = ok && SetFileTime(file.get(), nullptr, nullptr, &when) && FlushFileBuffers(file.get());
    if (!ok) {
      CloseHandle(file.release());
      DeleteFileA(temp.c_str());
      return false;
    }
  }
  // A reader or a virus scanner holding the old file open can make the
  // replace fail for a moment; try again briefly before giving up.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExA(temp.c_str(), m_path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      break;
    DWORD error = GetLastError();
    bool transient = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
    if (!transient || attempt == 100 || IsReadOnly()) {
      DeleteFileA(temp.c_str());
      return false;
    }
    Sleep(10);
  }
  written = CurrentStamp();
  return true;
}

StoreLock StoreFile::Lock() {
  // Hidden: the lock file is bookkeeping, not something for the user.
  Handle file(CreateFileA((m_path + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!file.valid()) return StoreLock(StoreLock::kNone);
  OVERLAPPED whole{};
  if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole))
    return StoreLock(StoreLock::kNone);
  return StoreLock(reinterpret_cast<intptr_t>(file.release()));
}

}  // namespace corvane
