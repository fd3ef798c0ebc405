// The launcher window, driven through its messages under Wine: start-up
// from the link store, the menu, starting links, Esc, and the program itself.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "core/DpiScale.h"
#include "PngWriter.h"
#include "ProgramTestSupport.h"
#include "launcher/main.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using test::WindowRegion;

using test::ProgramFolder;

std::string LoggerPath() { return ProgramFolder() + "\\launch_order_logger.exe"; }

using test::g_menuItemsSeen;
using test::g_menuKeys;
using test::PressMenuKeys;

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    Application().OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    storePath = folder.File("Corvane.ini");
    logPath = folder.File("launches.log");
  }
  void TearDown() override {
    ResetApplication();
    Pump();
  }
  void Store(const std::string& section, const std::string& key, const std::string& value) {
    LinkStore store;
    store.Open(storePath);
    store.WriteString(section, key, value);
    store.Close();
  }
  std::string Stored(const std::string& section, const std::string& key) {
    LinkStore store;
    store.Open(storePath);
    return store.ReadString(section, key, "<none>");
  }
  TForm1& Start() {
    TForm1& form = Application().CreateForm<TForm1>(storePath);
    form.Show();
    Pump();
    return form;
  }
  RECT WindowRect(TForm1& form) {
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    return r;
  }
  std::vector<std::string> Captions(TForm1& form) {
    std::vector<std::string> c;
    for (int i = 0; i < form.PopupMenu1->Count(); ++i) c.push_back(form.PopupMenu1->Items(i)->Caption());
    return c;
  }
  // Waits for count lines from the logger and gives their texts in the
  // order the processes were started.
  std::vector<std::string> Launches(std::size_t count) {
    std::vector<std::pair<unsigned long long, std::string>> lines;
    PumpUntil([&] {
      lines.clear();
      std::ifstream in(logPath);
      std::string line;
      while (std::getline(in, line)) {
        std::size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        lines.emplace_back(std::stoull(line.substr(0, space)), line.substr(space + 1));
      }
      return lines.size() >= count;
    }, 15000);
    Sleep(300);  // a stray extra start would show up now
    lines.clear();
    std::ifstream in(logPath);
    std::string line;
    while (std::getline(in, line)) {
      std::size_t space = line.find(' ');
      if (space != std::string::npos) lines.emplace_back(std::stoull(line.substr(0, space)), line.substr(space + 1));
    }
    std::stable_sort(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<std::string> texts;
    for (auto& l : lines) texts.push_back(l.second);
    return texts;
  }
  void LoggedLink(const std::string& name, const std::string& word) {
    Store(name, "Link", LoggerPath());
    Store(name, "Param", "\"" + logPath + "\" " + word);
  }

  test::TempFolder folder;
  std::string storePath, logPath;
  std::vector<std::string> errors;
};

TEST_F(Launcher, WithoutAStoreItIsTheIconAtItsDesignedPlace) {
  TForm1& form = Start();
  HWND w = form.Handle();
  RECT r = WindowRect(form);
  EXPECT_EQ(r.left, 986);
  EXPECT_EQ(r.top, 232);
  EXPECT_EQ(r.right - r.left, 32);
  EXPECT_EQ(r.bottom - r.top, 32);
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(GetWindowLongA(Application().Handle(), GWL_EXSTYLE), 0x80);
  EXPECT_TRUE(WindowRegion(w));  // shaped by the icon's opaque pixels
  EXPECT_EQ(form.PopupMenu1->Count(), 0);
  EXPECT_EQ(form.ImageList1->Count(), 0);
  EXPECT_EQ(form.IniPath, storePath);
  EXPECT_TRUE(errors.empty());
}

TEST_F(Launcher, MenuListsTheLinksSortedWithOneImageEach) {
  Store("zeta", "Link", LoggerPath());
  Store("Alpha", "Link", "");
  Store("graphic", "File", "");
  Store("Beta", "Link", folder.Path());           // a folder: the application icon
  Store("web", "Link", "http://example.invalid/");  // an address: the application icon
  Store("-", "Link", "");
  TForm1& form = Start();
  std::vector<std::string> captions = Captions(form);
  ASSERT_EQ(captions.size(), 5u);
  EXPECT_EQ(std::count(captions.begin(), captions.end(), "-"), 1);
  captions.erase(std::find(captions.begin(), captions.end(), "-"));
  EXPECT_EQ(captions, (std::vector<std::string>{"Alpha", "Beta", "web", "zeta"}));
  // One image per entry, each entry's own index.
  EXPECT_EQ(form.ImageList1->Count(), form.PopupMenu1->Count());
  for (int i = 0; i < form.PopupMenu1->Count(); ++i) EXPECT_EQ(form.PopupMenu1->Items(i)->ImageIndex(), i);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  HMENU h = form.PopupMenu1->Handle();
  for (int i = 0; i < form.PopupMenu1->Count(); ++i) {
    ASSERT_TRUE(GetMenuItemInfoA(h, i, TRUE, &info));
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, form.PopupMenu1->Items(i)->Caption() == "-") << i;
  }
  // Rebuilding gives the same menu, not a doubled one.
  form.BuildMenu();
  EXPECT_EQ(form.PopupMenu1->Count(), 5);
  EXPECT_EQ(form.ImageList1->Count(), 5);
}

