// Names in any script, end to end under Wine: links whose names, targets and
// parameters are Japanese, Cyrillic, accented Latin, emoji or right to left
// are stored, listed, drawn and started exactly; an older store in the
// Western code page is read and rewritten as UTF-8; a dropped file with a
// Japanese name fills the editor; and the program runs from a folder named
// in two scripts. The test program runs in UTF-8 like the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "PngWriter.h"
#include "ProgramTestSupport.h"
#include "ShellTestFiles.h"
#include "core/Utf8.h"
#include "launcher/main.h"
#include "launcher/support.h"
#include "launcher/supportForm.h"
#include "platform/Text.h"

namespace corvane {
namespace {

using test::ProgramFolder;
using test::Pump;
using test::PumpUntil;

// UTF-8 spelled out, so nothing depends on the compiler's source character set.
const std::string kZoe = "Zo\xC3\xAB";                                          // Zoë
const std::string kDocuments = "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B";  // Документы
const std::string kPrograms = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD1\x8B";  // Програмы
const std::string kResume = "\xE5\xB1\xA5\xE6\xAD\xB4\xE6\x9B\xB8";           // 履歴書
const std::string kDash = "\xE2\x80\x93";                                       // –
const std::string kCoffee = "\xE2\x98\x95";                                     // ☕
const std::string kRocket = "\xF0\x9F\x9A\x80";                                 // 🚀
const std::string kShalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";                 // שלום
const std::string kCafe = "Caf\xC3\xA9";                                        // Café
const std::string kCAFE = "CAF\xC3\x89";                                        // CAFÉ
const std::string kNandu = "\xC3\x91" "and\xC3\xBA";                            // Ñandú
const std::string kBeetle = "\xD0\x96\xD1\x83\xD0\xBA";                         // Жук
// Three code points no font has a glyph for (unassigned): what a name looks
// like when its characters are drawn as missing-glyph boxes.
const std::string kMissing = "\xCD\xB8\xCD\xB8\xCD\xB8";

std::string Utf8Name(const wchar_t* text) { return WideToUtf8(text); }

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr) ||
         GetLastError() == ERROR_ALREADY_EXISTS;
}

// Removes a folder that a test made inside its temporary folder, with its files.
void RemoveFolder(const std::string& path) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(Utf8ToWide(path + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = Utf8ToWide(path) + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(full.c_str());
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(Utf8ToWide(path).c_str());
}

// The lines of a file, none when it is missing.
std::vector<std::string> LinesOf(const std::string& path) {
  std::string bytes = testing::ReadWholeFile(path);
  if (bytes == "<missing>") return {};
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

// A shell drop as the system hands it over: the names in UTF-16.
HGLOBAL MakeWideDrop(const std::string& file) {
  std::wstring names = Utf8ToWide(file);
  names.push_back(L'\0');
  names.push_back(L'\0');
  HGLOBAL memory =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
              names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return memory;
}

class Unicode : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    ChosenGraphic.clear();
    Application().OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    place = folder.File(kZoe + " " + kDocuments + " " + kResume);
    ASSERT_TRUE(MakeFolder(place));
    storePath = place + "\\Corvane.ini";
  }
  void TearDown() override {
    ReleaseCapture();
    ResetApplication();
    Pump();
    RemoveFolder(place);
  }
  void Store(const std::string& section, const std::string& key, const std::string& value) {
    test::StoreValue(storePath, section, key, value);
  }
  std::string Stored(const std::string& section, const std::string& key) {
    return test::StoredValue(storePath, section, key, "<none>");
  }
  TForm1& StartLauncher() {
    launcher = &Application().CreateForm<TForm1>(storePath);
    launcher->Show();
    Pump();
    return *launcher;
  }
  TForm2& StartEditor() {
    if (!launcher) StartLauncher();
    TForm2& editor = Application().CreateForm<TForm2>();
    editor.Show();
    Pump();
    return editor;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> c;
    for (int i = 0; i < launcher->PopupMenu1->Count(); ++i) c.push_back(launcher->PopupMenu1->Items(i)->Caption());
    return c;
  }

  test::TempFolder folder;
  std::string place, storePath;
  TForm1* launcher = nullptr;
  std::vector<std::string> errors;
};

