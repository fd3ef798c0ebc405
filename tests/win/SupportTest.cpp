// The shell helpers against the real shell and COM under Wine: the Startup
// shortcut in the prefix's own Startup folder (left as it was found), copies
// into the program's folder, and files started through the shell.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "ShellTestFiles.h"
#include "launcher/support.h"

namespace corvane {
namespace {

using namespace corvane::testing;

// Keeps a file in the Startup folder as it was: whatever lies there under
// the name is put back, byte for byte, when the test ends.
class StartupEntryGuard {
 public:
  explicit StartupEntryGuard(std::string path) : m_path(std::move(path)) {
    m_existed = Exists(m_path);
    if (m_existed) m_bytes = ReadWholeFile(m_path);
    DeleteFileA(m_path.c_str());
  }
  ~StartupEntryGuard() {
    DeleteFileA(m_path.c_str());
    RemoveDirectoryA(m_path.c_str());
    if (m_existed) WriteWholeFile(m_path, m_bytes);
  }
  StartupEntryGuard(const StartupEntryGuard&) = delete;
  StartupEntryGuard& operator=(const StartupEntryGuard&) = delete;

 private:
  std::string m_path;
  bool m_existed = false;
  std::string m_bytes;
};

std::string StartupFolder() {
  return SpecialFolderPath(CSIDL_STARTUP);
}

TEST(SpecialFolderPath, NamesTheStartupFolderAndNothingForVirtualFolders) {
  std::string startup = StartupFolder();
  ASSERT_FALSE(startup.empty());
  DWORD attributes = GetFileAttributesA(startup.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << startup;
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_NE(startup.back(), '\\');
  // The computer and the control panel have item ids but no file-system path.
  EXPECT_EQ(SpecialFolderPath(CSIDL_DRIVES), "");
  EXPECT_EQ(SpecialFolderPath(CSIDL_CONTROLS), "");
  EXPECT_EQ(SpecialFolderPath(0x7F), "");
}

TEST(StartupShortcut, QueryToggleQueryToggleCreatesPointsAndDeletes) {
  std::string exe = ExecutablePath();
  std::string link = StartupFolder() + "\\win_tests.lnk";
  StartupEntryGuard guard(link);

  EXPECT_FALSE(StartupShortcut(exe, "Corvane", true));
  EXPECT_FALSE(Exists(link)) << "a query must not save the link";

  EXPECT_FALSE(StartupShortcut(exe, "Corvane", false));
  ASSERT_TRUE(Exists(link));
  LinkContents contents = ReadLink(link);
  EXPECT_EQ(lstrcmpiA(contents.path.c_str(), exe.c_str()), 0) << contents.path << " vs " << exe;
  EXPECT_EQ(contents.arguments, "Corvane");

  EXPECT_TRUE(StartupShortcut(exe, "Corvane", true));
  EXPECT_TRUE(Exists(link));
  EXPECT_TRUE(StartupShortcut(exe, "Corvane", false));
  EXPECT_FALSE(Exists(link));
  EXPECT_FALSE(StartupShortcut(exe, "Corvane", true));
}

TEST(StartupShortcut, ToggleDeletesAnyFileOfTheShortcutsName) {
  std::string link = StartupFolder() + "\\shell_foreign.lnk";
  StartupEntryGuard guard(link);
  ASSERT_TRUE(WriteWholeFile(link, "made by someone else"));
  EXPECT_TRUE(StartupShortcut("C:\\elsewhere\\shell_foreign.exe", "Corvane", true));
  EXPECT_TRUE(StartupShortcut("C:\\elsewhere\\shell_foreign.exe", "Corvane", false));
  EXPECT_FALSE(Exists(link));
}

TEST(StartupShortcut, CopiesWithOneExecutableNameShareOneShortcut) {
  std::string link = StartupFolder() + "\\shell_twin.lnk";
  StartupEntryGuard guard(link);
  // Only the file part of the path names the link, and the arguments play no part.
  EXPECT_FALSE(StartupShortcut("C:\\first\\shell_twin.exe", "Corvane", false));
  ASSERT_TRUE(Exists(link));
  EXPECT_EQ(ReadLink(link).arguments, "Corvane");
  EXPECT_TRUE(StartupShortcut("C:\\second\\shell_twin.program", "Other", true));
  EXPECT_TRUE(StartupShortcut("C:\\second\\shell_twin.exe", "Other", false));
  EXPECT_FALSE(Exists(link));
}

TEST(StartupShortcut, AFolderOfTheShortcutsNameIsNoShortcut) {
  std::string link = StartupFolder() + "\\shell_folder.lnk";
  StartupEntryGuard guard(link);
  ASSERT_TRUE(CreateDirectoryA(link.c_str(), nullptr));
  EXPECT_FALSE(StartupShortcut("C:\\x\\shell_folder.exe", "Corvane", true));
  // The save onto the folder fails, silently; the folder stays a folder.
  EXPECT_FALSE(StartupShortcut("C:\\x\\shell_folder.exe", "Corvane", false));
  DWORD attributes = GetFileAttributesA(link.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(StartupShortcut, WithoutComTheLinkObjectCannotBeMadeAndThatIsRaised) {
  // A thread that never initialised COM cannot create the link object.
  HRESULT code = S_OK;
  std::string message;
  bool threw = false;
  std::thread([&] {
    try {
      StartupShortcut(ExecutablePath(), "Corvane", true);
    } catch (const ComError& error) {
      threw = true;
      code = error.Code();
      message = error.what();
    }
  }).join();
  ASSERT_TRUE(threw);
  EXPECT_TRUE(FAILED(code));
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(message, SystemErrorText(code));
}

TEST(SystemErrorText, KnownCodesGetTheSystemsWordsUnknownOnesTheirNumber) {
  std::string known = SystemErrorText(E_OUTOFMEMORY);
  EXPECT_FALSE(known.empty());
  EXPECT_NE(known.back(), '\n');
  EXPECT_NE(SystemErrorText(static_cast<HRESULT>(0xA0CD1234)).find("0xA0CD1234"),
            std::string::npos);
}

TEST(CopyToProgramFolder, CopiesBesideTheExecutableAndReplacesAnOlderCopy) {
  ScratchFolder scratch;
  std::string source = scratch.Path() + "shell_picture.bin";
  std::string expected = ExeFolder() + "shell_picture.bin";
  DeleteFileA(expected.c_str());
  ASSERT_TRUE(WriteWholeFile(expected, "old picture"));
  ASSERT_TRUE(WriteWholeFile(source, std::string("new\0picture", 11)));

  EXPECT_EQ(CopyToProgramFolder(source), expected);
  EXPECT_EQ(ReadWholeFile(expected), std::string("new\0picture", 11));
  EXPECT_EQ(ReadWholeFile(source), std::string("new\0picture", 11));
  DeleteFileA(expected.c_str());
}

TEST(CopyToProgramFolder, AFileAlreadyThereKeepsItsPathAndItsBytes) {
  std::string own = ExeFolder() + "shell_resident.bin";
  ASSERT_TRUE(WriteWholeFile(own, "resident picture bytes"));
  EXPECT_EQ(CopyToProgramFolder(own), own);
  EXPECT_EQ(ReadWholeFile(own), "resident picture bytes");
  // The same file reached through another spelling of its path.
  std::string other = ExeFolder() + ".\\SHELL_RESIDENT.BIN";
  EXPECT_EQ(lstrcmpiA(CopyToProgramFolder(other).c_str(), own.c_str()), 0);
  EXPECT_EQ(ReadWholeFile(own), "resident picture bytes");
  DeleteFileA(own.c_str());
}

TEST(CopyToProgramFolder, AMissingSourceStillNamesTheDestinationAndChangesNothing) {
  ScratchFolder scratch;
  std::string expected = ExeFolder() + "shell_absent.bin";
  DeleteFileA(expected.c_str());
  EXPECT_EQ(CopyToProgramFolder(scratch.Path() + "shell_absent.bin"), expected);
  EXPECT_FALSE(Exists(expected));
}

// Waits for the helper to record its arguments; the shell starts it
// asynchronously.
std::string WaitForLog(const std::string& path) {
  for (int i = 0; i < 300; ++i) {
    std::string text = ReadWholeFile(path);
    if (text != "<missing>" && !text.empty() && text.back() == '\n') return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ReadWholeFile(path);
}

TEST(ExecuteFile, StartsAProgramWithItsParameters) {
  ScratchFolder scratch;
  std::string log = scratch.Path() + "args.txt";
  std::string helper = ExeFolder() + "shell_argv_logger.exe";
  ASSERT_TRUE(Exists(helper)) << helper;

  EXPECT_TRUE(ExecuteFile("", helper, "\"" + log + "\" alpha \"two words\""));
  EXPECT_EQ(WaitForLog(log), "alpha|two words\n");

  std::string second = scratch.Path() + "open.txt";
  EXPECT_TRUE(ExecuteFile("open", helper, "\"" + second + "\" verb"));
  EXPECT_EQ(WaitForLog(second), "verb\n");
}

TEST(ExecuteFile, AMissingFileIsRefused) {
  ScratchFolder scratch;
  EXPECT_FALSE(ExecuteFile("", scratch.Path() + "no_such_program.exe", ""));
  EXPECT_FALSE(ExecuteFile("", scratch.Path() + "no_such_folder\\file.txt", "x"));
}

}  // namespace
}  // namespace corvane