// The program's own start: the menu and the drop target come right after
// the window, the menu's icons from a worker (a slow share cannot hold the
// launcher); once read, every entry has an icon of its own, also when the
// menu is rebuilt meanwhile.
TEST_F(Launcher, AtProgramStartTheMenuFollowsTheWindowAndItsIconsComeFromAWorker) {
  for (int i = 0; i < 200; ++i) {
    char name[16];
    wsprintfA(name, "Link %03d", i);
    Store(name, "Link", i % 10 == 9 ? "\\\\no-such-host\\share\\tool.exe" : LoggerPath());
  }
  Store("-", "Link", "");
  TForm1& form = Application().CreateForm<TForm1>(storePath, true);
  EXPECT_EQ(form.PopupMenu1->Count(), 0) << "the menu is built after the window shows";
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return form.PopupMenu1->Count() == 201; }));
  EXPECT_TRUE(GetWindowLongA(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << "files can be dropped";
  form.BuildMenu();  // while the first worker may still be reading
  auto allIcons = [&] {
    for (int i = 0; i < form.PopupMenu1->Count(); ++i)
      if (form.PopupMenu1->Items(i)->ImageIndex() < 0) return false;
    return true;
  };
  ASSERT_TRUE(PumpUntil(allIcons, 30000));
  EXPECT_EQ(form.PopupMenu1->Count(), 201);
  EXPECT_EQ(form.ImageList1->Count(), 201);
  std::set<int> indexes;
  for (int i = 0; i < form.PopupMenu1->Count(); ++i) indexes.insert(form.PopupMenu1->Items(i)->ImageIndex());
  EXPECT_EQ(indexes.size(), 201u) << "each entry its own icon";
}

TEST_F(Launcher, AnExistingFilesIconDiffersFromTheApplicationIcon) {
  // A file's own icon and the application's own are different pictures.
  UniqueIcon fileIcon(MenuIconFor(LoggerPath()));
  UniqueIcon appIcon(CopyApplicationIcon(32));
  UniqueIcon folderIcon(MenuIconFor(folder.Path()));
  ASSERT_TRUE(fileIcon);
  ASSERT_TRUE(appIcon);
  ASSERT_TRUE(folderIcon);
  auto pixels = [](HICON icon) {
    test::Canvas canvas(32, 32);
    DrawIconEx(canvas.Dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> p;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) p.push_back(canvas.At(x, y));
    return p;
  };
  EXPECT_EQ(pixels(folderIcon.Get()), pixels(appIcon.Get()));
  EXPECT_NE(pixels(fileIcon.Get()), pixels(appIcon.Get()));
}

TEST_F(Launcher, ChoosingAnEntryStartsItsRunWithLinksFirstInStoredOrder) {
  LoggedLink("One", "one");
  LoggedLink("Two", "two");
  LoggedLink("Main", "main");
  Store("Main", "RunWith", "Two,Gone,One");
  TForm1& form = Start();
  auto captions = Captions(form);
  auto at = std::find(captions.begin(), captions.end(), "Main") - captions.begin();
  form.PopupMenu1->Items(static_cast<int>(at))->Click();
  EXPECT_EQ(Launches(3), (std::vector<std::string>{"two", "one", "main"}));
  EXPECT_TRUE(errors.empty());  // the missing "Gone" fails silently
}

TEST_F(Launcher, AnEmptyLinkStartsOnlyItsRunWithLinks) {
  LoggedLink("One", "one");
  Store("Group", "Link", "");
  Store("Group", "RunWith", "One,One");
  TForm1& form = Start();
  auto captions = Captions(form);
  auto at = std::find(captions.begin(), captions.end(), "Group") - captions.begin();
  form.PopupMenu1->Items(static_cast<int>(at))->Click();
  EXPECT_EQ(Launches(2), (std::vector<std::string>{"one", "one"}));
}

TEST_F(Launcher, RightClickOpensTheMenuAndTheChoiceStartsTheLink) {
  LoggedLink("Only", "only");
  TForm1& form = Start();
  g_menuKeys = {VK_DOWN, VK_RETURN};
  g_menuItemsSeen = -1;
  SetTimer(nullptr, 0, 30, PressMenuKeys);
  HWND w = form.Handle();
  // The release ends in the system's context-menu request, as a real click does.
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(16, 16));
  SendMessageA(w, WM_RBUTTONUP, 0, MAKELPARAM(16, 16));
  Pump();
  EXPECT_EQ(g_menuItemsSeen, 1);
  EXPECT_EQ(form.SkinImage1->PopupMenu->PopupComponent, form.SkinImage1);
  EXPECT_EQ(Launches(1), std::vector<std::string>{"only"});
}

