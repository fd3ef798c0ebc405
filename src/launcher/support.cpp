#include "launcher/support.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace corvane {

namespace {

// Holds one COM interface reference and releases it on every path out.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (m_ptr) m_ptr->Release();
  }
  Interface* Get() const { return m_ptr; }
  Interface* operator->() const { return m_ptr; }
  // Out-parameter for creation calls; only valid while empty.
  void** Out() { return reinterpret_cast<void**>(&m_ptr); }

 private:
  Interface* m_ptr = nullptr;
};

// Item-id lists from the shell are allocated by the COM task allocator.
class ItemIdList {
 public:
  ItemIdList() = default;
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  ~ItemIdList() { CoTaskMemFree(m_list); }
  LPITEMIDLIST Get() const { return m_list; }
  LPITEMIDLIST* Out() { return &m_list; }

 private:
  LPITEMIDLIST m_list = nullptr;
};

// The shell link object and its two interfaces, spelled out so the program
// does not depend on which GUID definitions a given SDK exports.
constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kShellLinkAInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kPersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool IsPathSeparator(char c) {
  return c == '\\' || c == '/' || c == ':';
}

std::string FilePart(const std::string& path) {
  size_t i = path.size();
  while (i > 0 && !IsPathSeparator(path[i - 1])) --i;
  return path.substr(i);
}

// The folder part including its final separator, as the shell expects when a
// name is appended directly.
std::string FolderPart(const std::string& path) {
  size_t i = path.size();
  while (i > 0 && !IsPathSeparator(path[i - 1])) --i;
  return path.substr(0, i);
}

std::string WithLinkExtension(const std::string& fileName) {
  size_t dot = fileName.rfind('.');
  std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
  return stem + ".lnk";
}


bool IsExistingFileW(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether two names reach the same file on disk. Copying a file onto itself
// would truncate it on some platforms, so the copy must be skipped then.
bool IsSameFile(const std::string& a, const std::string& b) {
  auto open = [](const std::string& path) {
    return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE first = open(a);
  if (first == INVALID_HANDLE_VALUE) return false;
  HANDLE second = open(b);
  bool same = false;
  if (second != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION infoA{}, infoB{};
    if (GetFileInformationByHandle(first, &infoA) && GetFileInformationByHandle(second, &infoB))
      same = infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
             infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
             infoA.nFileIndexLow == infoB.nFileIndexLow;
    CloseHandle(second);
  }
  CloseHandle(first);
  if (same) return true;
  // Some file systems report no file index; fall back to the full names.
  char fullA[MAX_PATH * 4], fullB[MAX_PATH * 4];
  DWORD lengthA = GetFullPathNameA(a.c_str(), sizeof fullA, fullA, nullptr);
  DWORD lengthB = GetFullPathNameA(b.c_str(), sizeof fullB, fullB, nullptr);
  if (lengthA == 0 || lengthA >= sizeof fullA || lengthB == 0 || lengthB >= sizeof fullB)
    return false;
  // As the file system compares names: letter case ignored in any script.
  const std::wstring wideA = Utf8ToWide(fullA), wideB = Utf8ToWide(fullB);
  return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                              static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string SystemErrorText(HRESULT code) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result;
  if (length > 0 && text) result.assign(text, length);
  LocalFree(text);
  while (!result.empty() &&
         (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    result.pop_back();
  if (result.empty()) {
    char fallback[48];
    std::snprintf(fallback, sizeof fallback, "Unknown error 0x%08lX",
                  static_cast<unsigned long>(code));
    result = fallback;
  }
  return result;
}

ComError::ComError(HRESULT code) : std::runtime_error(SystemErrorText(code)), m_code(code) {}

std::string SpecialFolderPath(int csidl) {
  ItemIdList list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.Out())) || !list.Get()) return {};
  // The wide call: a folder of MAX_PATH characters can take three times as
  // many bytes in UTF-8, more than the narrow call's fixed buffer holds.
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(list.Get(), path)) return {};
  return WideToUtf8(path);
}

bool StartupShortcut(const std::string& exePath, const std::string& name, bool queryOnly) {
  ComRef<IUnknown> object;
  HRESULT result =
      CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IUnknown, object.Out());
  if (FAILED(result)) throw ComError(result);

  ComRef<IShellLinkA> link;
  ComRef<IPersistFile> file;
  if (FAILED(result = object->QueryInterface(kShellLinkAInterface, link.Out())))
    throw ComError(result);
  if (FAILED(result = object->QueryInterface(kPersistFileInterface, file.Out())))
    throw ComError(result);

  link->SetPath(exePath.c_str());
  link->SetArguments(name.c_str());
  // Started from its own folder, as when the user opens it there.
  std::string folder = FolderPart(exePath);
  if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':') folder.pop_back();
  link->SetWorkingDirectory(folder.c_str());

  std::string startup = SpecialFolderPath(CSIDL_STARTUP);
  std::string linkName = WithLinkExtension(FilePart(exePath));
  if (startup.empty()) return false;

  std::wstring full = Utf8ToWide(startup + "\\" + linkName);
  bool existed = IsExistingFileW(full);
  if (queryOnly) return existed;
  if (existed)
    DeleteFileW(full.c_str());
  else
    file->Save(full.c_str(), FALSE);
  return existed;
}

std::string CopyToProgramFolder(const std::string& source) {
  std::string dir = FolderPart(ExecutablePath());
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  std::string dest = dir + FilePart(source);
  if (!IsSameFile(source, dest)) CopyFileA(source.c_str(), dest.c_str(), FALSE);
  return dest;
}

INT_PTR ShellOpen(const std::string& operation, const std::string& fileName,
                  const std::string& params, HWND owner) {
  HINSTANCE result = ShellExecuteA(owner, operation.empty() ? nullptr : operation.c_str(),
                                   fileName.c_str(), params.c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result);
}

bool ExecuteFile(const std::string& operation, const std::string& fileName,
                 const std::string& params, HWND owner) {
  return ShellOpen(operation, fileName, params, owner) > 32;
}

}  // namespace corvane