TEST_F(Unicode, LinksInEveryScriptAreStoredListedAndStartedWithExactlyTheirParameters) {
  // The logging program itself lies under a name in three scripts.
  const std::string logger = place + "\\" + kResume + " " + kCoffee + ".exe";
  ASSERT_TRUE(CopyFileW(Utf8ToWide(ProgramFolder() + "\\shell_argv_logger.exe").c_str(),
                        Utf8ToWide(logger).c_str(), FALSE));
  const std::string log = place + "\\" + kDocuments + ".log";
  struct Link {
    std::string name, words;
  } links[] = {
      {kResume + " " + kDash + " 2026", kResume + " " + kZoe},
      {kDocuments, kDocuments + " " + kBeetle},
      {kCafe + " " + kCoffee + kRocket, kRocket + " " + kCafe},
      {kShalom, kShalom},
  };
  for (const Link& link : links) {
    Store(link.name, "Link", logger);
    Store(link.name, "Param", "\"" + log + "\" " + link.words);
  }
  // The same name in another letter case is the same link.
  Store(kCAFE + " " + kCoffee + kRocket, "RunWith", "");
  // Read back exactly, and written as UTF-8.
  for (const Link& link : links) {
    EXPECT_EQ(Stored(link.name, "Link"), logger);
    EXPECT_EQ(Stored(link.name, "Param"), "\"" + log + "\" " + link.words);
  }
  const std::string file = testing::ReadWholeFile(storePath);
  EXPECT_TRUE(IsValidUtf8(file));
  EXPECT_NE(file.find("[" + kResume + " " + kDash + " 2026]"), std::string::npos);

  TForm1& form = StartLauncher();
  ASSERT_TRUE(errors.empty()) << errors[0];
  std::vector<std::string> captions = Captions();
  std::set<std::string> expected;
  for (const Link& link : links) expected.insert(link.name);
  EXPECT_EQ(std::set<std::string>(captions.begin(), captions.end()), expected);
  EXPECT_EQ(captions.size(), 4u);
  // Each entry started through the shell hands over exactly its words.
  std::size_t started = 0;
  for (const Link& link : links) {
    auto at = std::find(captions.begin(), captions.end(), link.name);
    ASSERT_NE(at, captions.end()) << link.name;
    form.PopupMenu1->Items(static_cast<int>(at - captions.begin()))->Click();
    ++started;
    ASSERT_TRUE(PumpUntil([&] { return LinesOf(log).size() >= started; }, 15000)) << link.name;
    std::string words = link.words;
    std::replace(words.begin(), words.end(), ' ', '|');
    EXPECT_EQ(LinesOf(log).back(), words);
  }
  EXPECT_TRUE(errors.empty());
}

// The open menu, seen from inside its loop: its pixels and each item's box.
struct UnicodeMenuShot {
  bool open = false;
  RECT rect{};
  std::vector<RECT> items;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(rect.right - rect.left) +
                  static_cast<std::size_t>(x)];
  }
} g_menu;

void CALLBACK CaptureMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  UpdateWindow(menu);
  g_menu.open = true;
  GetWindowRect(menu, &g_menu.rect);
  HMENU handle = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
  for (int i = 0; i < GetMenuItemCount(handle); ++i) {
    RECT item{};
    GetMenuItemRect(nullptr, handle, static_cast<UINT>(i), &item);
    OffsetRect(&item, -g_menu.rect.left, -g_menu.rect.top);
    g_menu.items.push_back(item);
  }
  const int w = g_menu.rect.right - g_menu.rect.left, h = g_menu.rect.bottom - g_menu.rect.top;
  test::Canvas canvas(w, h);
  WindowDC screen(nullptr);
  BitBlt(canvas.Dc(), 0, 0, w, h, screen.Get(), g_menu.rect.left, g_menu.rect.top, SRCCOPY);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) g_menu.pixels.push_back(canvas.At(x, y));
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(Unicode, MenuEntriesInEveryScriptAreDrawnAsTextNotAsMissingGlyphs) {
  const std::string names[] = {kResume, kBeetle, kMissing, kCafe};
  for (const std::string& name : names) Store(name, "Link", "");
  TForm1& form = StartLauncher();
  ASSERT_TRUE(errors.empty()) << errors[0];
  g_menu = UnicodeMenuShot{};
  test::RightClickWithMenuTimer(form.Handle(), 16, 16, CaptureMenu);
  ASSERT_TRUE(g_menu.open);
  const std::vector<std::string> captions = Captions();
  ASSERT_EQ(g_menu.items.size(), captions.size());
  if (const char* shot = std::getenv("CORVANE_UNICODE_MENU_SHOT")) {
    test::WritePng(shot, g_menu.rect.right - g_menu.rect.left, g_menu.rect.bottom - g_menu.rect.top,
                   [](int x, int y) { COLORREF c = g_menu.At(x, y);
                     return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); });
  }
  // The text part of an entry's row (right of the icon), as its pixels.
  const COLORREF background = GetSysColor(COLOR_MENU);
  auto row = [&](const std::string& name) {
    std::size_t i = static_cast<std::size_t>(std::find(captions.begin(), captions.end(), name) - captions.begin());
    std::vector<COLORREF> pixels;
    if (i >= g_menu.items.size()) return pixels;
    const RECT& r = g_menu.items[i];
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
      for (int x = r.left + 24; x < r.left + 24 + 60; ++x)
        pixels.push_back(x < g_menu.rect.right - g_menu.rect.left ? g_menu.At(x, y) : background);
    return pixels;
  };
  auto inked = [&](const std::vector<COLORREF>& pixels) {
    return std::count_if(pixels.begin(), pixels.end(), [&](COLORREF c) { return c != background; });
  };
  auto differing = [](const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) n += a[i] != b[i];
    return n;
  };
  const auto missing = row(kMissing);
  for (const std::string& name : {kResume, kBeetle, kCafe}) {
    const auto drawn = row(name);
    ASSERT_FALSE(drawn.empty()) << name;
    EXPECT_GT(inked(drawn), 20) << name << ": no text drawn";
    // Three characters drawn from a font that has them, not three boxes.
    EXPECT_GT(differing(drawn, missing), 20u) << name << ": drawn as missing glyphs";
  }
}