TEST_F(Launcher, EscWritesThePositionAndEndsTheProgram) {
  TForm1& form = Start();
  form.SetBounds(400, 300, form.Width(), form.Height());
  SendMessageA(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(Stored("GRAPHIC", "Left"), "400");
  EXPECT_EQ(Stored("GRAPHIC", "Top"), "300");
  Pump();
}

TEST_F(Launcher, OtherKeysDoNothing) {
  TForm1& form = Start();
  SendMessageA(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(form.Handle(), WM_KEYDOWN, 'Q', 0);
  EXPECT_FALSE(Application().Terminated());
  EXPECT_EQ(Stored("GRAPHIC", "Left"), "<none>");
}

TEST_F(Launcher, AStoreThatRefusesThePlaceIsReportedOnceAndTheProgramStillEnds) {
  Store("Some", "Link", "");
  const std::string before = corvane::testing::ReadWholeFile(storePath);
  SetFileAttributesA(storePath.c_str(), FILE_ATTRIBUTE_READONLY);
  TForm1& form = Start();
  SendMessageA(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageA(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);  // pressed again: asked no second time
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Unable to write to " + storePath + "\n", 0), 0u) << errors[0];
  EXPECT_NE(errors[0].find("not remembered"), std::string::npos) << errors[0];
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  SetFileAttributesA(storePath.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(corvane::testing::ReadWholeFile(storePath), before);
}

// Another program holds the store (share mode none) while the launcher runs.
TEST_F(Launcher, AStoreHeldByAnotherProgramKeepsItsMenuAndEscStillEnds) {
  Store("Some", "Link", LoggerPath());
  TForm1& form = Start();
  Store("Other", "Link", LoggerPath());  // another copy of the program adds a link
  const std::string before = corvane::testing::ReadWholeFile(storePath);
  HANDLE held = CreateFileA(storePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  form.BuildMenu();
  EXPECT_EQ(Captions(form), std::vector<std::string>{"Some"}) << "what was read last stays";
  form.SetBounds(410, 310, form.Width(), form.Height());
  DWORD start = GetTickCount();
  SendMessageA(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_LT(GetTickCount() - start, 5000u) << "no hang";
  CloseHandle(held);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Another program is using this file"), std::string::npos) << errors[0];
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(corvane::testing::ReadWholeFile(storePath), before);
  // Let go of, the file is read again.
  Sleep(1100);
  form.BuildMenu();
  EXPECT_EQ(Captions(form), (std::vector<std::string>{"Other", "Some"}));
}

// Log-off and shut-down: the launcher answers at once, stores its place
// when the session really ends, never shows a message, and ends.
TEST_F(Launcher, TheEndOfTheSessionIsNeverHeldUpAndStoresThePlace) {
  for (bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only store" : "writable store");
    Store("Some", "Link", "");
    SetFileAttributesA(storePath.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    TForm1& form = Start();
    form.SetBounds(420, 320, form.Width(), form.Height());
    DWORD start = GetTickCount();
    EXPECT_EQ(SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_FALSE(Application().Terminated()) << "the session may still go on";
    SendMessageA(form.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_TRUE(errors.empty()) << errors[0];
    EXPECT_TRUE(Application().Terminated());
    SetFileAttributesA(storePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Stored("GRAPHIC", "Left"), readOnly ? "<none>" : "420");
    EXPECT_EQ(Stored("GRAPHIC", "Top"), readOnly ? "<none>" : "320");
    ResetApplication();
    Application().OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    DeleteFileA(storePath.c_str());
  }
}

TEST_F(Launcher, AStoredPositionIsUsedOnlyWhenLeftIsNotZero) {
  Store("GRAPHIC", "Left", "0");
  Store("GRAPHIC", "Top", "500");
  {
    TForm1& form = Start();
    RECT r = WindowRect(form);
    EXPECT_EQ(r.left, 986);
    EXPECT_EQ(r.top, 232);
  }
  ResetApplication();
  Application().OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
  Store("GRAPHIC", "Left", "0x20");
  Store("GRAPHIC", "Top", "40");
  TForm1& form = Start();
  RECT r = WindowRect(form);
  EXPECT_EQ(r.left, 32);
  EXPECT_EQ(r.top, 40);
}

TEST_F(Launcher, APositionOffEveryMonitorIsPulledBackOnScreen) {
  Store("GRAPHIC", "Left", "30000");
  Store("GRAPHIC", "Top", "-20000");
  TForm1& form = Start();
  RECT r = WindowRect(form);
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(r.right - r.left, 32);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(r.right, work.right);  // as close to where it was as fits
  EXPECT_EQ(r.top, work.top);
  // The store changes only when the window closes.
  EXPECT_EQ(Stored("GRAPHIC", "Left"), "30000");
}

TEST(LauncherPlacement, PullOntoWorkArea) {
  Rect work{0, 0, 1280, 1000};
  EXPECT_EQ(PullOntoWorkArea({100, 100, 132, 132}, work), (Rect{100, 100, 132, 132}));
  EXPECT_EQ(PullOntoWorkArea({1270, 990, 1302, 1022}, work), (Rect{1270, 990, 1302, 1022}));  // partly on: kept
  EXPECT_EQ(PullOntoWorkArea({5000, 50, 5032, 82}, work), (Rect{1248, 50, 1280, 82}));
  EXPECT_EQ(PullOntoWorkArea({-900, -900, -868, -868}, work), (Rect{0, 0, 32, 32}));
  // Larger than the work area: its top-left corner goes on screen.
  EXPECT_EQ(PullOntoWorkArea({3000, 0, 4500, 100}, work), (Rect{0, 0, 1500, 100}));
}

TEST_F(Launcher, AMissingPictureIsReportedOnceAndStartUpFinishes) {
  std::string missing = folder.File("gone.png");
  Store("GRAPHIC", "File", missing);
  LoggedLink("Entry", "entry");
  TForm1& form = Start();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("gone.png"), std::string::npos) << errors[0];
  HWND w = form.Handle();
  EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_TRUE(WindowRegion(w));
  RECT r = WindowRect(form);
  EXPECT_EQ(r.right - r.left, 32);
  EXPECT_EQ(Captions(form), std::vector<std::string>{"Entry"});
}

TEST_F(Launcher, APictureTooLargeToLoadIsReportedAndTheLauncherStartsWithItsIcon) {
  // Files of a few hundred bytes whose headers claim 16384 x 16384.
  for (const char* name : {"claims-16384.png", "claims-16384.gif", "claims-16384.jpg",
                           "claims-16384-rle8.bmp", "claims-16384.ico"}) {
    const std::string file = std::string(CORVANE_FIXTURES) + "\\pictures\\large\\" + name;
    Store("GRAPHIC", "File", file);
    LoggedLink("Entry", "entry");
    errors.clear();
    TForm1& form = Start();
    ASSERT_EQ(errors.size(), 1u) << name;
    EXPECT_NE(errors[0].find(file), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("too large to load"), std::string::npos) << errors[0];
    HWND w = form.Handle();
    EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION) << name;
    EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << name;
    RECT r = WindowRect(form);
    EXPECT_EQ(r.right - r.left, 32) << name;  // the application icon
    EXPECT_EQ(r.bottom - r.top, 32) << name;
    EXPECT_EQ(Captions(form), std::vector<std::string>{"Entry"}) << name;
    ResetApplication();
    Application().OnException = [this](TObject*, const std::exception& e) {
      errors.push_back(e.what());
    };
  }
}

TEST_F(Launcher, APngWithAlphaShapesTheWindowToItsVisiblePixels) {
  // A disc with a soft edge: alpha 0 outside, partly transparent at the rim.
  std::string png = folder.File("disc.png");
  auto alphaAt = [](int x, int y) {
    double d = std::hypot(x - 23.5, y - 23.5);
    return d < 20 ? 255 : d < 23 ? static_cast<int>((23 - d) * 80) : 0;
  };
  ASSERT_TRUE(test::WritePng(png, 48, 48, [&](int x, int y) {
    return (static_cast<std::uint32_t>(alphaAt(x, y)) << 24) | 0x2050C0u;
  }));
  Store("GRAPHIC", "File", png);
  TForm1& form = Start();
  ASSERT_TRUE(errors.empty()) << errors[0];
  UniqueRegion region = WindowRegion(form.Handle());
  ASSERT_TRUE(region);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) ASSERT_EQ(PtInRegion(region.Get(), x, y) != 0, alphaAt(x, y) > 0) << x << "," << y;
  RECT r = WindowRect(form);
  EXPECT_EQ(r.right - r.left, 48);
}

TEST_F(Launcher, TheApplicationIconGivesALayeredLauncherWithSoftEdges) {
  TForm1& form = Start();
  HWND w = form.Handle();
  ASSERT_TRUE(form.SkinImage1->Layered());
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  const Surface& shown = form.SkinImage1->Shown();
  const int size = ScaleToDpi(32, form.Dpi());
  ASSERT_EQ(shown.Width(), size);
  ASSERT_EQ(shown.Height(), size);
  // The rounded corners: clear outside, soft on the edge, never flattened.
  int clear = 0, soft = 0;
  for (Pixel p : shown.Pixels()) {
    clear += (p >> 24) == 0;
    soft += (p >> 24) != 0 && (p >> 24) != 0xFF;
  }
  EXPECT_GT(clear, 0);
  EXPECT_GT(soft, 0);
  EXPECT_EQ(shown.At(0, 0) >> 24, 0u);
  UniqueRegion region = WindowRegion(w);
  ASSERT_TRUE(region);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) ASSERT_EQ(PtInRegion(region.Get(), x, y) != 0, (shown.At(x, y) >> 24) != 0) << x << "," << y;
  RECT r = WindowRect(form);
  EXPECT_NE(WindowFromPoint(POINT{r.left, r.top}), w);
  EXPECT_EQ(WindowFromPoint(POINT{r.left + size / 2, r.top + size / 2}), w);
}

// What the open menu shows, read back from the screen while it is open.
struct MenuShot {
  bool open = false;
  RECT rect{};
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * (rect.right - rect.left) + x]; }
};
MenuShot g_shot;

void CALLBACK CaptureOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  UpdateWindow(menu);
  g_shot.open = true;
  GetWindowRect(menu, &g_shot.rect);
  int w = g_shot.rect.right - g_shot.rect.left, h = g_shot.rect.bottom - g_shot.rect.top;
  test::Canvas canvas(w, h);
  WindowDC screen(nullptr);
  BitBlt(canvas.Dc(), 0, 0, w, h, screen.Get(), g_shot.rect.left, g_shot.rect.top, SRCCOPY);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) g_shot.pixels.push_back(canvas.At(x, y));
  // For a picture of the screen with the menu open: with
  // CORVANE_SCREENSHOT_SYNC=<folder> the menu stays open after writing
  // <folder>\menu-open until <folder>\shot-done appears (at most 20 s).
  if (const char* sync = std::getenv("CORVANE_SCREENSHOT_SYNC")) {
    std::string folder = sync;
    std::ofstream(folder + "\\menu-open") << "open\n";
    std::string done = folder + "\\shot-done";
    for (int i = 0; i < 200 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  }
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(Launcher, TheOpenMenuShowsEachEntrysIconAndCaption) {
  std::string png = folder.File("star.png");
  ASSERT_TRUE(test::WritePng(png, 64, 64, [](int x, int y) {
    // A five-pointed star in blue with a soft rim, clear around it.
    double dx = x - 31.5, dy = y - 31.5, r = std::hypot(dx, dy), a = std::atan2(dy, dx);
    double edge = 14 + 16 * std::pow(std::abs(std::cos(2.5 * a)), 3);
    double alpha = std::clamp((edge - r) * 120.0, 0.0, 255.0);
    return (static_cast<std::uint32_t>(alpha) << 24) | (r < 8 ? 0xF0C020u : 0x2060D0u);
  }));
  Store("GRAPHIC", "File", png);
  Store("Editor", "Link", LoggerPath());
  Store("Mail", "Link", "");
  Store("-", "Link", "");
  Store("Notes", "Link", folder.Path());
  TForm1& form = Start();
  ASSERT_TRUE(errors.empty()) << errors[0];
  g_shot = MenuShot{};
  test::RightClickWithMenuTimer(form.Handle(), 32, 32, CaptureOpenMenu);
  ASSERT_TRUE(g_shot.open);
  int w = g_shot.rect.right - g_shot.rect.left, h = g_shot.rect.bottom - g_shot.rect.top;
  ASSERT_GT(w, 40);
  ASSERT_GT(h, 3 * 16);
  // Each entry row has icon pixels on its left and text pixels to the right.
  COLORREF background = GetSysColor(COLOR_MENU);
  auto differs = [&](int x0, int x1, int y0, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) count += g_shot.At(x, y) != background;
    return count;
  };
  int iconPixels = differs(3, 20, 3, h - 3);
  int textPixels = differs(30, w - 6, 3, h - 3);
  EXPECT_GT(iconPixels, 4 * 30);  // four entries with icons
  EXPECT_GT(textPixels, 4 * 10);
}

// The hot key's menu, seen from inside its loop: where it opened, how many
// menus are open after a second press, then the keys.
struct HotKeyMenuSeen {
  HWND launcher = nullptr;
  RECT rect{};
  int openMenus = 0;
} g_hotKeyMenu;

void CALLBACK PressHotKeyAgainThenKeys(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  GetWindowRect(menu, &g_hotKeyMenu.rect);
  SendMessageA(g_hotKeyMenu.launcher, WM_HOTKEY, HotKeyRegistration::kId, 0);
  const std::vector<HWND> windows = test::ThreadWindows();
  g_hotKeyMenu.openMenus = static_cast<int>(std::count_if(
      windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w) && WindowClassName(w) == "#32768"; }));
  for (WPARAM key : g_menuKeys) {
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
  }
}

