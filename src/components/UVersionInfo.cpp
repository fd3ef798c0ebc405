#include "components/UVersionInfo.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Files.h"

namespace corvane {

namespace {

using Clock = std::chrono::steady_clock;

// An update-information file is a few lines; anything far larger is not one
// and must not be allowed to fill the disk.
constexpr DWORD kMaxDownloadBytes = 1 << 20;

// The download thread's own deadline comes this much (at most a tenth of
// the limit) before the caller's, so it can normally clean up after itself
// before the caller stops waiting and leaves it behind.
constexpr std::chrono::milliseconds kCleanupGrace{1000};

// Folder part of a path, ending in a separator (empty for a bare name).
std::string FolderOf(const std::string& path) {
  size_t i = path.find_last_of("\\/:");
  return i == std::string::npos ? std::string{} : path.substr(0, i + 1);
}

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET h) : m_handle(h) {}
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() {
    if (m_handle) InternetCloseHandle(m_handle);
  }
  HINTERNET Get() const { return m_handle; }

 private:
  HINTERNET m_handle;
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : m_handle(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  HANDLE Get() const { return m_handle; }
  bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
  void Close() {
    if (Valid()) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE m_handle;
};

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  size_t n = std::strlen(prefix);
  return text.size() >= n && _strnicmp(text.c_str(), prefix, n) == 0;
}

DWORD MillisecondsLeft(Clock::time_point deadline) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<DWORD>(left) : 1;
}

// State shared between the caller and the download thread. The caller may
// stop waiting before the thread ends; whoever is last frees it.
struct DownloadJob {
  std::string url;
  std::string tempPath;
  Clock::time_point deadline;

  std::mutex mutex;
  std::condition_variable finishedSignal;
  bool finished = false;
  bool abandoned = false;
  bool succeeded = false;
};

