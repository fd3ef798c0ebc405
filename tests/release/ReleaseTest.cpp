// The release package as a Windows user gets it, unpacked by release-test.sh
// into folders named by the environment:
//   CORVANE_RELEASE_DIR   the program zip unpacked into an empty folder
//   CORVANE_READONLY_DIR  the same plus a link store, in a folder nobody may change
//   CORVANE_BUILT_EXE     the program as built, before stripping
//   CORVANE_RTF_LOGGER    a program that records the file it was asked to open
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "ProgramTestSupport.h"
#include "ShellTestFiles.h"
#include "version.h"

namespace corvane {
namespace {

using corvane::testing::Exists;
using corvane::testing::ListFolder;
using corvane::testing::ReadWholeFile;
using test::ChildrenOfClass;
using test::ChildWithText;
using test::Click;
using test::PumpUntil;
using test::RunningProgram;
using test::Child;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The folder named by the variable, ending in a backslash.
std::string FolderFromEnv(const char* name) {
  std::string folder = Env(name);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

bool SameText(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The raw bytes of one resource of an exe, or "<none>".
std::string ResourceBytes(const std::string& exe, LPCSTR type, LPCSTR name) {
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return "<not loadable>";
  std::string bytes = "<none>";
  if (HRSRC found = FindResourceA(module, name, type)) {
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    if (data) bytes.assign(data, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return bytes;
}

TEST(ReleasePackage, KeepsTheBuiltProgramsResourcesAndDeclaresItsScaling) {
  const std::string shipped = FolderFromEnv("CORVANE_RELEASE_DIR") + "Corvane.exe";
  const std::string built = Env("CORVANE_BUILT_EXE");
  ASSERT_TRUE(Exists(shipped)) << shipped;
  ASSERT_TRUE(Exists(built)) << built;
  // Version block, manifest and icon survive stripping unchanged.
  const struct {
    LPCSTR type;
    LPCSTR name;
  } kept[] = {{RT_VERSION, MAKEINTRESOURCEA(1)},
              {RT_MANIFEST, MAKEINTRESOURCEA(1)},
              {RT_GROUP_ICON, MAKEINTRESOURCEA(1)}};
  for (const auto& resource : kept) {
    std::string bytes = ResourceBytes(shipped, resource.type, resource.name);
    EXPECT_NE(bytes, "<none>") << reinterpret_cast<UINT_PTR>(resource.type);
    EXPECT_EQ(bytes, ResourceBytes(built, resource.type, resource.name))
        << reinterpret_cast<UINT_PTR>(resource.type);
  }
  // The version block reads as the one version the package is named after.
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(shipped.c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(
      GetFileVersionInfoA(shipped.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  char* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080904E4\\FileVersion",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, CORVANE_VERSION_TEXT);
  // The program scales itself to each monitor's DPI, so the system never
  // stretches it; common controls 6 and the version stay declared.
  std::string manifest = ResourceBytes(shipped, RT_MANIFEST, MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                          "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
            std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                          "WindowsSettings\">true/pm</dpiAware>"),
            std::string::npos);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("version=\"" CORVANE_VERSION_TEXT "\""), std::string::npos);
  // Names in any script: the program's code page is UTF-8.
  EXPECT_NE(manifest.find("<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/"
                          "WindowsSettings\">UTF-8</activeCodePage>"),
            std::string::npos);
}

// Group depth after each brace outside escapes; -1 as soon as a group closes
// that never opened.
int FinalDepth(const std::string& rtf, bool& closedEarly) {
  int depth = 0;
  closedEarly = false;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    char c = rtf[i];
    if (c == '\\') {
      ++i;  // \{ \} \\ are text, and no control word starts with a brace
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0 && rtf.find_first_not_of("\r\n", i + 1) != std::string::npos)
        closedEarly = true;  // the document group ended before the text did
      if (depth < 0) closedEarly = true;
    }
  }
  return depth;
}

TEST(ReleasePackage, ReadmeIsOneRtfDocumentWithEveryTopic) {
  const std::string rtf = ReadWholeFile(FolderFromEnv("CORVANE_RELEASE_DIR") + "Corvane.rtf");
  ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u) << rtf.substr(0, 40);
  bool closedEarly = false;
  EXPECT_EQ(FinalDepth(rtf, closedEarly), 0);
  EXPECT_FALSE(closedEarly);
  std::size_t tables = 0;
  for (std::size_t at = rtf.find("{\\fonttbl"); at != std::string::npos;
       at = rtf.find("{\\fonttbl", at + 1))
    ++tables;
  EXPECT_EQ(tables, 1u);
  for (const char* heading :
       {"What Corvane is", "Using the launcher", "The link editor", "Links to run at the same time",
        "Delete invalid links", "Where your links are stored", "Run at Windows start",
        "Screen scaling", "Uninstalling", "Version and licences"})
    EXPECT_NE(rtf.find(std::string("\\b\\fs26 ") + heading + "\\par}"), std::string::npos)
        << heading;
  EXPECT_NE(rtf.find("Corvane " CORVANE_VERSION_TEXT), std::string::npos);
  for (unsigned char c : rtf) EXPECT_LT(c, 0x80) << "RTF text is 7-bit, escapes aside";
}

// ---- The program, run from the unpacked folder ---------------------------

// Points .rtf files at a program of the test's choosing while it lives, and
// back at whatever they were before. (The machine-wide classes: the Wine
// prefix's own association opens them in its word processor.)
class RtfAssociation {
 public:
  // command empty: .rtf names a file type that has no program at all.
  explicit RtfAssociation(const std::string& command) {
    m_before = Value(".rtf");
    Set(".rtf", kType);
    if (!command.empty()) Set(std::string(kType) + "\\shell\\open\\command", command);
  }
  ~RtfAssociation() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kType);
    if (m_before.empty())
      RegDeleteTreeA(HKEY_CLASSES_ROOT, ".rtf");
    else
      Set(".rtf", m_before);
  }
  RtfAssociation(const RtfAssociation&) = delete;
  RtfAssociation& operator=(const RtfAssociation&) = delete;

 private:
  static constexpr const char* kType = "CorvaneReleaseTest.Document";
  static std::string Value(const std::string& key) {
    char value[512] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return {};
    return value;
  }
  static void Set(const std::string& key, const std::string& value) {
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
  }
  std::string m_before;
};

TEST(UnpackedProgram, ReadmeButtonHasTheShellOpenTheFoldersReadme) {
  const std::string folder = FolderFromEnv("CORVANE_RELEASE_DIR");
  const std::string logger = Env("CORVANE_RTF_LOGGER");
  ASSERT_TRUE(Exists(logger)) << logger;
  test::TempFolder logs;
  const std::string log = logs.File("opened.log");
  RtfAssociation association("\"" + logger + "\" \"" + log + "\" \"%1\"");
  RunningProgram program(folder);
  HWND editor = program.OpenEditor();
  ASSERT_TRUE(editor) << "no link editor";
  HWND readme = ChildWithText(editor, "Readme");
  ASSERT_TRUE(readme);
  Click(readme);
  ASSERT_TRUE(PumpUntil([&] { return ReadWholeFile(log) != "<missing>"; }, 15000))
      << "the shell started no program for the readme";
  std::string opened = ReadWholeFile(log);
  opened.erase(opened.find_last_not_of("\r\n") + 1);
  EXPECT_TRUE(SameText(opened, folder + "Corvane.rtf")) << opened;
  EXPECT_EQ(program.AwaitMessageBox(500), "") << "the shell's success needs no message";
  EXPECT_TRUE(program.Alive());
}

TEST(UnpackedProgram, ReadmeButtonNamesTheReadmeWhenItCannotBeOpened) {
  const std::string release = FolderFromEnv("CORVANE_RELEASE_DIR");
  struct Case {
    const char* name;
    bool withReadme;
    bool rtfHasProgram;
    const char* says;
  } cases[] = {
      {"readme missing", false, true, " is missing"},
      {"no program for .rtf", true, false, "No program is registered to open "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempFolder copy;
    const std::string folder = copy.Path() + "\\";
    ASSERT_TRUE(
        CopyFileA((release + "Corvane.exe").c_str(), (folder + "Corvane.exe").c_str(), FALSE));
    if (c.withReadme) {
      ASSERT_TRUE(
          CopyFileA((release + "Corvane.rtf").c_str(), (folder + "Corvane.rtf").c_str(), FALSE));
    }
    RtfAssociation association(c.rtfHasProgram ? "\"" + Env("CORVANE_RTF_LOGGER") + "\" NUL \"%1\""
                                               : "");
    RunningProgram program(folder);
    HWND editor = program.OpenEditor();
    ASSERT_TRUE(editor);
    Click(ChildWithText(editor, "Readme"));
    std::string message = program.AwaitMessageBox(10000);
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    EXPECT_NE(message.find(folder + "Corvane.rtf"), std::string::npos) << message;
    EXPECT_TRUE(program.Alive());
    EXPECT_TRUE(IsWindowVisible(program.Launcher()));
  }
}

TEST(ReadOnlyFolder, SavingALinkNamesTheFolderKeepsTheStoreAndTheLauncherRuns) {
  const std::string folder = FolderFromEnv("CORVANE_READONLY_DIR");
  const std::string store = folder + "Corvane.ini";
  const std::string before = ReadWholeFile(store);
  ASSERT_NE(before, "<missing>");
  const std::vector<std::string> filesBefore = ListFolder(folder);
  RunningProgram program(folder);
  HWND editor = program.OpenEditor();
  ASSERT_TRUE(editor);
  // The stored links were read: the menu-item list (the taller list) shows them.
  std::vector<Child> lists = ChildrenOfClass(editor, "TListBox");
  auto height = [](const Child& c) { return c.box.bottom - c.box.top; };
  auto menuItems =
      std::max_element(lists.begin(), lists.end(),
                       [&](const Child& a, const Child& b) { return height(a) < height(b); });
  ASSERT_NE(menuItems, lists.end());
  EXPECT_EQ(SendMessageA(menuItems->window, LB_GETCOUNT, 0, 0), 2);

  // File name, menu entry name, parameters.
  std::vector<Child> fields = ChildrenOfClass(editor, "TEdit");
  ASSERT_EQ(fields.size(), 3u);
  SendMessageA(fields[0].window, WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("C:\\windows\\notepad.exe"));
  SendMessageA(fields[1].window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Notes"));
  Click(ChildWithText(editor, "Save"));
  std::string message = program.AwaitMessageBox(10000);
  EXPECT_EQ(message.rfind("Unable to write to " + store, 0), 0u) << message;
  EXPECT_NE(message.find("The folder " + folder + " cannot be written to"), std::string::npos)
      << message;
  // Nothing stored is lost or cut, nothing is left behind, and the launcher
  // goes on with its menu.
  EXPECT_EQ(ReadWholeFile(store), before);
  EXPECT_EQ(ListFolder(folder), filesBefore);
  EXPECT_TRUE(program.Alive());
  EXPECT_TRUE(IsWindowVisible(program.Launcher()));

  // Esc: the place cannot be stored either; that is said once, and the
  // program ends all the same.
  program.PressEsc();
  message = program.AwaitMessageBox(10000);
  EXPECT_EQ(message.rfind("Unable to write to " + store, 0), 0u) << message;
  EXPECT_NE(message.find("not remembered"), std::string::npos) << message;
  EXPECT_TRUE(program.AwaitEnd(10000)) << "the program must end after Esc";
  EXPECT_EQ(program.AwaitMessageBox(300), "");
  EXPECT_EQ(ReadWholeFile(store), before);
  EXPECT_EQ(ListFolder(folder), filesBefore);
}

}  // namespace
}  // namespace corvane