TEST_F(Launcher, TheHotKeyOpensOneMenuAtThePointerWithTheFirstEntrySelected) {
  LoggedLink("Alpha", "alpha");
  LoggedLink("Beta", "beta");
  TForm1& form = Start();
  // Ctrl+Alt+Space without a stored entry, held: nobody else can have it.
  ASSERT_EQ(form.HotKeyWanted().kind, HotKeySetting::Default);
  EXPECT_TRUE(form.HotKeyActive());
  EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_SPACE));
  SetCursorPos(300, 200);
  g_hotKeyMenu = {form.Handle()};
  g_menuKeys = {VK_DOWN, VK_RETURN};
  SetTimer(nullptr, 0, 30, PressHotKeyAgainThenKeys);
  SendMessageA(form.Handle(), WM_HOTKEY, HotKeyRegistration::kId, MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_SPACE));
  Pump();
  EXPECT_EQ(g_hotKeyMenu.rect.left, 300);
  EXPECT_EQ(g_hotKeyMenu.rect.top, 200);
  EXPECT_EQ(g_hotKeyMenu.openMenus, 1) << "a second press opens no second menu";
  // The first entry was selected: Down went on to the second.
  EXPECT_EQ(Launches(1), std::vector<std::string>{"beta"});

  g_menuKeys = {VK_ESCAPE};
  SetTimer(nullptr, 0, 30, PressHotKeyAgainThenKeys);
  SendMessageA(form.Handle(), WM_HOTKEY, HotKeyRegistration::kId, 0);
  Pump();
  Sleep(500);
  Pump();
  EXPECT_EQ(Launches(1), std::vector<std::string>{"beta"}) << "Esc starts nothing";
  HWND menu = FindWindowA("#32768", nullptr);
  EXPECT_TRUE(!menu || !IsWindowVisible(menu));
}

