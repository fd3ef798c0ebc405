// The link editor, driven through its controls and messages under Wine with
// the launcher window beside it, as the program runs them.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "PngWriter.h"
#include "ShellHttpServer.h"
#include "SkinTestSupport.h"
#include "launcher/main.h"
#include "launcher/support.h"
#include "launcher/supportForm.h"

namespace corvane {
namespace {

using test::CatchMessageBoxes;
using test::Pump;
using test::PumpUntil;

using test::ProgramFolder;

std::string LoggerPath() {
  return ProgramFolder() + "\\launch_order_logger.exe";
}

class LinkEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    ChosenGraphic.clear();
    Application().OnException = [this](TObject*, const std::exception& e) {
      errors.push_back(e.what());
    };
    storePath = folder.File("Corvane.ini");
    logPath = folder.File("launches.log");
  }
  void TearDown() override {
    ReleaseCapture();
    ResetApplication();
    Pump();
  }
  void Store(const std::string& section, const std::string& key, const std::string& value) {
    LinkStore store;
    store.Open(storePath);
    store.WriteString(section, key, value);
  }
  std::string Stored(const std::string& section, const std::string& key) {
    LinkStore store;
    store.Open(storePath);
    return store.ReadString(section, key, "<none>");
  }
  std::vector<std::string> Sections() {
    LinkStore store;
    store.Open(storePath);
    std::vector<std::string> list;
    store.ReadSections(list);
    return list;
  }
  // The launcher and the editor, as the program starts them; the editor shown.
  TForm2& Start() {
    launcher = &Application().CreateForm<TForm1>(storePath);
    launcher->Show();
    TForm2& editor = Application().CreateForm<TForm2>();
    // With CORVANE_SKINNED_EDITOR set every editor test runs with the stored
    // skin on, as the program shows the editor.
    if (std::getenv("CORVANE_SKINNED_EDITOR")) {
      editor.SkinData1->SetSkinStream(test::skin::StoredSkin());
      editor.SkinData1->SetActive(true);
    }
    editor.Show();
    Pump();
    return editor;
  }
  std::vector<std::string> MenuCaptions() {
    std::vector<std::string> c;
    for (int i = 0; i < launcher->PopupMenu1->Count(); ++i)
      c.push_back(launcher->PopupMenu1->Items(i)->Caption());
    return c;
  }
  void Click(TButton* button) {
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  // Selects an item of the menu-item list as the user does, with the mouse.
  void ClickItem(TListBox* list, int index) {
    RECT r = list->ItemRect(index);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
    Pump();
  }
  // Drags item index of ListBox1 into ListBox2 with the mouse.
  void DragToRunWith(TForm2& editor, int index) {
    TListBox* from = editor.ListBox1;
    RECT r = from->ItemRect(index);
    POINT start{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT onTarget = editor.ListBox2->ClientToScreen(POINT{20, 10});
    ScreenToClient(from->Handle(), &onTarget);
    SendMessageA(from->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    SendMessageA(from->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x - 10, start.y));
    SendMessageA(from->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(onTarget.x, onTarget.y));
    SendMessageA(from->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(onTarget.x, onTarget.y));
    Pump();
  }
  std::vector<std::string> Launches(std::size_t count) {
    std::vector<std::string> lines;
    PumpUntil(
        [&] {
          lines.clear();
          std::ifstream in(logPath);
          std::string line;
          while (std::getline(in, line)) lines.push_back(line);
          return lines.size() >= count;
        },
        15000);
    Sleep(500);  // a stray extra start would show up now
    lines.clear();
    std::ifstream in(logPath);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line.substr(line.find(' ') + 1));
    return lines;
  }

  test::TempFolder folder;
  std::string storePath, logPath;
  TForm1* launcher = nullptr;
  std::vector<std::string> errors;
};

struct Designed {
  const char* name;
  const char* parent;
  int left, top, width, height;  // width 0: sized by its caption
  const char* caption;
  const char* hint;
};

TEST_F(LinkEditor, TheHotKeyFieldRegistersAndStoresACombinationAndReportsOneInUse) {
  // Ctrl+Alt+F8 is held by "another program" (this test) before the start.
  ASSERT_TRUE(RegisterHotKey(nullptr, 92, MOD_CONTROL | MOD_ALT, VK_F8));
  Store("GRAPHIC", "HotKey", "Ctrl+Alt+F8");
  TForm2& editor = Start();
  HWND field = editor.HotKey1->Handle();
  EXPECT_EQ(editor.HotKey1->Value(), 0x0677);  // the field's flags: Ctrl 2 | Alt 4
  EXPECT_EQ(editor.Label5->Caption(), "Menu hot key: not active");
  EXPECT_TRUE(errors.empty()) << "no message at start";
  // As the field reports a combination the user pressed in it.
  auto choose = [&](WORD value) {
    SendMessageA(field, HKM_SETHOTKEY, value, 0);
    return CatchMessageBoxes([&] {
      SendMessageA(GetParent(field), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_CHANGE),
                   reinterpret_cast<LPARAM>(field));
      Pump();
    });
  };
  auto heldElsewhere = [](UINT modifiers, UINT key) {
    bool held = !RegisterHotKey(nullptr, 93, modifiers, key);
    if (!held) UnregisterHotKey(nullptr, 93);
    return held;
  };

  EXPECT_EQ(choose(0x0376).count, 0);  // Ctrl+Shift+F7
  EXPECT_EQ(Stored("GRAPHIC", "HotKey"), "Ctrl+Shift+F7");
  EXPECT_TRUE(launcher->HotKeyActive());
  EXPECT_TRUE(heldElsewhere(MOD_CONTROL | MOD_SHIFT, VK_F7));
  EXPECT_EQ(editor.Label5->Caption(), "Menu hot key");