TEST_F(Unicode, AnOlderStoreInTheWesternCodePageIsReadAndSavedAsUtf8WithTheSameLinks) {
  ASSERT_TRUE(testing::WriteWholeFile(storePath,
                          "[GRAPHIC]\r\nLeft=0\r\n\r\n[Caf\xE9]\r\nLink=C:\\Caf\xE9.exe\r\nParam=/\xFC\r\n\r\n"
                          "[\xD1" "and\xFA]\r\nLink=C:\\\xD1" "and\xFA.txt\r\n"));
  TForm2& editor = StartEditor();
  EXPECT_EQ(Captions(), (std::vector<std::string>{kCafe, kNandu}));
  EXPECT_EQ(editor.ListBox1->Items(), (std::vector<std::string>{kCafe, kNandu}));
  EXPECT_EQ(Stored(kCafe, "Link"), "C:\\" + kCafe + ".exe");
  // "café" and "CAFÉ" are the link "Café": one section, one entry.
  EXPECT_EQ(Stored("caf\xC3\xA9", "Param"), "/\xC3\xBC");
  editor.Edit1->SetText("C:\\" + kCafe + ".exe");
  editor.Edit2->SetText(kCAFE);
  editor.Edit3->SetText("/new");
  SendMessageA(editor.Button2->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(errors.empty()) << errors[0];
  const std::string saved = testing::ReadWholeFile(storePath);
  EXPECT_TRUE(IsValidUtf8(saved)) << saved;
  EXPECT_EQ(LinesOf(storePath), (std::vector<std::string>{
                              "[GRAPHIC]", "Left=0", "", "[" + kCafe + "]", "Link=C:\\" + kCafe + ".exe",
                              "Param=/new", "", "[" + kNandu + "]", "Link=C:\\" + kNandu + ".txt"}));
  EXPECT_EQ(Captions(), (std::vector<std::string>{kCafe, kNandu}));
  EXPECT_EQ(editor.ListBox1->Items(), (std::vector<std::string>{kCafe, kNandu}));
}

TEST_F(Unicode, ADroppedFileWithAJapaneseNameFillsTheEditorsFields) {
  const std::string name = kResume + " " + kDash + " 2026.docx";
  const std::string file = place + "\\" + name;
  ASSERT_TRUE(testing::WriteWholeFile(file, "not a program"));
  TForm2& editor = StartEditor();
  SendMessageA(editor.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeWideDrop(file)), 0);
  EXPECT_EQ(editor.Edit1->Text(), file);
  EXPECT_EQ(editor.Edit2->Text(), name);
  // Typed into the edit as the system holds it, the name reads back whole.
  wchar_t shown[MAX_PATH] = {};
  GetWindowTextW(editor.Edit2->Handle(), shown, MAX_PATH);
  EXPECT_EQ(Utf8Name(shown), name);
  // A long name is cut after whole characters, never inside one.
  std::string longName = place + "\\";
  while (Utf8ToWide(longName).size() < 300) longName += kResume;
  SendMessageA(editor.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeWideDrop(longName)), 0);
  EXPECT_EQ(Utf8ToWide(editor.Edit1->Text()).size(), 255u);
  EXPECT_TRUE(IsValidUtf8(editor.Edit1->Text()));
}