TEST_F(Launcher, TheStoredHotKeyDecidesWhatIsRegisteredAndAHeldOneIsQuietlyInactive) {
  // Held by "another program" (this test) before the launcher starts.
  ASSERT_TRUE(RegisterHotKey(nullptr, 78, MOD_CONTROL | MOD_ALT, VK_F8));
  struct Case {
    const char* stored;
    HotKeySetting::Kind kind;
    bool active;
    UINT freeModifiers, freeKey;  // a combination the launcher must not hold afterwards
  } cases[] = {
      {"", HotKeySetting::None, false, MOD_CONTROL | MOD_ALT, VK_SPACE},
      {"Ctrl+Alt+Banana", HotKeySetting::Invalid, false, MOD_CONTROL | MOD_ALT, VK_SPACE},
      {"Ctrl+Alt+F8", HotKeySetting::Combination, false, MOD_CONTROL | MOD_ALT, VK_SPACE},
      {"Ctrl+Shift+F7", HotKeySetting::Combination, true, MOD_CONTROL | MOD_ALT, VK_SPACE},
  };
  for (const Case& c : cases) {
    Store("GRAPHIC", "HotKey", c.stored);
    TForm1& form = Start();
    EXPECT_EQ(form.HotKeyWanted().kind, c.kind) << c.stored;
    EXPECT_EQ(form.HotKeyActive(), c.active) << c.stored;
    EXPECT_TRUE(RegisterHotKey(nullptr, 79, c.freeModifiers, c.freeKey)) << c.stored;
    UnregisterHotKey(nullptr, 79);
    if (c.active) {
      EXPECT_FALSE(RegisterHotKey(nullptr, 80, MOD_CONTROL | MOD_SHIFT, VK_F7)) << "held by the launcher";
    }
    ResetApplication();
    Application().OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    Pump();
    EXPECT_TRUE(RegisterHotKey(nullptr, 81, MOD_CONTROL | MOD_SHIFT, VK_F7)) << "given back with the window";
    UnregisterHotKey(nullptr, 81);
  }
  EXPECT_TRUE(errors.empty()) << "no message at start";
  UnregisterHotKey(nullptr, 78);
}