  auto seen = choose(0x0677);  // Ctrl+Alt+F8 again, still held
  EXPECT_EQ(seen.text, "The hot key Ctrl+Alt+F8 is in use by another program. Choose another combination.");
  EXPECT_EQ(Stored("GRAPHIC", "HotKey"), "Ctrl+Shift+F7");
  EXPECT_EQ(editor.HotKey1->Value(), 0x0376) << "the field shows the hot key that stays";
  EXPECT_TRUE(heldElsewhere(MOD_CONTROL | MOD_SHIFT, VK_F7)) << "the launcher keeps its own";
  UnregisterHotKey(nullptr, 92);

  EXPECT_EQ(choose(0x004B).count, 0);  // K alone would take the key from typing
  EXPECT_EQ(editor.Label5->Caption(), "Menu hot key: needs Ctrl or Alt");
  EXPECT_EQ(Stored("GRAPHIC", "HotKey"), "Ctrl+Shift+F7");

  EXPECT_EQ(choose(0).count, 0);  // cleared with Backspace
  EXPECT_EQ(Stored("GRAPHIC", "HotKey"), "");
  EXPECT_FALSE(launcher->HotKeyActive());
  EXPECT_FALSE(heldElsewhere(MOD_CONTROL | MOD_SHIFT, VK_F7));
  EXPECT_FALSE(heldElsewhere(MOD_CONTROL | MOD_ALT, VK_SPACE)) << "an empty entry is no default";
  EXPECT_TRUE(errors.empty());
}

TEST_F(LinkEditor, EveryControlSitsInItsParentWithItsBoxCaptionAndHint) {
  TForm2& editor = Start();
  const Designed table[] = {
      {"GroupBox1", "Form2", 8, 4, 286, 205, "Menu Links", ""},
      {"Label1", "GroupBox1", 10, 18, 0, 0, "File name", ""},
      {"Edit1", "GroupBox1", 10, 34, 245, 21, "", "File to run"},
      {"Button1", "GroupBox1", 254, 35, 18, 19, "<>", "Select a file"},
      {"Label2", "GroupBox1", 10, 58, 0, 0, "Menu entry name", ""},
      {"Edit2", "GroupBox1", 10, 74, 159, 21, "", "Name used in the menu"},
      {"Label3", "GroupBox1", 178, 59, 0, 0, "Params", ""},
      {"Edit3", "GroupBox1", 178, 74, 95, 21, "", "Parameters if required"},
      {"Label4", "GroupBox1", 12, 98, 0, 0, "Links to run at the same time", ""},
      {"ListBox2", "GroupBox1", 10, 112, 263, 43, "",
       "Drag a menu link from menu item listing - DELETE key to delete item"},
      {"Button11", "GroupBox1", 11, 169, 49, 22, "New", ""},
      {"Button2", "GroupBox1", 65, 170, 49, 21, "Save", "Save menu link"},
      {"Button7", "GroupBox1", 119, 170, 49, 21, "Delete", "Delete menu link"},
      {"Button12", "GroupBox1", 224, 170, 49, 21, "Test", "Test menu link"},
      {"GroupBox2", "Form2", 8, 215, 177, 89, "Graphic", ""},
      {"Image1", "GroupBox2", 12, 22, 54, 54, "", ""},
      {"Button3", "GroupBox2", 82, 23, 83, 21, "Select Graphic", "Select menu graphic"},
      {"Button4", "GroupBox2", 82, 55, 83, 21, "Update Graphic", "Save menu graphic"},
      {"GroupBox3", "Form2", 290, 4, 231, 301, "Menu Items", ""},
      {"ListBox1", "GroupBox3", 10, 20, 207, 225, "", "Click to view link details"},
      {"Label5", "GroupBox3", 10, 251, 0, 0, "Menu hot key", ""},
      {"HotKey1", "GroupBox3", 10, 266, 207, 21, "", "Keys that open the link menu anywhere - Backspace for none"},
      {"Button10", "Form2", 98, 206, 83, 21, "Check updates", "Check for updates"},
      {"Button5", "Form2", 191, 224, 94, 21, "ADD Startup link", "Add/delete from Startup folder"},
      {"Button8", "Form2", 191, 251, 94, 21, "Readme", ""},
      {"Button6", "Form2", 192, 279, 94, 21, "Delete invalid links",
       "Check and delete invalid links"},
  };
  for (const Designed& d : table) {
    SCOPED_TRACE(d.name);
    auto* c = dynamic_cast<TControl*>(editor.FindComponent(d.name));
    ASSERT_NE(c, nullptr);
    ASSERT_NE(c->Parent(), nullptr);
    EXPECT_EQ(c->Parent()->Name, d.parent);
    EXPECT_EQ(c->Left(), d.left);
    EXPECT_EQ(c->Top(), d.top);
    if (d.width) {
      EXPECT_EQ(c->Width(), d.width);
      // Lists show whole rows only, so their height may come up short of the design.
      if (std::string(d.name).rfind("ListBox", 0) == 0) {
        EXPECT_LE(c->Height(), d.height);
      } else {
        EXPECT_EQ(c->Height(), d.height);
      }
    } else {
      EXPECT_GT(c->Width(), 0);
    }
    // Nothing sticks out of its parent.
    EXPECT_LE(c->Left() + c->Width(), c->Parent()->ClientWidth());
    EXPECT_LE(c->Top() + c->Height(), c->Parent()->ClientHeight());
    if (std::string(d.name).rfind("Edit", 0) != 0) {
      EXPECT_EQ(c->Caption(), d.caption);
    }
    EXPECT_EQ(c->Hint, d.hint);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      char text[128] = {};
      GetWindowTextA(w->Handle(), text, sizeof text);
      if (std::string(d.name).rfind("Button", 0) == 0 ||
          std::string(d.name).rfind("GroupBox", 0) == 0) {
        EXPECT_STREQ(text, d.caption);
      }
    }
  }
  EXPECT_FALSE(editor.Button10->Visible());
  EXPECT_FALSE(IsWindowVisible(editor.Button10->Handle()));
  EXPECT_TRUE(IsWindowVisible(editor.Button6->Handle()));
}