TEST(UnicodeShortcut, TheStartupShortcutOfAnExeNamedInAnyScriptPointsAtIt) {
  test::TempFolder folder;
  const std::string dir = folder.File(kZoe + " " + kPrograms);
  ASSERT_TRUE(MakeFolder(dir));
  const std::string exe = dir + "\\" + kResume + ".exe";
  ASSERT_TRUE(testing::WriteWholeFile(exe, "MZ"));
  const std::string lnk = SpecialFolderPath(CSIDL_STARTUP) + "\\" + kResume + ".lnk";
  ASSERT_FALSE(testing::Exists(lnk));
  EXPECT_FALSE(StartupShortcut(exe, "Corvane", false));
  ASSERT_TRUE(testing::Exists(lnk));
  EXPECT_TRUE(StartupShortcut(exe, "Corvane", true));
  testing::LinkContents contents = testing::ReadLink(lnk);
  EXPECT_EQ(contents.path, exe);
  EXPECT_EQ(contents.folder, dir);
  EXPECT_TRUE(StartupShortcut(exe, "Corvane", false));
  EXPECT_FALSE(testing::Exists(lnk));
  RemoveFolder(dir);
}

// The top-level window of another process whose title holds text; null when none.
HWND WindowTitled(const std::string& text) {
  struct Search {
    std::wstring text;
    HWND found = nullptr;
  } search{Utf8ToWide(text)};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t title[512] = {};
        GetWindowTextW(w, title, 512);
        if (IsWindowVisible(w) && std::wstring(title).find(s->text) != std::wstring::npos) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(UnicodeProgram, RunsFromAFolderNamedInTwoScripts) {
  const char* exeSource = std::getenv("CORVANE_EXE");
  ASSERT_TRUE(exeSource) << "CORVANE_EXE names the program";
  test::TempFolder folder;
  const std::string dir = folder.File(kZoe + " " + kPrograms);
  ASSERT_TRUE(MakeFolder(dir));
  const std::string exe = dir + "\\Corvane.exe";
  ASSERT_TRUE(CopyFileW(Utf8ToWide(exeSource).c_str(), Utf8ToWide(exe).c_str(), FALSE));
  ASSERT_TRUE(testing::WriteWholeFile(dir + "\\Corvane.rtf", "{\\rtf1 Corvane readme}"));
  const std::string lnk = SpecialFolderPath(CSIDL_STARTUP) + "\\Corvane.lnk";
  const std::string before = testing::ReadWholeFile(lnk);  // put back as it was
  DeleteFileW(Utf8ToWide(lnk).c_str());
  {
    test::RunningProgram program(dir + "\\");
    HWND editor = program.OpenEditor();
    ASSERT_TRUE(editor);
    // The store is created in the program's folder, with the name as typed.
    const std::string target = dir + "\\" + kResume + ".docx";
    ASSERT_TRUE(test::SaveLinkInEditor(editor, target, kResume + " " + kDash + " 2026"));
    EXPECT_TRUE(PumpUntil([&] {
      LinkStore store;
      store.Open(dir + "\\Corvane.ini");
      return store.ReadString(kResume + " " + kDash + " 2026", "Link", "") == target;
    }, 15000));
    // The Startup shortcut points at the exe in its folder.
    HWND startup = test::ChildWithText(editor, "ADD Startup link");
    ASSERT_TRUE(startup);
    test::Click(startup);
    EXPECT_TRUE(PumpUntil([&] { return testing::Exists(lnk); }, 10000));
    testing::LinkContents contents = testing::ReadLink(lnk);
    EXPECT_EQ(contents.path, exe);
    EXPECT_EQ(contents.folder, dir);
    test::Click(startup);
    EXPECT_TRUE(PumpUntil([&] { return !testing::Exists(lnk); }, 10000));
    // The readme beside the exe opens in the program registered for it.
    HWND readme = test::ChildWithText(editor, "Readme");
    ASSERT_TRUE(readme);
    test::Click(readme);
    HWND shown = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (shown = WindowTitled("Corvane.rtf")) != nullptr; }, 15000));
    if (shown) {
      DWORD pid = 0;
      GetWindowThreadProcessId(shown, &pid);
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
      }
    }
    EXPECT_EQ(program.AwaitMessageBox(300), "");
    program.PressEsc();
    EXPECT_TRUE(program.AwaitEnd(10000));
  }
  if (before != "<missing>") testing::WriteWholeFile(lnk, before);
  RemoveFolder(dir);
}

}  // namespace
}  // namespace corvane
