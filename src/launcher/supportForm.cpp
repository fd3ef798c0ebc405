// The link editor's design and handlers.
#include "launcher/supportForm.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/Utf8.h"
#include "launcher/main.h"
#include "launcher/support.h"
#include "skin/data/WinStoredSkin.h"

namespace corvane {

TForm2* Form2 = nullptr;
std::string ChosenGraphic;

namespace {

constexpr const char* kGraphic = "GRAPHIC";
constexpr const char* kStartupName = "Corvane";
// Longest dropped name taken, in characters.
constexpr std::size_t kMaxDroppedNameLength = 255;

std::string FileNameOnly(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOnly(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "http:", "mailto:" and the like; a drive letter is one character and no scheme.
bool HasUrlScheme(const std::string& link) {
  std::size_t colon = link.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(link[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

// The root a path lives on: "C:\" or "\\server\share\"; empty when relative.
std::string RootOf(const std::string& full) {
  if (full.size() >= 2 && (full.compare(0, 2, "\\\\") == 0 || full.compare(0, 2, "//") == 0)) {
    std::size_t server = full.find_first_of("\\/", 2);
    if (server == std::string::npos) return {};
    std::size_t share = full.find_first_of("\\/", server + 1);
    return share == std::string::npos ? full + "\\" : full.substr(0, share + 1);
  }
  if (full.size() >= 2 && full[1] == ':') return full.substr(0, 2) + "\\";
  return {};
}

// Builds a control of the form: owned by the form, placed in its parent.
template <typename T>
T* Place(TForm2& form, TWinControl* parent, const char* name, int left, int top, int width,
         int height, const std::string& caption = {}, const std::string& hint = {}) {
  T& control = form.Create<T>();
  control.Name = name;
  control.SetBounds(left, top, width, height);
  if (!caption.empty()) control.SetCaption(caption);
  control.Hint = hint;
  control.SetParent(parent);
  return &control;
}

}  // namespace

int StrToInt(const std::string& text) {
  auto fail = [&]() -> int { throw EConvertError("'" + text + "' is not a valid integer value"); };
  std::size_t begin = text.find_first_not_of(" \t");
  std::size_t end = text.find_last_not_of(" \t");
  if (begin == std::string::npos) return fail();
  std::string s = text.substr(begin, end - begin + 1);
  bool negative = false;
  std::size_t at = 0;
  if (s[at] == '+' || s[at] == '-') negative = s[at++] == '-';
  int base = 10;
  if (at < s.size() && s[at] == '$') {
    base = 16;
    ++at;
  } else if (s.size() - at > 2 && s[at] == '0' && (s[at + 1] == 'x' || s[at + 1] == 'X')) {
    base = 16;
    at += 2;
  }
  if (at >= s.size()) return fail();
  long long value = 0;
  for (; at < s.size(); ++at) {
    int digit = -1;
    unsigned char c = static_cast<unsigned char>(s[at]);
    if (std::isdigit(c))
      digit = c - '0';
    else if (base == 16 && std::isxdigit(c))
      digit = std::tolower(c) - 'a' + 10;
    if (digit < 0) return fail();
    value = value * base + digit;
    if (value > 0x100000000LL) return fail();
  }
  if (negative) value = -value;
  // Hexadecimal text names the bit pattern, so $FFFFFFFF is -1.
  if (base == 16 && !negative && value > INT_MAX && value <= 0xFFFFFFFFLL) value -= 0x100000000LL;
  if (value < INT_MIN || value > INT_MAX) return fail();
  return static_cast<int>(value);
}

std::string TakeFirstDroppedFile(HDROP drop) {
  // Read whole, then cut to 255 characters as names always were: in UTF-8 a
  // character takes up to four bytes, and a byte buffer of 256 would end a
  // longer name inside a character.
  std::string name;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  if (count > 0) {
    UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    name.resize(length + 1);
    name.resize(DragQueryFileA(drop, 0, name.data(), length + 1));
  }
  DragFinish(drop);
  return std::string(CutToCharacters(name, kMaxDroppedNameLength));
}

LinkTarget ClassifyLinkTarget(const std::string& link) {
  if (link.empty() || HasUrlScheme(link)) return LinkTarget::Invalid;
  char full[MAX_PATH * 4] = {};
  DWORD length = GetFullPathNameA(link.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return LinkTarget::Invalid;
  std::string root = RootOf(full);
  if (!root.empty() && GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES)
    return LinkTarget::Unreachable;
  DWORD attributes = GetFileAttributesA(full);
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? LinkTarget::Invalid : LinkTarget::ExistingFile;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
      return LinkTarget::Invalid;
    default:
      // Not ready, refused, a network error: the file may well be there.
      return LinkTarget::Unreachable;
  }
}

std::string ReadmePath(const std::string& exePath) {
  std::size_t slash = exePath.find_last_of("\\/");
  std::size_t dot = exePath.find_last_of('.');
  std::string base = exePath;
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.erase(dot);
  return base + ".rtf";
}

std::string ReadmeProblem(const std::string& readme, INT_PTR shellResult) {
  switch (shellResult) {
    case SE_ERR_FNF:
    case SE_ERR_PNF:
      return "The readme " + readme +
             " is missing. It comes with Corvane in its zip; unzip that again into this folder.";
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return "No program is registered to open " + readme +
             ". Open it with WordPad or Word, or register a program for .rtf files.";
    default:
      break;
  }
  if (shellResult > 32) return {};
  // The remaining small codes are the system's error numbers.
  std::string reason = shellResult > 0 && shellResult < SE_ERR_SHARE
                           ? SystemErrorText(HRESULT_FROM_WIN32(static_cast<DWORD>(shellResult)))
                           : "error " + std::to_string(shellResult);
  return "Unable to open " + readme + ": " + reason;
}

TForm2::TForm2(TComponent* owner) : TForm(owner) {
  Name = "Form2";
  SetBorderStyle(TFormBorderStyle::bsDialog);
  BorderIcons = biSystemMenu | biMinimize;
  SetFormStyle(TFormStyle::fsStayOnTop);
  Position = TPosition::poScreenCenter;
  SetBounds(392, 239, 537, 359);
  SetColor(clBtnFace);
  Font.Name = "MS Sans Serif";
  Font.Height = -11;
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };

  GroupBox1 = Place<TGroupBox>(*this, this, "GroupBox1", 8, 4, 286, 205, "Menu Links");
  Label1 = Place<TLabel>(*this, GroupBox1, "Label1", 10, 18, 0, 0, "File name");
  Edit1 = Place<TEdit>(*this, GroupBox1, "Edit1", 10, 34, 245, 21, {}, "File to run");
  Button1 = Place<TButton>(*this, GroupBox1, "Button1", 254, 35, 18, 19, "<>", "Select a file");
  Label2 = Place<TLabel>(*this, GroupBox1, "Label2", 10, 58, 0, 0, "Menu entry name");
  Edit2 = Place<TEdit>(*this, GroupBox1, "Edit2", 10, 74, 159, 21, {}, "Name used in the menu");
  Label3 = Place<TLabel>(*this, GroupBox1, "Label3", 178, 59, 0, 0, "Params");
  Edit3 = Place<TEdit>(*this, GroupBox1, "Edit3", 178, 74, 95, 21, {}, "Parameters if required");
  Label4 = Place<TLabel>(*this, GroupBox1, "Label4", 12, 98, 0, 0, "Links to run at the same time");
  ListBox2 = Place<TListBox>(*this, GroupBox1, "ListBox2", 10, 112, 263, 43, {},
                             "Drag a menu link from menu item listing - DELETE key to delete item");
  Button11 = Place<TButton>(*this, GroupBox1, "Button11", 11, 169, 49, 22, "New");
  Button2 = Place<TButton>(*this, GroupBox1, "Button2", 65, 170, 49, 21, "Save", "Save menu link");
  Button7 =
      Place<TButton>(*this, GroupBox1, "Button7", 119, 170, 49, 21, "Delete", "Delete menu link");
  Button12 =
      Place<TButton>(*this, GroupBox1, "Button12", 224, 170, 49, 21, "Test", "Test menu link");
  GroupBox2 = Place<TGroupBox>(*this, this, "GroupBox2", 8, 215, 177, 89, "Graphic");
  Image1 = Place<TImage>(*this, GroupBox2, "Image1", 12, 22, 54, 54);
  Button3 = Place<TButton>(*this, GroupBox2, "Button3", 82, 23, 83, 21, "Select Graphic",
                           "Select menu graphic");
  Button4 = Place<TButton>(*this, GroupBox2, "Button4", 82, 55, 83, 21, "Update Graphic",
                           "Save menu graphic");
  GroupBox3 = Place<TGroupBox>(*this, this, "GroupBox3", 290, 4, 231, 301, "Menu Items");
  ListBox1 = Place<TListBox>(*this, GroupBox3, "ListBox1", 10, 20, 207, 225, {},
                             "Click to view link details");
  Label5 = Place<TLabel>(*this, GroupBox3, "Label5", 10, 251, 0, 0, "Menu hot key");
  HotKey1 = Place<THotKey>(*this, GroupBox3, "HotKey1", 10, 266, 207, 21, {},
                           "Keys that open the link menu anywhere - Backspace for none");
  HotKey1->OnChange = [this](TObject* s) { HotKey1Change(s); };
  Button10 = Place<TButton>(*this, this, "Button10", 98, 206, 83, 21, "Check updates",
                            "Check for updates");
  Button5 = Place<TButton>(*this, this, "Button5", 191, 224, 94, 21, "ADD Startup link",
                           "Add/delete from Startup folder");
  Button8 = Place<TButton>(*this, this, "Button8", 191, 251, 94, 21, "Readme");
  Button6 = Place<TButton>(*this, this, "Button6", 192, 279, 94, 21, "Delete invalid links",
                           "Check and delete invalid links");
  StatusBar1 = Place<TStatusBar>(*this, this, "StatusBar1", 0, 311, 531, 19);
  StatusBar1->SimplePanel = true;
  StatusBar1->AutoHint = true;

  Button10->SetVisible(false);
  Image1->Proportional = true;
  Image1->Transparent = true;
  for (TListBox* list : {ListBox1, ListBox2}) {
    list->ItemHeight = 13;
    list->IntegralHeight = true;
    list->DragMode = TDragMode::dmAutomatic;
  }
  ListBox1->Sorted = true;
  ListBox2->Sorted = false;

  od1 = &Create<TOpenDialog>();
  od1->Name = "od1";
  od1->Filter = "All (*.*)|*.*";
  od1->DefaultExt = "*";
  opd1 = &Create<TOpenPictureDialog>();
  opd1->Name = "opd1";
  VersionInfo1 = &Create<TVersionInfo>();
  VersionInfo1->Name = "VersionInfo1";
  // The skin component's stored properties; its Loaded runs with the other
  // components' once the form is complete.
  SkinData1 = &Create<TSkinData>();
  SkinData1->Name = "SkinData1";
  SkinData1->BeginReading();
  SkinData1->SetActive(true);
  SkinData1->DisableTag = 99;
  SkinData1->SkinControls = AllControlTypesExcept({xcFastReport});
  SkinData1->Options = {xoTransparent, xoPreview,       xoNoFocusRect,
                        xoToolbarBK,   xoToolbarButton, xoCaptionButtonHint};
  SkinData1->SetSkin3rd(DefaultSkin3rd());
  SkinData1->SetSkinStore("(Good)");
  SkinData1->SkinFormtype = sfMainform;
  SkinData1->SetVersion(kSkinDataVersion);
  SkinData1->MenuUpdate = true;
  SkinData1->MenuMerge = false;
  // The program's own skin; the test programs carry none, which leaves the
  // skin component empty.
  StoredSkinResources stored = LoadStoredSkinResources();
  SkinData1->SetSkinStream(std::move(stored.stream), std::move(stored.scaledSets));

  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button11->OnClick = [this](TObject* s) { Button11Click(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Button7->OnClick = [this](TObject* s) { Button7Click(s); };
  Button12->OnClick = [this](TObject* s) { Button12Click(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Button4->OnClick = [this](TObject* s) { Button4Click(s); };
  Button10->OnClick = [this](TObject* s) { Button10Click(s); };
  Button5->OnClick = [this](TObject* s) { Button5Click(s); };
  Button8->OnClick = [this](TObject* s) { Button8Click(s); };
  Button6->OnClick = [this](TObject* s) { Button6Click(s); };
  ListBox1->OnClick = [this](TObject* s) { ListBox1Click(s); };
  ListBox1->OnDblClick = [this](TObject* s) { ListBox1DblClick(s); };
  ListBox2->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st,
                                bool& accept) { ListBox2DragOver(s, src, x, y, st, accept); };
  ListBox2->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
    ListBox2DragDrop(s, src, x, y);
  };
  ListBox2->OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) {
    ListBox2KeyDown(s, key, shift);
  };

  // Without making the window: made at every start, the editor's windows
  // would hold their memory all day (and load the common controls library
  // for the status bar and the hot-key field); they come when it is first
  // shown.
  SetClientSize(531, 330);
  StatusBar1->AlignBottom(19);
  Form2 = this;
}

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
}

LinkStore& TForm2::Store() {
  // The editor works only beside a launcher window that opened its store.
  if (!Form1 || !Form1->IniFile || !Form1->IniFile->IsOpen())
    throw std::runtime_error("The link store is not open");
  return *Form1->IniFile;
}

void TForm2::FillLinkList() {
  std::vector<std::string> sections;
  Store().ReadSections(sections);
  ListBox1->Clear();
  for (const std::string& name : MenuLinkNames(DistinctNames(sections))) ListBox1->Add(name);
}

void TForm2::FormCreate(TObject*) {
  FillLinkList();
  SetCaption("Corvane version: " + VersionInfo1->FileVersion);
}

void TForm2::WindowCreated() {
  TForm::WindowCreated();
  // Asked for here rather than when the form is made, which would make the
  // editor's windows at every start of the program: they come when it is
  // first shown.
  DragAcceptFiles(Handle(), TRUE);
}

void TForm2::FormShow(TObject*) {
  bool exists = StartupShortcut(ExecutablePath(), kStartupName, true);
  Button5->SetCaption(exists ? "DEL Startup link" : "ADD Startup link");
  ShowHotKey();
}

void TForm2::ShowHotKey() {
  if (!Form1) return;
  const HotKeySetting& wanted = Form1->HotKeyWanted();
  HotKey1->SetValue(wanted.Registers() ? FieldValueFromHotKey(wanted.combination) : 0);
  if (wanted.kind == HotKeySetting::Invalid) ShowHotKeyState("not valid");
  else if (wanted.Registers() && !Form1->HotKeyActive()) ShowHotKeyState("not active");
  else ShowHotKeyState(nullptr);
}

void TForm2::ShowHotKeyState(const char* state) {
  Label5->SetCaption(state ? std::string("Menu hot key: ") + state : std::string("Menu hot key"));
}

void TForm2::HotKey1Change(TObject*) {
  if (!Form1) return;
  const HotKey chosen = HotKeyFromFieldValue(HotKey1->Value());
  // Modifiers alone: the user is still choosing.
  if (chosen.key == 0 && chosen.modifiers != 0) return;
  HotKeySetting setting{HotKeySetting::None, {}};
  std::string text;
  if (chosen.key != 0) {
    text = HotKeyText(chosen);
    const std::optional<HotKey> usable = text.empty() ? std::nullopt : ParseHotKey(text);
    // A letter alone (or with Shift) would take that key from all typing.
    if (!usable) return ShowHotKeyState("needs Ctrl or Alt");
    setting = {HotKeySetting::Combination, *usable};
  }
  if (!Form1->SetHotKey(setting)) {
    ShowMessage("The hot key " + text + " is in use by another program. Choose another combination.");
    return ShowHotKey();
  }
  try {
    Store().WriteString(kGraphic, kHotKeyKey, text);
  } catch (...) {
    // The store refused: the launcher goes back to what the store holds.
    Form1->ApplyHotKey();
    ShowHotKey();
    throw;
  }
  ShowHotKeyState(nullptr);
}

void TForm2::ListBox1Click(TObject*) {
  int index = ListBox1->ItemIndex();
  if (index < 0) return;
  std::string name = ListBox1->Item(index);
  LinkStore& store = Store();
  Edit2->SetText(name);
  Edit1->SetText(store.ReadString(name, "Link", ""));
  Edit3->SetText(store.ReadString(name, "Param", ""));
  ListBox2->SetItems(store.ReadCommaText(name, "RunWith"));
}

void TForm2::ListBox1DblClick(TObject*) {}

void TForm2::Button1Click(TObject*) {
  std::string file = Edit1->Text();
  if (!file.empty()) od1->InitialDir = FolderOnly(file);
  if (od1->Execute()) Edit1->SetText(od1->FileName);
}

void TForm2::Button11Click(TObject*) {
  Edit1->Clear();
  Edit2->Clear();
  Edit3->Clear();
  ListBox2->Clear();
}

void TForm2::SaveLink() {
  std::string name = Edit2->Text();
  LinkStore& store = Store();
  store.WriteString(name, "Link", Edit1->Text());
  store.WriteString(name, "Param", Edit3->Text());
  if (ListBox2->Count() > 0)
    store.WriteCommaText(name, "RunWith", ListBox2->Items());
  else
    store.DeleteKey(name, "RunWith");
  store.UpdateFile();
  FillLinkList();
  if (Form1) Form1->BuildMenu();
}

void TForm2::Button2Click(TObject*) {
  if (Edit2->Text().empty()) return;
  // Saving already rebuilt the launcher's menu; once is enough.
  SaveLink();
}

void TForm2::DeleteLink() {
  LinkStore& store = Store();
  store.EraseSection(Edit2->Text());
  store.UpdateFile();
  ListBox1->Clear();
  ListBox2->Clear();
  FillLinkList();
}

void TForm2::Button7Click(TObject*) {
  if (ListBox1->ItemIndex() < 0 || Edit2->Text().empty()) return;
  DeleteLink();
  Edit1->Clear();
  Edit2->Clear();
  Edit3->Clear();
  if (Form1) Form1->BuildMenu();
}

void TForm2::Button12Click(TObject*) {
  std::string file = Edit1->Text();
  if (file.empty()) return;
  LinkStore& store = Store();
  HWND owner = Application().Handle();
  for (const std::string& name : ListBox2->Items())
    ExecuteFile("", store.ReadString(name, "Link", ""), store.ReadString(name, "Param", ""), owner);
  ExecuteFile("", file, Edit3->Text(), owner);
}

void TForm2::ListBox2DragOver(TObject*, TObject* source, int, int, TDragState, bool& accept) {
  accept = dynamic_cast<TListBox*>(source) != nullptr;
}

void TForm2::ListBox2DragDrop(TObject* sender, TObject* source, int, int) {
  auto* from = dynamic_cast<TListBox*>(source);
  if (!from || !dynamic_cast<TListBox*>(sender)) return;
  // Item throws the list's index error when the source has no selection.
  std::string text = from->Item(from->ItemIndex());
  ListBox2->Add(text);
}

void TForm2::ListBox2KeyDown(TObject*, WORD& key, TShiftState) {
  if (key != VK_DELETE) return;
  int index = ListBox2->ItemIndex();
  if (index >= 0) ListBox2->Delete(index);
}

void TForm2::Button3Click(TObject*) {
  ChosenGraphic.clear();
  opd1->Filter = "All(*.bmp,*.jpg,*.png,*.gif,*.ico,*.emf)|*.bmp;*.jpg;*.png;*.gif;*.ico;*.emf";
  if (!opd1->Execute()) return;
  // Only a file that loads becomes the chosen picture: storing one that does
  // not would leave the launcher without its picture at the next start.
  Image1->Picture().LoadFromFile(opd1->FileName);
  ChosenGraphic = opd1->FileName;
}

void TForm2::Button4Click(TObject*) {
  // Without a picture chosen in this run there is nothing to store; storing
  // the program's folder as the picture would break the next start.
  if (ChosenGraphic.empty()) return;
  LinkStore& store = Store();
  std::string stored = CopyToProgramFolder(ChosenGraphic);
  // The copy must load before the store points at it.
  Form1->SkinImage1->Picture().LoadFromFile(stored);
  store.WriteString(kGraphic, "File", stored);
  store.UpdateFile();
  Form1->SkinImage1->Repaint();
  Form1->LoadGraphic();
  // An invisible launcher could never be clicked again, so it is not made.
  if (Form1->SkinImage1->NothingVisible())
    ShowMessage("The picture \"" + stored +
                "\" is transparent everywhere, so nothing of it would show. The launcher shows it without "
                "its transparency.");
}

void TForm2::Button5Click(TObject*) {
  StartupShortcut(ExecutablePath(), kStartupName, false);
  Button5->SetCaption(Button5->Caption() == "DEL Startup link" ? "ADD Startup link"
                                                               : "DEL Startup link");
}

void TForm2::Button8Click(TObject*) {
  std::string readme = ReadmePath(ExecutablePath());
  std::string problem = ReadmeProblem(readme, ShellOpen("", readme, "", Application().Handle()));
  if (!problem.empty()) ShowMessage(problem);
}

void TForm2::Button6Click(TObject*) {
  if (ListBox1->ItemIndex() < 0) return;
  LinkStore& store = Store();
  for (int i = ListBox1->Count() - 1; i >= 0; --i) {
    std::string name = ListBox1->Item(i);
    if (ClassifyLinkTarget(store.ReadString(name, "Link", "")) != LinkTarget::Invalid) continue;
    store.EraseSection(name);
    ListBox1->Delete(i);
  }
  store.UpdateFile();
  ListBox1->Clear();
  ListBox2->Clear();
  FillLinkList();
  if (Form1) Form1->BuildMenu();
}

void TForm2::Button10Click(TObject*) {
  if (VersionInfo1->UpdateInfo.empty()) throw EAssertionFailed("Error reading version information");
  if (!VersionInfo1->FetchUpdateInfo()) {
    ShowMessage("Unable to check for update!");
    return;
  }
  UpdateFileInfo info = ReadUpdateInfoFile(VersionInfo1->UpdateInfoFile);
  int own = StrToInt(VersionInfo1->UpdateInfo);
  if (IsUpdateAvailable(info, own))
    ShowMessage("Corvane has been updated.  Download from:\r\n" + info.downloadPage);
  else
    ShowMessage("You appear to have the latest version");
}

void TForm2::FileDropped(const std::string& fileName) {
  Edit1->SetText(fileName);
  // A reader of its own: the editor's keeps the program's own block, which
  // the update check compares against.
  TVersionInfo dropped(nullptr);
  if (dropped.ReadVersionInfo(fileName))
    Edit2->SetText(dropped.ProductName);
  else
    Edit2->SetText(FileNameOnly(fileName));
}

void TForm2::Dispatch(TMessage& m) {
  if (m.Msg == WM_DROPFILES) {
    FileDropped(TakeFirstDroppedFile(reinterpret_cast<HDROP>(m.WParam)));
    return;
  }
  TForm::Dispatch(m);
}

}  // namespace corvane