// A key of a store file read as the program reads it; "" when missing.
std::string Stored(const std::string& store, const std::string& section, const std::string& key) {
  return test::StoredValue(store, section, key);
}

// The real program, as the user starts it: beside its own store.
TEST(LauncherProgram, StartsAsAToolWindowAndEndsOnEscWritingItsPosition) {
  test::TempFolder folder;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(test::StartProgramCopy(folder, pi)) << "CORVANE_EXE names the program";
  auto findWindow = [&](const char* cls) { return test::FindProcessWindow(pi.dwProcessId, cls); };
  HWND launcher = nullptr;
  EXPECT_TRUE(PumpUntil([&] { return (launcher = findWindow("TForm1")) && IsWindowVisible(launcher); }, 20000));
  if (launcher) {
    RECT r{};
    GetWindowRect(launcher, &r);
    EXPECT_EQ(r.left, 986);
    EXPECT_EQ(r.top, 232);
    EXPECT_EQ(r.right - r.left, 32);
    EXPECT_EQ(r.bottom - r.top, 32);
    EXPECT_TRUE(GetWindowLongA(launcher, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND app = findWindow("TApplication");
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(GetWindowLongA(app, GWL_EXSTYLE), 0x80);
    char title[64] = {};
    GetWindowTextA(app, title, sizeof title);
    EXPECT_STREQ(title, "Corvane");
    PostMessageA(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  DWORD waited = WaitForSingleObject(pi.hProcess, 15000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 9);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(code, 0u);
  LinkStore store;
  store.Open(folder.File("Corvane.ini"));
  EXPECT_EQ(store.ReadString("GRAPHIC", "Left", ""), "986");
  EXPECT_EQ(store.ReadString("GRAPHIC", "Top", ""), "232");
}

// A folder of the test's own with Corvane.exe copied in; ends in a backslash.
struct ProgramCopy {
  test::TempFolder folder;
  std::string path = folder.Path() + "\\";
  bool ready = std::getenv("CORVANE_EXE") &&
               CopyFileA(std::getenv("CORVANE_EXE"), (path + "Corvane.exe").c_str(), FALSE);
  std::string Store() const { return path + "Corvane.ini"; }
};

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// Start, saves and Esc leave exactly the exe and its store; what a killed
// writer left (and the lock file an older version kept) goes at the start.
TEST(LauncherProgram, LeavesNothingButItsFilesInItsFolder) {
  ProgramCopy app;
  ASSERT_TRUE(app.ready) << "CORVANE_EXE names the program";
  ASSERT_TRUE(corvane::testing::WriteWholeFile(app.Store() + ".tmp", "[Half]\r\nLink="));
  ASSERT_TRUE(corvane::testing::WriteWholeFile(app.Store() + ".lock", ""));
  SetFileAttributesA((app.Store() + ".lock").c_str(), FILE_ATTRIBUTE_HIDDEN);
  test::RunningProgram program(app.path);
  ASSERT_TRUE(program.AwaitLauncher());
  EXPECT_TRUE(PumpUntil([&] {
    return !corvane::testing::Exists(app.Store() + ".tmp") &&
           !corvane::testing::Exists(app.Store() + ".lock");
  }, 5000)) << "removed at the start";
  HWND editor = program.OpenEditor();
  ASSERT_TRUE(editor);
  ASSERT_TRUE(test::SaveLinkInEditor(editor, "C:\\windows\\notepad.exe", "Notes"));
  ASSERT_TRUE(PumpUntil([&] { return Stored(app.Store(), "Notes", "Link") != ""; }, 15000));
  ASSERT_TRUE(test::SaveLinkInEditor(editor, "C:\\windows\\regedit.exe", "Registry"));
  ASSERT_TRUE(PumpUntil([&] { return Stored(app.Store(), "Registry", "Link") != ""; }, 15000));
  EXPECT_EQ(program.AwaitMessageBox(300), "");
  program.PressEsc();
  EXPECT_TRUE(program.AwaitEnd(10000));
  EXPECT_EQ(Sorted(corvane::testing::ListFolder(app.path)),
            (std::vector<std::string>{"Corvane.exe", "Corvane.ini"}));
  EXPECT_EQ(Stored(app.Store(), "GRAPHIC", "Left"), "986");
}

// A shared folder where the store may be written but nothing created: the
// store is rewritten in place.
TEST(LauncherProgram, SavesInAFolderThatTakesNoNewFile) {
  ProgramCopy app;
  ASSERT_TRUE(app.ready) << "CORVANE_EXE names the program";
  ASSERT_TRUE(corvane::testing::WriteWholeFile(app.Store(), "[Mail]\r\nLink=C:\\mail.exe\r\n"));
  test::FolderTakingNoNewFile locked(app.path);
  if (!locked.Holds()) GTEST_SKIP() << "no folder refusing new files can be made here";
  test::RunningProgram program(app.path);
  HWND editor = program.OpenEditor();
  ASSERT_TRUE(editor);
  ASSERT_TRUE(test::SaveLinkInEditor(editor, "C:\\windows\\notepad.exe", "Notes"));
  EXPECT_EQ(program.AwaitMessageBox(1500), "") << "the save succeeds";
  EXPECT_EQ(Stored(app.Store(), "Notes", "Link"), "C:\\windows\\notepad.exe");
  EXPECT_EQ(Stored(app.Store(), "Mail", "Link"), "C:\\mail.exe");
  program.PressEsc();
  EXPECT_EQ(program.AwaitMessageBox(500), "");
  EXPECT_TRUE(program.AwaitEnd(10000));
  EXPECT_EQ(Stored(app.Store(), "GRAPHIC", "Left"), "986");
  EXPECT_EQ(Sorted(corvane::testing::ListFolder(app.path)),
            (std::vector<std::string>{"Corvane.exe", "Corvane.ini"}));
}

// Settings kept in a synced folder: Corvane.ini is a link to the copy there.
TEST(LauncherProgram, ALinkedStoreStaysALinkAndItsTargetHoldsTheLinks) {
  ProgramCopy app;
  ASSERT_TRUE(app.ready) << "CORVANE_EXE names the program";
  test::TempFolder synced;
  const std::string target = synced.File("Corvane.ini");
  ASSERT_TRUE(corvane::testing::WriteWholeFile(target, "[Mail]\r\nLink=C:\\mail.exe\r\n"));
  test::UnixLink link(test::UnixPath(target), app.Store());
  ASSERT_TRUE(link.Made());
  ASSERT_TRUE(test::IsUnixLink(app.Store()));
  test::RunningProgram program(app.path);
  HWND editor = program.OpenEditor();
  ASSERT_TRUE(editor);
  const std::vector<std::string> names{"One", "Two", "Three"};
  for (const std::string& name : names) {
    ASSERT_TRUE(test::SaveLinkInEditor(editor, "C:\\windows\\" + name + ".exe", name));
    ASSERT_TRUE(PumpUntil([&] { return Stored(target, name, "Link") != ""; }, 15000)) << name;
  }
  EXPECT_EQ(program.AwaitMessageBox(300), "");
  program.PressEsc();
  EXPECT_TRUE(program.AwaitEnd(10000));
  EXPECT_TRUE(test::IsUnixLink(app.Store())) << "still a link";
  for (const std::string& name : names) EXPECT_EQ(Stored(target, name, "Link"), "C:\\windows\\" + name + ".exe");
  EXPECT_EQ(Stored(target, "Mail", "Link"), "C:\\mail.exe");
  EXPECT_EQ(Stored(target, "GRAPHIC", "Left"), "986");
  EXPECT_EQ(Sorted(corvane::testing::ListFolder(app.path)),
            (std::vector<std::string>{"Corvane.exe", "Corvane.ini"}));
  EXPECT_EQ(corvane::testing::ListFolder(synced.Path() + "\\"), std::vector<std::string>{"Corvane.ini"});
}

// Whatever the store is, Esc ends the program: with one clear message where
// the user must act, no hang, and a link left a link.
TEST(LauncherProgram, EscEndsTheProgramWhateverStateTheStoreIsIn) {
  enum class Setup { ReadOnlyFile, LinkToMissingFolder, LinkToReadOnlyPlace, HeldByAnother, Deleted };
  struct Case {
    const char* name;
    Setup setup;
    const char* says;  // empty: no message
  } cases[] = {
      {"read-only store", Setup::ReadOnlyFile, "Unable to write to "},
      {"link into a folder that is not there", Setup::LinkToMissingFolder, "cannot be reached"},
      {"store held by another program", Setup::HeldByAnother, "Another program is using this file"},
      {"store deleted while running", Setup::Deleted, ""},
      // Last: where no read-only place can be made, the test ends here.
      {"link to a file on a read-only place", Setup::LinkToReadOnlyPlace, "cannot be written to"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramCopy app;
    ASSERT_TRUE(app.ready) << "CORVANE_EXE names the program";
    test::TempFolder elsewhere;
    const std::string stored = "[Mail]\r\nLink=C:\\mail.exe\r\n";
    const std::string target = elsewhere.File("Corvane.ini");
    std::unique_ptr<test::FolderTakingNoNewFile> readOnlyPlace;
    std::unique_ptr<test::UnixLink> link;
    switch (c.setup) {
      case Setup::ReadOnlyFile:
      case Setup::HeldByAnother:
      case Setup::Deleted:
        ASSERT_TRUE(corvane::testing::WriteWholeFile(app.Store(), stored));
        if (c.setup == Setup::ReadOnlyFile) SetFileAttributesA(app.Store().c_str(), FILE_ATTRIBUTE_READONLY);
        break;
      case Setup::LinkToMissingFolder:
        link = std::make_unique<test::UnixLink>(test::UnixPath(elsewhere.Path()) + "/unplugged/Corvane.ini",
                                                app.Store());
        ASSERT_TRUE(link->Made());
        break;
      case Setup::LinkToReadOnlyPlace:
        ASSERT_TRUE(corvane::testing::WriteWholeFile(target, stored));
        link = std::make_unique<test::UnixLink>(test::UnixPath(target), app.Store());
        ASSERT_TRUE(link->Made());
        readOnlyPlace = std::make_unique<test::FolderTakingNoNewFile>(elsewhere.Path(), true);
        if (!readOnlyPlace->Holds()) GTEST_SKIP() << "no read-only place can be made here";
        break;
    }
    test::RunningProgram program(app.path);
    ASSERT_TRUE(program.AwaitLauncher());
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.setup == Setup::HeldByAnother)
      held = CreateFileA(app.Store().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (c.setup == Setup::Deleted) {
      ASSERT_TRUE(DeleteFileA(app.Store().c_str()));
    }
    program.PressEsc();
    const std::string message = program.AwaitMessageBox(*c.says ? 10000 : 1000);
    if (*c.says) {
      EXPECT_NE(message.find(c.says), std::string::npos) << message;
      EXPECT_NE(message.find("not remembered"), std::string::npos) << message;
    } else {
      EXPECT_EQ(message, "");
    }
    EXPECT_TRUE(program.AwaitEnd(10000)) << "the program must end after Esc";
    EXPECT_EQ(program.AwaitMessageBox(200), "") << "one message only";
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    readOnlyPlace.reset();
    switch (c.setup) {
      case Setup::ReadOnlyFile:
      case Setup::HeldByAnother:
        EXPECT_EQ(corvane::testing::ReadWholeFile(app.Store()), stored);
        break;
      case Setup::LinkToMissingFolder:
        EXPECT_TRUE(test::IsUnixLink(app.Store()));
        break;
      case Setup::LinkToReadOnlyPlace:
        EXPECT_TRUE(test::IsUnixLink(app.Store()));
        EXPECT_EQ(corvane::testing::ReadWholeFile(target), stored);
        break;
      case Setup::Deleted:
        EXPECT_EQ(Stored(app.Store(), "GRAPHIC", "Left"), "986");
        break;
    }
    SetFileAttributesA(app.Store().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
}  // namespace corvane