// The transfer itself, on the download thread: status 200, the announced
// length, everything written. Each blocking WinINet call gets the time still
// left, so the thread also ends soon after the deadline.
bool Transfer(const DownloadJob& job) {
  if (!StartsWithNoCase(job.url, "http://") && !StartsWithNoCase(job.url, "https://")) return false;

  InternetHandle session(
      InternetOpenA("Corvane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session.Get()) return false;
  DWORD timeout = MillisecondsLeft(job.deadline);
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                       INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
    InternetSetOptionA(session.Get(), option, &timeout, sizeof timeout);

  // Always the server's current file: a cached copy would hide a new update.
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                      INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
  InternetHandle request(InternetOpenUrlA(session.Get(), job.url.c_str(), nullptr, 0, flags, 0));
  if (!request.Get() || Clock::now() >= job.deadline) return false;

  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoA(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                      &size, nullptr) ||
      status != 200)
    return false;
  DWORD announced = 0;
  size = sizeof announced;
  bool hasLength = HttpQueryInfoA(request.Get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                  &announced, &size, nullptr);
  if (hasLength && announced > kMaxDownloadBytes) return false;

  FileHandle file(CreateFileA(job.tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  DWORD total = 0;
  char buffer[16384];
  for (;;) {
    if (Clock::now() >= job.deadline) return false;
    // A read that waits for the next bytes must not outlast the deadline.
    DWORD left = MillisecondsLeft(job.deadline);
    InternetSetOptionA(request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &left, sizeof left);
    // A read returns only once its whole buffer is full, which a server
    // sending a byte at a time could put off for ever; asking what has
    // arrived first keeps every read to bytes that are already here.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0)) return false;
    if (available == 0) break;
    DWORD got = 0;
    if (!InternetReadFile(request.Get(), buffer, std::min<DWORD>(available, sizeof buffer), &got))
      return false;
    if (got == 0) break;
    total += got;
    if (total > kMaxDownloadBytes) return false;
    DWORD written = 0;
    if (!WriteFile(file.Get(), buffer, got, &written, nullptr) || written != got) return false;
  }
  // A connection that closed early ends the reads like a complete body does;
  // only the announced length tells them apart.
  if (hasLength && total != announced) return false;
  file.Close();
  return true;
}

void RunDownload(std::shared_ptr<DownloadJob> job) {
  bool ok = false;
  try {
    ok = Transfer(*job);
  } catch (...) {
    ok = false;
  }
  std::lock_guard<std::mutex> lock(job->mutex);
  if (!ok || job->abandoned) DeleteFileA(job->tempPath.c_str());
  job->succeeded = ok;
  job->finished = true;
  job->finishedSignal.notify_all();
}

}  // namespace

bool FetchUrlToFile(const std::string& url, const std::string& fileName,
                    std::chrono::milliseconds limit) {
  try {
    auto job = std::make_shared<DownloadJob>();
    job->url = url;
    const auto callerDeadline = Clock::now() + limit;
    job->deadline = callerDeadline - std::min<std::chrono::milliseconds>(kCleanupGrace, limit / 10);

    // The temporary file lies beside the target so the final move is a
    // rename on one volume. It is made only once the server has said 200,
    // so a download abandoned while waiting leaves nothing behind.
    static std::atomic<unsigned> serial{0};
    char temp[64];
    std::snprintf(temp, sizeof temp, "cvu%lx_%x.tmp",
                  static_cast<unsigned long>(GetCurrentProcessId()), serial.fetch_add(1));
    job->tempPath = FolderOf(fileName) + temp;

    // WinINet's own time-outs bound single operations, not a server that
    // trickles bytes or a connect the platform will not abandon, so the wait
    // happens here against the deadline and the thread is left to finish.
    std::thread(RunDownload, job).detach();

    std::unique_lock<std::mutex> lock(job->mutex);
    if (!job->finishedSignal.wait_until(lock, callerDeadline, [&] { return job->finished; })) {
      job->abandoned = true;
      return false;
    }
    if (!job->succeeded) return false;
    if (MoveFileExA(job->tempPath.c_str(), fileName.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
      return true;
    DeleteFileA(job->tempPath.c_str());
    return false;
  } catch (...) {
    return false;
  }
}

UpdateFileInfo ReadUpdateInfoFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return {};
  std::string text;
  char buffer[8192];
  DWORD got = 0;
  while (text.size() < kMaxDownloadBytes &&
         ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  return ParseUpdateInfo(text);
}

TVersionInfo::TVersionInfo(TComponent* owner) : TComponent(owner) {
  ReadVersionInfo(ExecutablePath());
}

TPropValue TVersionInfo::GetProperty(std::string_view name) const {
  if (name == "URL") return URL;
  return TComponent::GetProperty(name);
}

bool TVersionInfo::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "URL") {
    if (auto text = PropText(value)) return URL = *text, true;
    return false;
  }
  return TComponent::SetProperty(name, value);
}

bool TVersionInfo::ReadVersionInfo(const std::string& fileName) {
  std::string* fields[] = {&CompanyName,    &FileDescription, &FileVersion,      &InternalName,
                           &LegalCopyright, &LegalTradeMarks, &OriginalFilename, &ProductName,
                           &ProductVersion, &Comments,        &UpdateInfo};
  static const char* const keys[] = {"CompanyName",      "FileDescription", "FileVersion",
                                     "InternalName",     "LegalCopyright",  "LegalTradeMarks",
                                     "OriginalFilename", "ProductName",     "ProductVersion",
                                     "Comments",         "UpdateInfo"};
  for (std::string* field : fields) field->clear();

  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> block(size);
  if (GetFileVersionInfoA(fileName.c_str(), 0, size, block.data()))
    for (size_t i = 0; i < std::size(fields); ++i)
      *fields[i] = QueryVersionValue(block.data(), keys[i]);
  return true;
}

bool TVersionInfo::FetchUpdateInfo() {
  UpdateInfoFile = FolderOf(ExecutablePath()) + kUpdateInfoFileName;
  // The update check reads whatever file it finds here afterwards, so last
  // time's answer must not survive a failed fetch.
  if (FileExists(UpdateInfoFile)) DeleteFileA(UpdateInfoFile.c_str());
  return FetchUrlToFile(URL, UpdateInfoFile, DownloadLimit);
}

std::string TVersionInfo::QueryVersionValue(const void* block, const std::string& key) {
  void* translation = nullptr;
  UINT length = 0;
  // A block without a translation table has no way to name its strings.
  if (!VerQueryValueA(block, "\\VarFileInfo\\Translation", &translation, &length) || !translation ||
      length < 4)
    return {};
  DWORD first = 0;
  std::memcpy(&first, translation, sizeof first);
  DWORD languageThenCodePage = (first >> 16) | (first << 16);

  // The key keeps its own leading backslash, giving two in a row; the
  // platform's lookup reads them as one, and stored names depend on it.
  std::vector<char> path(key.size() + 40);
  std::snprintf(path.data(), path.size(), "\\StringFileInfo\\%.8lx\\%s",
                static_cast<unsigned long>(languageThenCodePage), ("\\" + key).c_str());
  void* value = nullptr;
  if (!VerQueryValueA(block, path.data(), &value, &length) || !value) return {};
  const char* text = static_cast<const char*>(value);
  return std::string(text, strnlen(text, length));
}

}  // namespace corvane