TEST_F(LinkEditor, TheFormIsAStayOnTopDialogCentredWithItsClientSizeAndVersionCaption) {
  TForm2& editor = Start();
  HWND w = editor.Handle();
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 531);
  EXPECT_EQ(client.bottom, 330);
  LONG style = GetWindowLongA(w, GWL_STYLE), ex = GetWindowLongA(w, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(ex & WS_EX_DLGMODALFRAME);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_ACCEPTFILES);
  EXPECT_EQ(editor.BorderIcons, unsigned{biSystemMenu | biMinimize});
  RECT outer{}, work{};
  GetWindowRect(w, &outer);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);
  char caption[128] = {};
  GetWindowTextA(w, caption, sizeof caption);
  EXPECT_STREQ(caption, "Corvane version: 0.0.0.7");  // the test program's own FileVersion
  // The status bar runs along the bottom, 19 pixels high.
  EXPECT_EQ(editor.StatusBar1->Top(), 311);
  EXPECT_EQ(editor.StatusBar1->Height(), 19);
  EXPECT_EQ(editor.StatusBar1->Width(), 531);
}

TEST_F(LinkEditor, ClosingOnlyHidesItAndItKeepsItsFields) {
  TForm2& editor = Start();
  editor.Edit2->SetText("kept");
  SendMessageA(editor.Handle(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(editor.Handle()));
  EXPECT_TRUE(IsWindow(editor.Handle()));
  editor.Show();
  EXPECT_EQ(editor.Edit2->Text(), "kept");
}

TEST_F(LinkEditor, TheListHoldsEveryLinkSortedWithoutTheGraphicSection) {
  Store("zeta", "Link", "z.exe");
  Store("Graphic", "File", "");
  Store("alpha", "Link", "a.exe");
  Store("Mid", "Link", "m.exe");
  TForm2& editor = Start();
  EXPECT_EQ(editor.ListBox1->Items(), (std::vector<std::string>{"alpha", "Mid", "zeta"}));
}

// Keeps the window up for a look (or a screenshot) when
// CORVANE_HOLD_SECONDS asks for it; nothing otherwise.
void HoldForViewing() {
  char value[16] = {};
  if (!GetEnvironmentVariableA("CORVANE_HOLD_SECONDS", value, sizeof value)) return;
  DWORD until = GetTickCount() + static_cast<DWORD>(atoi(value)) * 1000;
  while (GetTickCount() < until) {
    Pump();
    Sleep(20);
  }
}

TEST_F(LinkEditor, ChoosingALinkFillsEveryField) {
  Store("Editor", "Link", "C:\\tools\\edit.exe");
  Store("Editor", "Param", "-n");
  Store("Editor", "RunWith", "Mail,\"My Notes\"");
  Store("Mail", "Link", "mail.exe");
  Store("My Notes", "Link", "C:\\notes\\today.txt");
  Store("Browser", "Link", "http://example.org/");
  TForm2& editor = Start();
  ClickItem(editor.ListBox1, 1);
  EXPECT_EQ(editor.Edit2->Text(), "Editor");
  EXPECT_EQ(editor.Edit1->Text(), "C:\\tools\\edit.exe");
  EXPECT_EQ(editor.Edit3->Text(), "-n");
  EXPECT_EQ(editor.ListBox2->Items(), (std::vector<std::string>{"Mail", "My Notes"}));
  HoldForViewing();
  // New empties all of it.
  Click(editor.Button11);
  EXPECT_EQ(editor.Edit1->Text(), "");
  EXPECT_EQ(editor.Edit2->Text(), "");
  EXPECT_EQ(editor.Edit3->Text(), "");
  EXPECT_EQ(editor.ListBox2->Count(), 0);
}

TEST_F(LinkEditor, SaveWithAnEmptyNameDoesNothing) {
  TForm2& editor = Start();
  editor.Edit1->SetText("C:\\x.exe");
  Click(editor.Button2);
  EXPECT_TRUE(Sections().empty());
  EXPECT_EQ(editor.ListBox1->Count(), 0);
}

TEST_F(LinkEditor, SaveWritesTheLinkRebuildsTheMenuAndANewNameKeepsTheOldSection) {
  TForm2& editor = Start();
  editor.Edit1->SetText("C:\\tools\\one.exe");
  editor.Edit2->SetText("One");
  editor.Edit3->SetText("/a");
  Click(editor.Button2);
  EXPECT_EQ(Stored("One", "Link"), "C:\\tools\\one.exe");
  EXPECT_EQ(Stored("One", "Param"), "/a");
  EXPECT_EQ(Stored("One", "RunWith"), "<none>");
  EXPECT_EQ(MenuCaptions(), (std::vector<std::string>{"One"}));
  editor.Edit2->SetText("Two");
  editor.Edit3->Clear();
  Click(editor.Button2);
  EXPECT_EQ(Stored("One", "Link"), "C:\\tools\\one.exe");
  EXPECT_EQ(Stored("Two", "Link"), "C:\\tools\\one.exe");
  EXPECT_EQ(Stored("Two", "Param"), "");
  EXPECT_EQ(editor.ListBox1->Items(), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(editor.ListBox1->ItemIndex(), -1);
  EXPECT_EQ(MenuCaptions(), (std::vector<std::string>{"One", "Two"}));
}

TEST_F(LinkEditor, SavingAnEmptyRunWithListRemovesTheKey) {
  Store("Main", "Link", "main.exe");
  Store("Main", "RunWith", "Other");
  Store("Other", "Link", "other.exe");
  TForm2& editor = Start();
  ClickItem(editor.ListBox1, 0);
  ASSERT_EQ(editor.Edit2->Text(), "Main");
  ASSERT_EQ(editor.ListBox2->Count(), 1);
  editor.ListBox2->SetItemIndex(0);
  SendMessageA(editor.ListBox2->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(editor.ListBox2->Count(), 0);
  Click(editor.Button2);
  EXPECT_EQ(Stored("Main", "RunWith"), "<none>");
  EXPECT_EQ(Stored("Main", "Link"), "main.exe");
}

TEST_F(LinkEditor, TheDeleteKeyNeedsASelectionInTheRunWithList) {
  TForm2& editor = Start();
  editor.ListBox2->SetItems({"a", "b"});
  SendMessageA(editor.ListBox2->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(editor.ListBox2->Count(), 2);
  editor.ListBox2->SetItemIndex(1);
  SendMessageA(editor.ListBox2->Handle(), WM_KEYDOWN, 'X', 0);
  EXPECT_EQ(editor.ListBox2->Count(), 2);
  SendMessageA(editor.ListBox2->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(editor.ListBox2->Items(), (std::vector<std::string>{"a"}));
}

TEST_F(LinkEditor, DeleteNeedsASelectionAndErasesTheSectionNamedInTheField) {
  Store("Keep", "Link", "k.exe");
  Store("Gone", "Link", "g.exe");
  TForm2& editor = Start();
  editor.Edit2->SetText("Gone");
  Click(editor.Button7);
  EXPECT_EQ(Stored("Gone", "Link"), "g.exe");
  EXPECT_EQ(editor.Edit2->Text(), "Gone");

  ClickItem(editor.ListBox1, 0);  // "Gone"
  ASSERT_EQ(editor.Edit2->Text(), "Gone");
  Click(editor.Button7);
  EXPECT_EQ(Stored("Gone", "Link"), "<none>");
  EXPECT_EQ(Stored("Keep", "Link"), "k.exe");
  EXPECT_EQ(editor.ListBox1->Items(), (std::vector<std::string>{"Keep"}));
  EXPECT_EQ(editor.Edit1->Text(), "");
  EXPECT_EQ(editor.Edit2->Text(), "");
  EXPECT_EQ(MenuCaptions(), (std::vector<std::string>{"Keep"}));
}

TEST_F(LinkEditor, DraggingTheSameLinkTwiceStoresItTwiceAndTestStartsBoth) {
  Store("Logger", "Link", LoggerPath());
  Store("Logger", "Param", "\"" + logPath + "\" runwith");
  TForm2& editor = Start();
  editor.Edit2->SetText("Main");
  editor.Edit1->SetText(LoggerPath());
  editor.Edit3->SetText("\"" + logPath + "\" main");
  DragToRunWith(editor, 0);
  DragToRunWith(editor, 0);
  EXPECT_EQ(editor.ListBox2->Items(), (std::vector<std::string>{"Logger", "Logger"}));
  // The drags chose nothing: the fields still hold the link being edited.
  EXPECT_EQ(editor.Edit2->Text(), "Main");
  Click(editor.Button2);
  LinkStore store;
  store.Open(storePath);
  EXPECT_EQ(store.ReadCommaText("Main", "RunWith"), (std::vector<std::string>{"Logger", "Logger"}));

  Click(editor.Button12);
  std::vector<std::string> launches = Launches(3);
  ASSERT_EQ(launches.size(), 3u);
  int runWith = 0, main = 0;
  for (const std::string& l : launches) {
    if (l.find("runwith") != std::string::npos) ++runWith;
    if (l.find("main") != std::string::npos) ++main;
  }
  EXPECT_EQ(runWith, 2);
  EXPECT_EQ(main, 1);
}

TEST_F(LinkEditor, TestWithAnEmptyFileFieldStartsNothing) {
  Store("Logger", "Link", LoggerPath());
  Store("Logger", "Param", "\"" + logPath + "\" runwith");
  TForm2& editor = Start();
  editor.ListBox2->SetItems({"Logger"});
  Click(editor.Button12);
  Sleep(1500);
  Pump();
  EXPECT_EQ(GetFileAttributesA(logPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LinkEditor, ADropFromAListWithoutSelectionRaisesTheListErrorAndAddsNothing) {
  Store("One", "Link", "1.exe");
  TForm2& editor = Start();
  ASSERT_EQ(editor.ListBox1->ItemIndex(), -1);
  try {
    editor.ListBox2DragDrop(editor.ListBox2, editor.ListBox1, 0, 0);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
  }
  EXPECT_EQ(editor.ListBox2->Count(), 0);
  bool accept = false;
  editor.ListBox2DragOver(editor.ListBox2, editor.ListBox1, 0, 0, TDragState::dsDragMove, accept);
  EXPECT_TRUE(accept);
  editor.ListBox2DragOver(editor.ListBox2, editor.Edit1, 0, 0, TDragState::dsDragMove, accept);
  EXPECT_FALSE(accept);
}

TEST_F(LinkEditor, TheSweepNeedsASelectionAndRemovesLinksThatCannotBeStarted) {
  std::string present = folder.File("present.exe");
  std::ofstream(present) << "x";
  // A drive letter nothing is mapped to stands for an unplugged stick.
  DWORD drives = GetLogicalDrives();
  char letter = 0;
  for (char c = 'Y'; c >= 'K'; --c)
    if (!(drives & (1u << (c - 'A')))) letter = c;
  ASSERT_NE(letter, 0);
  std::string offline = std::string(1, letter) + ":\\tools\\portable.exe";
  Store("Present", "Link", present);
  Store("Missing", "Link", folder.File("gone.exe"));
  Store("Folder", "Link", folder.Path());
  Store("Web", "Link", "http://example.org/");
  Store("Empty", "Param", "-x");
  Store("Stick", "Link", offline);
  TForm2& editor = Start();
  editor.Edit2->SetText("unchanged");

  Click(editor.Button6);  // nothing selected
  EXPECT_EQ(editor.ListBox1->Count(), 6);

  ClickItem(editor.ListBox1, 0);
  editor.Edit2->SetText("unchanged");
  Click(editor.Button6);
  EXPECT_EQ(editor.ListBox1->Items(), (std::vector<std::string>{"Present", "Stick"}));
  EXPECT_EQ(Stored("Missing", "Link"), "<none>");
  EXPECT_EQ(Stored("Folder", "Link"), "<none>");
  EXPECT_EQ(Stored("Web", "Link"), "<none>");
  EXPECT_EQ(Stored("Empty", "Param"), "<none>");
  EXPECT_EQ(Stored("Stick", "Link"), offline);
  EXPECT_EQ(editor.Edit2->Text(), "unchanged");
  EXPECT_EQ(MenuCaptions(), (std::vector<std::string>{"Present", "Stick"}));
}

TEST(LinkTargets, OnlyFilesOnReachableDrivesAreJudged) {
  test::TempFolder folder;
  std::string file = folder.File("tool.exe");
  std::ofstream(file) << "x";
  EXPECT_EQ(ClassifyLinkTarget(file), LinkTarget::ExistingFile);
  EXPECT_EQ(ClassifyLinkTarget(folder.File("gone.exe")), LinkTarget::Invalid);
  EXPECT_EQ(ClassifyLinkTarget(folder.File("no-such-folder\\gone.exe")), LinkTarget::Invalid);
  EXPECT_EQ(ClassifyLinkTarget(folder.Path()), LinkTarget::Invalid);
  EXPECT_EQ(ClassifyLinkTarget(""), LinkTarget::Invalid);
  EXPECT_EQ(ClassifyLinkTarget("https://example.org/x.exe"), LinkTarget::Invalid);
  EXPECT_EQ(ClassifyLinkTarget("mailto:someone@example.org"), LinkTarget::Invalid);
  DWORD drives = GetLogicalDrives();
  for (char c = 'Y'; c >= 'K'; --c) {
    if (drives & (1u << (c - 'A'))) continue;
    EXPECT_EQ(ClassifyLinkTarget(std::string(1, c) + ":\\x.exe"), LinkTarget::Unreachable);
    break;
  }
  // A bare name is looked up in the current folder.
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA(folder.Path().c_str());
  EXPECT_EQ(ClassifyLinkTarget("tool.exe"), LinkTarget::ExistingFile);
  EXPECT_EQ(ClassifyLinkTarget("other.exe"), LinkTarget::Invalid);
  SetCurrentDirectoryA(current);
}

TEST(StrToInt, AcceptsIntegersAndNamesTheTextOtherwise) {
  EXPECT_EQ(StrToInt("111"), 111);
  EXPECT_EQ(StrToInt(" -7 "), -7);
  EXPECT_EQ(StrToInt("$10"), 16);
  EXPECT_EQ(StrToInt("0x1F"), 31);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  for (const char* bad : {"", "abc", "12a", "0x", "4294967296", "1 2"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
    }
  }
}

TEST(Readme, IsTheProgramsPathEndingInRtf) {
  EXPECT_EQ(ReadmePath("C:\\Apps\\Corvane.exe"), "C:\\Apps\\Corvane.rtf");
  EXPECT_EQ(ReadmePath("C:\\My.Apps\\Corvane"), "C:\\My.Apps\\Corvane.rtf");
}

class UpdateCheck : public LinkEditor {
 protected:
  test::MessageBoxSeen Check(TForm2& editor) {
    // Through the window, as a click arrives: errors end in the framework's handler.
    return CatchMessageBoxes([&] { SendMessageA(editor.Button10->Handle(), BM_CLICK, 0, 0); });
  }
  testing::ShellHttpServer server;
};

TEST_F(UpdateCheck, AnEqualNumberIsTheLatestVersion) {
  TForm2& editor = Start();
  editor.VersionInfo1->URL = server.Url("/updates/updateinfo.ini");
  server.SetBody("[Updates]\r\ncorvane=7\r\nnewcorvane=http://example.org/new\r\n");
  test::MessageBoxSeen box = Check(editor);
  EXPECT_EQ(box.count, 1);
  EXPECT_EQ(box.caption, "Corvane");
  EXPECT_EQ(box.text, "You appear to have the latest version");
}

TEST_F(UpdateCheck, ANewerNumberNamesTheDownloadAddress) {
  TForm2& editor = Start();
  editor.VersionInfo1->URL = server.Url("/updates/updateinfo.ini");
  server.SetBody("[Updates]\r\ncorvane=8\r\nnewcorvane=http://example.org/new\r\n");
  test::MessageBoxSeen box = Check(editor);
  EXPECT_EQ(box.text, "Corvane has been updated.  Download from:\r\nhttp://example.org/new");
}

TEST_F(UpdateCheck, AFailedDownloadSaysSo) {
  TForm2& editor = Start();
  editor.VersionInfo1->URL = server.Url("/missing");
  EXPECT_EQ(Check(editor).text, "Unable to check for update!");
}

TEST_F(UpdateCheck, AMissingOrBrokenOwnNumberIsAnError) {
  TForm2& editor = Start();
  editor.VersionInfo1->URL = server.Url("/updates/updateinfo.ini");
  server.SetBody("[Updates]\r\ncorvane=8\r\n");
  editor.VersionInfo1->UpdateInfo = "";
  EXPECT_EQ(Check(editor).count, 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Error reading version information");
  EXPECT_EQ(server.Requests(), 0);
  editor.VersionInfo1->UpdateInfo = "x7";
  EXPECT_EQ(Check(editor).count, 0);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[1], "'x7' is not a valid integer value");
}

TEST_F(UpdateCheck, ADroppedProgramDoesNotChangeTheNumberComparedAgainst) {
  TForm2& editor = Start();
  editor.VersionInfo1->URL = server.Url("/updates/updateinfo.ini");
  server.SetBody("[Updates]\r\ncorvane=6\r\n");
  // The argument logger's block reads without an update number: taken as the
  // program's own, the check would fail.
  std::string other = ProgramFolder() + "\\shell_argv_logger.exe";
  SendMessageA(editor.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::MakeDrop({other})), 0);
  EXPECT_EQ(editor.VersionInfo1->UpdateInfo, "7");
  EXPECT_EQ(Check(editor).text, "You appear to have the latest version");
}

TEST_F(LinkEditor, TheStartupButtonShowsWhetherTheShortcutExistsAndFlips) {
  // Start from no shortcut, whatever an earlier run left.
  if (StartupShortcut(ExecutablePath(), "Corvane", true))
    StartupShortcut(ExecutablePath(), "Corvane", false);
  TForm2& editor = Start();
  EXPECT_EQ(editor.Button5->Caption(), "ADD Startup link");
  Click(editor.Button5);
  EXPECT_EQ(editor.Button5->Caption(), "DEL Startup link");
  EXPECT_TRUE(StartupShortcut(ExecutablePath(), "Corvane", true));
  editor.Hide();
  editor.Button5->SetCaption("stale");
  editor.Show();
  Pump();
  EXPECT_EQ(editor.Button5->Caption(), "DEL Startup link");
  Click(editor.Button5);
  EXPECT_EQ(editor.Button5->Caption(), "ADD Startup link");
  EXPECT_FALSE(StartupShortcut(ExecutablePath(), "Corvane", true));
}

class Graphic : public LinkEditor {
 protected:
  void TearDown() override {
    if (!copied.empty()) DeleteFileA(copied.c_str());
    LinkEditor::TearDown();
  }
  std::string copied;
};

TEST_F(Graphic, UpdateWithoutAChosenPictureChangesNothing) {
  Store("GRAPHIC", "Left", "300");
  Store("GRAPHIC", "Top", "200");
  TForm2& editor = Start();
  launcher->SetBounds(50, 60, launcher->Width(), launcher->Height());
  Click(editor.Button4);
  EXPECT_EQ(Stored("GRAPHIC", "File"), "<none>");
  EXPECT_EQ(launcher->Left(), 50);
  EXPECT_TRUE(errors.empty());
}

TEST_F(Graphic, SelectPreviewsAndUpdateStoresACopyAndMovesTheLauncherBack) {
  Store("GRAPHIC", "Left", "300");
  Store("GRAPHIC", "Top", "200");
  std::string picture = folder.File("corvane-editor-test-blue.bmp");
  ASSERT_TRUE(test::WriteBmp(picture, 108, 54, [](int, int) { return RGB(0, 0, 255); }));
  TForm2& editor = Start();

  test::AnswerFileDialog("", [&] { Click(editor.Button3); });  // cancelled
  EXPECT_EQ(ChosenGraphic, "");
  test::AnswerFileDialog(picture, [&] { Click(editor.Button3); });
  EXPECT_EQ(lstrcmpiA(ChosenGraphic.c_str(), picture.c_str()), 0) << ChosenGraphic;
  EXPECT_EQ(editor.Image1->Picture().Width(), 108);
  // Scaled down into the 54 x 54 preview, keeping the shape.
  RECT shown = editor.Image1->DestRect();
  EXPECT_EQ(shown.right - shown.left, 54);
  EXPECT_EQ(shown.bottom - shown.top, 27);

  launcher->SetBounds(50, 60, launcher->Width(), launcher->Height());
  Click(editor.Button4);
  copied = ProgramFolder() + "\\corvane-editor-test-blue.bmp";
  EXPECT_EQ(lstrcmpiA(Stored("GRAPHIC", "File").c_str(), copied.c_str()), 0)
      << Stored("GRAPHIC", "File");
  EXPECT_NE(GetFileAttributesA(copied.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(launcher->SkinImage1->Picture().Width(), 108);
  EXPECT_EQ(launcher->Left(), 300);
  EXPECT_EQ(launcher->Top(), 200);
  EXPECT_TRUE(errors.empty());
}

TEST_F(Graphic, APictureWithNothingVisibleIsShownWithoutItsTransparencyAndSaysSo) {
  const std::string picture = folder.File("corvane-editor-test-clear.png");
  ASSERT_TRUE(test::WritePng(picture, 20, 10, [](int, int) { return 0x00FFFFFFu; }));
  TForm2& editor = Start();
  test::AnswerFileDialog(picture, [&] { Click(editor.Button3); });
  const test::MessageBoxSeen box = CatchMessageBoxes([&] { Click(editor.Button4); });
  copied = ProgramFolder() + "\\corvane-editor-test-clear.png";
  EXPECT_EQ(box.count, 1);
  EXPECT_NE(box.text.find("transparent everywhere"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("corvane-editor-test-clear.png"), std::string::npos) << box.text;
  // A window of the picture's size that can still be clicked.
  EXPECT_FALSE(launcher->SkinImage1->Layered());
  EXPECT_TRUE(IsWindowVisible(launcher->Handle()));
  RECT r{};
  GetClientRect(launcher->Handle(), &r);
  EXPECT_EQ(r.right, 20);
  EXPECT_EQ(r.bottom, 10);
  POINT centre{10, 5};
  ClientToScreen(launcher->Handle(), &centre);
  EXPECT_EQ(WindowFromPoint(centre), launcher->Handle());
  // A picture with something visible says nothing.
  const std::string soft = folder.File("corvane-editor-test-soft.png");
  ASSERT_TRUE(test::WritePng(soft, 20, 10, [](int x, int) { return x < 5 ? 0u : 0xC0FFFFFFu; }));
  test::AnswerFileDialog(soft, [&] { Click(editor.Button3); });
  EXPECT_EQ(CatchMessageBoxes([&] { Click(editor.Button4); }).count, 0);
  DeleteFileA((ProgramFolder() + "\\corvane-editor-test-soft.png").c_str());
  EXPECT_TRUE(launcher->SkinImage1->Layered());
  EXPECT_TRUE(errors.empty());
}

TEST_F(Graphic, APictureThatDoesNotLoadIsNeitherChosenNorStored) {
  std::string broken = folder.File("corvane-editor-test-broken.bmp");
  std::ofstream(broken, std::ios::binary) << "BM but nothing else";
  TForm2& editor = Start();
  test::AnswerFileDialog(broken, [&] { Click(editor.Button3); });
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(ChosenGraphic, "");
  EXPECT_TRUE(editor.Image1->Picture().Empty());
  Click(editor.Button4);
  EXPECT_EQ(Stored("GRAPHIC", "File"), "<none>");
  EXPECT_EQ(GetFileAttributesA((ProgramFolder() + "\\corvane-editor-test-broken.bmp").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(LinkEditor, TheFileButtonPutsTheChosenPathInTheFileFieldOnly) {
  std::string file = folder.File("chosen.exe");
  std::ofstream(file) << "x";
  TForm2& editor = Start();
  editor.Edit1->SetText(folder.File("elsewhere.exe"));
  editor.Edit2->SetText("name stays");
  test::AnswerFileDialog(file, [&] { Click(editor.Button1); });
  EXPECT_EQ(lstrcmpiA(editor.Edit1->Text().c_str(), file.c_str()), 0) << editor.Edit1->Text();
  EXPECT_EQ(editor.od1->InitialDir, folder.Path() + "\\");
  EXPECT_EQ(editor.Edit2->Text(), "name stays");
  test::AnswerFileDialog("", [&] { Click(editor.Button1); });
  EXPECT_EQ(lstrcmpiA(editor.Edit1->Text().c_str(), file.c_str()), 0);
}

TEST_F(LinkEditor, ADroppedFileFillsFileAndNameFromItsVersionBlockOrItsName) {
  TForm2& editor = Start();
  editor.Edit3->SetText("params stay");
  editor.ListBox2->SetItems({"stays"});
  std::string self = ProgramFolder() + "\\win_tests.exe";
  std::string plain = LoggerPath();
  std::string unnamed = ProgramFolder() + "\\shell_argv_logger.exe";
  SendMessageA(editor.Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(test::MakeDrop({self, plain})), 0);
  EXPECT_EQ(editor.Edit1->Text(), self);
  EXPECT_EQ(editor.Edit2->Text(), "Corvane tests");
  SendMessageA(editor.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::MakeDrop({plain})), 0);
  EXPECT_EQ(editor.Edit1->Text(), plain);
  EXPECT_EQ(editor.Edit2->Text(), "launch_order_logger.exe");
  // A block without a product name under its translation gives an empty name.
  SendMessageA(editor.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::MakeDrop({unnamed})),
               0);
  EXPECT_EQ(editor.Edit2->Text(), "");
  EXPECT_EQ(editor.Edit3->Text(), "params stay");
  EXPECT_EQ(editor.ListBox2->Items(), (std::vector<std::string>{"stays"}));
  // Names are read into 256 characters, as they always were.
  std::string longName = "C:\\" + std::string(300, 'n') + ".exe";
  SendMessageA(editor.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::MakeDrop({longName})),
               0);
  EXPECT_EQ(editor.Edit1->Text(), longName.substr(0, 255));
}

TEST_F(LinkEditor, TheStatusBarShowsTheHintUnderTheMouse) {
  TForm2& editor = Start();
  POINT p = editor.Edit1->ClientToScreen(POINT{5, 5});
  SetCursorPos(p.x, p.y);
  EXPECT_TRUE(PumpUntil([&] { return editor.StatusBar1->SimpleText() == "File to run"; }, 3000));
  p = editor.ListBox1->ClientToScreen(POINT{5, 5});
  SetCursorPos(p.x, p.y);
  EXPECT_TRUE(PumpUntil(
      [&] { return editor.StatusBar1->SimpleText() == "Click to view link details"; }, 3000));
}

TEST_F(LinkEditor, DoubleClickingTheLauncherShowsTheEditorWithItsPicture) {
  std::string picture = folder.File("launcher.bmp");
  ASSERT_TRUE(test::WriteBmp(picture, 30, 20,
                             [](int x, int) { return x < 15 ? RGB(255, 0, 0) : RGB(0, 255, 0); }));
  Store("GRAPHIC", "File", picture);
  TForm2& editor = Start();
  editor.Hide();
  Pump();
  ASSERT_FALSE(IsWindowVisible(editor.Handle()));
  // The press that follows a double-click starts a move of the launcher;
  // the system's move loop is kept out of the test.
  auto old = launcher->WindowProc;
  launcher->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MOVE) return;
    old(m);
  };
  SendMessageA(launcher->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  Pump();
  launcher->WindowProc = old;
  EXPECT_TRUE(IsWindowVisible(editor.Handle()));
  EXPECT_EQ(editor.Image1->Picture().Width(), 30);
  EXPECT_EQ(editor.Image1->Picture().Height(), 20);
  ASSERT_NE(editor.Image1->Picture().Bitmap(), nullptr);
  EXPECT_NE(editor.Image1->Picture().Bitmap(), launcher->SkinImage1->Picture().Bitmap());  // a copy
}

TEST_F(LinkEditor, AFileDroppedOnTheLauncherOpensTheEditorWithTheFirstFile) {
  TForm2& editor = Start();
  editor.Hide();
  editor.Edit3->SetText("params stay");
  Pump();
  std::string self = ProgramFolder() + "\\win_tests.exe";
  SendMessageA(launcher->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(test::MakeDrop({self, LoggerPath()})), 0);
  Pump();
  EXPECT_TRUE(IsWindowVisible(editor.Handle()));
  EXPECT_EQ(editor.Edit1->Text(), self);
  EXPECT_EQ(editor.Edit2->Text(), "Corvane tests");
  EXPECT_EQ(editor.Edit3->Text(), "params stay");
  SendMessageA(launcher->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(test::MakeDrop({LoggerPath()})), 0);
  EXPECT_EQ(editor.Edit2->Text(), "launch_order_logger.exe");
  // The launcher takes drops from the shell at all.
  EXPECT_TRUE(GetWindowLongA(launcher->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(LinkEditor, TheLayeredLauncherTakesDragDoubleClickMenuAndDropsOnItsVisiblePixels) {
  // A soft disc on a transparent square: the corners let the mouse through.
  const std::string png = folder.File("disc.png");
  ASSERT_TRUE(test::WritePng(png, 48, 48, [](int x, int y) {
    const int dx = x - 24, dy = y - 24, d2 = dx * dx + dy * dy;
    return d2 < 18 * 18 ? 0xFFFFFFFFu : d2 < 22 * 22 ? 0x802060C0u : 0u;
  }));
  Store("GRAPHIC", "File", png);
  Store("Entry", "Link", LoggerPath());
  TForm2& editor = Start();
  editor.Hide();
  HWND w = launcher->Handle();
  ASSERT_TRUE(launcher->SkinImage1->Layered());
  SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  auto at = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(w, &p);
    return p;
  };
  // The system's move loop is kept out of the test: a move that starts is counted.
  int moves = 0;
  auto old = launcher->WindowProc;
  launcher->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MOVE) {
      ++moves;
      return;
    }
    old(m);
  };
  using test::ClickAt;
  ClickAt(at(1, 1));  // a transparent corner
  EXPECT_EQ(moves, 0);
  ClickAt(at(24, 24));  // white, opaque
  EXPECT_EQ(moves, 1);
  ClickAt(at(24, 4));  // the soft rim
  EXPECT_EQ(moves, 2);
  EXPECT_FALSE(IsWindowVisible(editor.Handle()));
  // Twice quickly: the editor opens.
  ClickAt(at(24, 24));
  ClickAt(at(24, 24));
  EXPECT_TRUE(IsWindowVisible(editor.Handle()));
  launcher->WindowProc = old;
  editor.Hide();
  Pump();
  // The right button opens the link menu.
  test::g_menuKeys = {VK_ESCAPE};
  test::g_menuItemsSeen = -1;
  SetTimer(nullptr, 0, 50, test::PressMenuKeys);
  ClickAt(at(30, 30), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  PumpUntil([] { return test::g_menuItemsSeen >= 0; }, 3000);
  EXPECT_EQ(test::g_menuItemsSeen, 1);
  // A dropped file opens the editor with it.
  SendMessageA(w, WM_DROPFILES, reinterpret_cast<WPARAM>(test::MakeDrop({LoggerPath()})), 0);
  Pump();
  EXPECT_TRUE(IsWindowVisible(editor.Handle()));
  EXPECT_EQ(editor.Edit1->Text(), LoggerPath());
  // Esc still ends the program.
  SendMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(LinkEditor, WithoutALauncherStoreTheEditorSaysSoInsteadOfFailing) {
  Form1 = nullptr;
  TForm2& editor = Application().CreateForm<TForm2>();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "The link store is not open");
  editor.Edit2->SetText("x");
  editor.Show();
  Pump();
  Click(editor.Button2);
  EXPECT_EQ(errors.size(), 2u);
}

}  // namespace
}  // namespace corvane
