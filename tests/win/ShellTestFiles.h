// File helpers for the shell and update tests: a scratch folder that is
// removed with everything in it, whole-file reads and writes, and the test
// program's own folder (where the program keeps its files).
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane::testing {

inline std::string ExeFolder() {
  char path[MAX_PATH * 4];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string exe(path, length);
  return exe.substr(0, exe.find_last_of('\\') + 1);
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(h);
  return ok;
}

// The file's bytes, or "<missing>" when it cannot be opened.
inline std::string ReadWholeFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(h);
  return text;
}

// Names of the entries of folder matching pattern (e.g. "*.tmp").
inline std::vector<std::string> ListFolder(const std::string& folder, const char* pattern = "*") {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

// A fresh folder under the temporary folder, removed with its files (one
// level deep, which is all the tests make) when the test ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    m_path = std::string(temp) + "shell-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter) + "\\";
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const std::string& name : ListFolder(m_path)) {
      std::string full = m_path + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(full.c_str())) RemoveDirectoryA(full.c_str());
    }
    RemoveDirectoryA(m_path.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // The folder's path, ending in a backslash.
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// Target path, arguments and working folder of a saved shell link, read
// back through COM (the texts in the program's code page, UTF-8).
struct LinkContents {
  std::string path;
  std::string arguments;
  std::string folder;
};

inline LinkContents ReadLink(const std::string& linkPath) {
  LinkContents contents;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return contents;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring wide(linkPath.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(std::max(
        MultiByteToWideChar(CP_UTF8, 0, linkPath.c_str(), -1, wide.data(),
                            static_cast<int>(wide.size())) - 1, 0)));
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
      char buffer[MAX_PATH * 4] = {};
      if (SUCCEEDED(link->GetPath(buffer, sizeof buffer, nullptr, 0))) contents.path = buffer;
      buffer[0] = '\0';
      if (SUCCEEDED(link->GetArguments(buffer, sizeof buffer))) contents.arguments = buffer;
      buffer[0] = '\0';
      if (SUCCEEDED(link->GetWorkingDirectory(buffer, sizeof buffer))) contents.folder = buffer;
    }
    file->Release();
  }
  link->Release();
  return contents;
}

}  // namespace corvane::testing
