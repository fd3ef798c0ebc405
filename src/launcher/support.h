// Unit support: the shell helpers the link editor calls (special folders, the
// Startup shortcut, copying into the program's folder, starting files), and
// later the link editor itself. Windows only; holds no state of its own.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/Files.h"

namespace corvane {

// A failed COM call, carrying its HRESULT and the system's text for it; the
// framework shows the message and the user's action ends there.
class ComError : public std::runtime_error {
 public:
  explicit ComError(HRESULT code);
  HRESULT Code() const { return m_code; }

 private:
  HRESULT m_code;
};

// The system's message text for an HRESULT, without the trailing line break;
// a generic text with the code in hex when the system has none.
std::string SystemErrorText(HRESULT code);

// File-system path of a shell special folder (a CSIDL value), or empty when
// the shell cannot name it or it is not a file-system folder.
std::string SpecialFolderPath(int csidl);

// Queries (queryOnly) or toggles the shell link "<exe name>.lnk" in the current
// user's Startup folder that starts exePath, in its own folder, with the
// arguments name. Returns whether the shortcut existed before the call; False
// without a Startup folder.
// Throws ComError when the shell link object cannot be created.
bool StartupShortcut(const std::string& exePath, const std::string& name, bool queryOnly);

// Copies source into the executable's folder, replacing a file of the same
// name, and returns the copy's path whether or not the copy worked.
std::string CopyToProgramFolder(const std::string& source);

// Asks the shell to open fileName with the verb operation (empty: the default
// verb) and parameters params; the shell's result, above 32 when it accepted
// the request, otherwise an error code (SE_ERR_NOASSOC, a system error).
INT_PTR ShellOpen(const std::string& operation, const std::string& fileName,
                  const std::string& params, HWND owner = nullptr);

// ShellOpen as a yes or no: True when the shell accepted the request.
bool ExecuteFile(const std::string& operation, const std::string& fileName,
                 const std::string& params, HWND owner = nullptr);

}  // namespace corvane
