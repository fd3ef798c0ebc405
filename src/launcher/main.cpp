// Program start and the launcher window.
#include "launcher/main.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "core/FlagWhile.h"
#include "../../resources/resource.h"
#include "launcher/LaunchPlan.h"
#include "launcher/MenuIcons.h"
#include "launcher/StartTrace.h"
#include "launcher/support.h"
#include "launcher/supportForm.h"
#include "platform/Dpi.h"
#include "platform/Text.h"
#include "skin/manager/WinSkinManage.h"

namespace corvane {

TForm1* Form1 = nullptr;

namespace {

// Posted by the icon worker when icons are ready to take.
constexpr UINT kMenuIconsReady = WM_APP + 0x310;

constexpr const char* kGraphic = "GRAPHIC";

std::string StorePathBesideExecutable() {
  std::string path = ExecutablePath();
  std::size_t slash = path.find_last_of("\\/");
  std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
  return path + ".ini";
}

bool IsExistingFile(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

HICON CopyApplicationIcon(int size) {
  HICON icon = static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, size, size, 0));
  if (icon) return icon;  // a resource icon loaded without LR_SHARED is ours to destroy
  return CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
}

HICON MenuIconFor(const std::string& link) {
  if (IsExistingFile(link)) {
    // The call writes into its path argument, so it gets a copy of its own.
    // Room for MAX_PATH characters of up to three UTF-8 bytes each; a longer
    // name falls through to the shell's own lookup below.
    char path[MAX_PATH * 3 + 1] = {};
    if (link.size() < sizeof path) {
      link.copy(path, link.size());
      WORD index = 0;
      if (HICON icon = ExtractAssociatedIconA(GetModuleHandleA(nullptr), path, &index)) return icon;
    }
    // Some systems give documents no icon that way; the shell still knows one.
    SHFILEINFOA info{};
    if (SHGetFileInfoA(link.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON) && info.hIcon)
      return info.hIcon;
  }
  return CopyApplicationIcon(32);
}

Rect PullOntoWorkArea(const Rect& window, const Rect& work) {
  if (!window.Intersect(work).IsEmpty()) return window;
  int left = std::clamp(window.left, work.left, std::max(work.left, work.right - window.Width()));
  int top = std::clamp(window.top, work.top, std::max(work.top, work.bottom - window.Height()));
  return Rect::FromSize(left, top, window.Width(), window.Height());
}

TForm1::TForm1(TComponent* owner, std::string storePath, bool restAfterShow)
    : TForm(owner), m_storePath(std::move(storePath)), m_restAfterShow(restAfterShow) {
  Name = "Form1";
  SetBounds(986, 232, 123, 66);
  SetCaption("Form1");
  SetColor(clBtnFace);
  Font.Name = "MS Sans Serif";
  Font.Height = -11;
  SetFormStyle(TFormStyle::fsStayOnTop);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
  OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { FormKeyDown(s, key, shift); };

  ImageList1 = &Create<TImageList>(16, 16);
  ImageList1->Name = "ImageList1";
  ImageList1->ShareImages = true;
  PopupMenu1 = &Create<TPopupMenu>();
  PopupMenu1->Name = "PopupMenu1";
  PopupMenu1->Images = ImageList1;
  SkinImage1 = &Create<TSkinImage>();
  SkinImage1->Name = "SkinImage1";
  SkinImage1->SetParent(this);
  SkinImage1->SetBounds(0, 0, 32, 32);
  SkinImage1->SetAutoSize(true);
  SkinImage1->Transparent = true;
  SkinImage1->PopupMenu = PopupMenu1;
  SkinImage1->SetMoveable(true);
  SkinImage1->OnDblClick = [this](TObject* s) { SkinImage1DblClick(s); };
  // Set last: it sizes the form to the picture control.
  SetAutoSize(true);
  Form1 = this;
}

TForm1::~TForm1() {
  m_iconLoader.reset();
  m_hotKey.Unregister();
  if (Form1 == this) Form1 = nullptr;
  if (IniFile) IniFile->Close();
}

void TForm1::FormCreate(TObject*) {
  // No taskbar button: the application window becomes a tool window.
  SetWindowLongA(Application().Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  IniPath = m_storePath.empty() ? StorePathBesideExecutable() : m_storePath;
  IniFile = std::make_unique<LinkStore>();
  IniFile->Open(IniPath);
  StartTraceMark("store opened");
  // The window first: it knows its monitor's DPI, which decides the size
  // the picture is loaded at.
  Handle();
  // A stored picture that cannot be loaded must not leave the launcher
  // bordered, undroppable and without a menu: say so once, show the
  // application icon and finish starting.
  try {
    LoadPicture();
  } catch (const std::exception& e) {
    Application().HandleException(this, e);
    UniqueIcon icon(CopyApplicationIcon(ScaleToDpi(32, Dpi())));
    SkinImage1->Picture().AssignIcon(icon.Get());
  }
  StartTraceMark("picture loaded");
  RestorePosition();
  // A combination another program holds is not worth a message at every
  // start: the editor shows the hot key as inactive.
  ApplyHotKey();
  // The icons of hundreds of links (some on shares that answer slowly) and
  // the shell library behind dropped files must not hold the launcher back;
  // posted work still runs before any click or drop can reach it.
  if (m_restAfterShow) {
    Application().Queue([this] { AcceptDropsAndBuildMenu(); });
    return;
  }
  AcceptDropsAndBuildMenu();
}

void TForm1::AcceptDropsAndBuildMenu() {
  DragAcceptFiles(Handle(), TRUE);
  BuildMenu();
  StartTraceMark("menu built");
}

void TForm1::LoadGraphic() {
  LoadPicture();
  RestorePosition();
}

void TForm1::LoadPicture() {
  FlagWhile loading(m_loadingPicture);
  std::string file = IniFile->ReadString(kGraphic, "File", "");
  if (!file.empty()) {
    SkinImage1->Picture().LoadFromFile(file);
  } else {
    // The icon's own entry for the DPI (64 pixels at 200 %), not a smaller
    // one enlarged.
    UniqueIcon icon(CopyApplicationIcon(ScaleToDpi(32, Dpi())));
    SkinImage1->Picture().AssignIcon(icon.Get());
  }
}

void TForm1::DpiChanged() {
  TForm::DpiChanged();
  // The picture and the menu's icons again at the new size (not while the
  // picture is being loaded: that load already asks for the new DPI).
  if (!IniFile || !IniFile->IsOpen() || m_loadingPicture) return;
  LoadPicture();
  BuildMenu();
}

void TForm1::RestorePosition() {
  int left = IniFile->ReadInteger(kGraphic, "Left", 0);
  if (left == 0) return;
  SetLeft(left);
  SetTop(IniFile->ReadInteger(kGraphic, "Top", 0));
  // A monitor unplugged or a resolution lowered since the last close must
  // not lose the launcher off-screen. The store keeps its value until the
  // window closes.
  Rect window = BoundsRect();
  RECT r{window.left, window.top, window.right, window.bottom};
  if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return;
  Rect work{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  Rect placed = PullOntoWorkArea(window, work);
  SetBounds(placed.left, placed.top, placed.Width(), placed.Height());
}

void TForm1::BuildMenu() {
  // A loader of the last menu must not hand its icons to this one.
  m_iconLoader.reset();
  m_iconTargets.clear();
  PopupMenu1->Clear();
  // The menu's icons at the system's small-icon size for the DPI: the
  // targets' own larger icons scaled down, never a small one enlarged.
  const int iconSize = SystemMetricForDpi(SM_CXSMICON, Dpi());
  ImageList1->SetSize(iconSize, iconSize);
  ImageList1->Clear();
  std::vector<std::string> listed;
  IniFile->ReadSections(listed);
  // One entry per link, however its name's letter case varies in the file;
  // entries sort as the user's locale orders names, ignoring case.
  std::vector<std::string> sections = DistinctNames(listed);
  std::stable_sort(sections.begin(), sections.end(), [](const std::string& a, const std::string& b) {
    return CompareTextForDisplay(a, b) < 0;
  });
  std::vector<std::string> iconLinks;
  for (const std::string& name : MenuLinkNames(sections)) {
    TMenuItem* item = nullptr;
    try {
      item = &PopupMenu1->Create<TMenuItem>();
      item->SetCaption(name);
      item->OnClick = [this](TObject* s) { MenuItemClick(s); };
      PopupMenu1->Add(*item);
      if (m_restAfterShow) {
        // The program's own start: icons follow from the worker.
        iconLinks.push_back(IniFile->ReadString(name, "Link", ""));
        m_iconTargets.push_back(item);
        continue;
      }
      UniqueIcon icon(MenuIconFor(IniFile->ReadString(name, "Link", "")));
      // The icon's index is the entry's: an icon the list refuses takes its
      // entry with it, so later entries keep their own icons.
      int index = ImageList1->AddIcon(icon.Get());
      if (index < 0) throw std::runtime_error("No icon for " + name);
      item->SetImageIndex(index);
    } catch (const std::exception&) {
      if (item) PopupMenu1->FreeComponent(item);
    }
  }
  if (!iconLinks.empty())
    m_iconLoader = std::make_unique<MenuIconLoader>(std::move(iconLinks), MenuIconFor, Handle(),
                                                    kMenuIconsReady);
}

void TForm1::TakeMenuIcons() {
  if (!m_iconLoader) return;
  // Read before taking: once the worker is done, everything it read is
  // ready, so nothing read is left behind when the loader goes.
  const bool done = m_iconLoader->Done();
  for (auto& [index, icon] : m_iconLoader->TakeReady()) {
    if (index >= m_iconTargets.size()) continue;
    // An icon the list refuses leaves its entry without one.
    int image = ImageList1->AddIcon(icon.Get());
    if (image >= 0) m_iconTargets[index]->SetImageIndex(image);
  }
  if (done) {
    m_iconLoader.reset();
    StartTraceMark("menu icons read");
    StartTraceHeapRanges();
  }
}

void TForm1::MenuItemClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !IniFile) return;
  // Ctrl+Shift with the choice (click or Enter) starts the entry as
  // administrator. A refused elevation fails like any start: silently.
  const bool elevated = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0;
  HWND owner = Application().Handle();
  for (const Launch& launch : LaunchPlan(*IniFile, item->Caption(), elevated))
    ExecuteFile(launch.verb, launch.file, launch.params, owner);
}

bool TForm1::ApplyHotKey() {
  // No stored value can hold a line break: this default tells a missing
  // entry (the default combination) from an empty one (no hot key).
  constexpr const char* kAbsent = "\n";
  const std::string stored = IniFile ? IniFile->ReadString(kGraphic, kHotKeyKey, kAbsent) : kAbsent;
  const HotKeySetting setting =
      HotKeySettingFrom(stored == kAbsent ? std::nullopt : std::optional<std::string>(stored));
  m_hotKey.Unregister();
  // Kept even when refused: the editor shows it as inactive.
  m_hotKeySetting = setting;
  return !setting.Registers() || m_hotKey.Register(Handle(), setting.combination);
}

bool TForm1::SetHotKey(const HotKeySetting& setting) {
  const HotKeySetting previous = m_hotKeySetting;
  const bool wasActive = m_hotKey.Active();
  m_hotKey.Unregister();
  if (!setting.Registers() || m_hotKey.Register(Handle(), setting.combination)) {
    m_hotKeySetting = setting;
    return true;
  }
  if (wasActive) m_hotKey.Register(Handle(), previous.combination);
  return false;
}

namespace {

// A message box or a system dialog of this thread is on the screen.
bool DialogShown() {
  bool shown = false;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        if (!IsWindowVisible(window) || WindowClassName(window) != "#32770") return TRUE;
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&shown));
  return shown;
}

}  // namespace

void TForm1::OpenMenuForKeyboard() {
  if (TPopupMenu::AnyOpen() || DialogShown()) return;
  POINT at{};
  GetCursorPos(&at);
  PopupMenu1->PopupForKeyboard(at.x, at.y, Handle());
}

void TForm1::SkinImage1DblClick(TObject*) {
  if (!Form2) return;
  Form2->Show();
  Form2->Image1->Picture().Assign(SkinImage1->Picture());
}

void TForm1::FormKeyDown(TObject*, WORD& key, TShiftState) {
  if (key == VK_ESCAPE) Close();
}

void TForm1::SavePosition() {
  if (!IniFile || !IniFile->IsOpen()) return;
  // One change for both numbers: a refusal leaves the stored place whole.
  IniFile->WriteStrings(kGraphic, {{"Left", std::to_string(Left())}, {"Top", std::to_string(Top())}});
  IniFile->UpdateFile();
}

void TForm1::FormCloseQuery(TObject*, bool& canClose) {
  // Closing always ends the program: a place that cannot be stored is
  // reported once, and the program ends all the same (a user must never
  // need the task manager to leave). Esc pressed again while the message
  // is up does not ask a second time.
  canClose = true;
  if (m_closing) return;
  m_closing = true;
  try {
    SavePosition();
  } catch (const std::exception& e) {
    Application().HandleException(
        this, LinkStoreError(std::string(e.what()) +
                             "\n\nThe launcher's place on the screen was not remembered. Corvane "
                             "ends now."));
  }
  // The store stays open until the window is destroyed: when the system asks
  // to end the session and then does not, the program runs on with it.
}

void TForm1::SessionEnding() {
  // The session ends whatever we answer; no message may hold it up, and a
  // lock held by another copy is waited for only briefly.
  if (IniFile) IniFile->SetWaitLimit(500);
  try {
    SavePosition();
  } catch (const std::exception&) {
  }
  m_closing = true;
  Application().Terminate();
}

void TForm1::Dispatch(TMessage& m) {
  if (m.Msg == WM_DROPFILES) {
    // A dropped file opens the link editor with it filled in; until the
    // editor exists the drop is only finished so the system can free it.
    auto drop = reinterpret_cast<HDROP>(m.WParam);
    if (!Form2) {
      DragFinish(drop);
      return;
    }
    Form2->FileDropped(TakeFirstDroppedFile(drop));
    Form2->Show();
    return;
  }
  if (m.Msg == kMenuIconsReady) {
    TakeMenuIcons();
    return;
  }
  if (m.Msg == WM_HOTKEY && m.WParam == HotKeyRegistration::kId) {
    OpenMenuForKeyboard();
    return;
  }
  if (m.Msg == WM_QUERYENDSESSION) {
    // Never hold up a log-off or shut-down: yes at once, and the place is
    // stored when the session really ends.
    m.Result = TRUE;
    return;
  }
  if (m.Msg == WM_ENDSESSION) {
    if (m.WParam) SessionEnding();
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_SHOWWINDOW && m.WParam) StartTraceMark("launcher shown");
  TForm::Dispatch(m);
}

int RunProgram() {
  StartTraceMark("program entry");
  Application().SetTitle("Corvane");
  StartTraceMark("application ready");
  Application().CreateForm<TForm1>(std::string{}, true);
  StartTraceMark("launcher created");
  // COM, the link editor and the skin it carries are not needed to show
  // the launcher: they come right after, before any click can reach the
  // launcher (posted work goes before input), which then gets its skin as
  // if it had been activated now.
  Application().Queue([] {
    // COM serves the shell calls of menu clicks and the editor; starting it
    // costs more than showing the launcher.
    Application().Initialize();
    StartTraceMark("COM started");
    Application().CreateForm<TForm2>();
    StartTraceMark("link editor created");
    StartTraceHeapRanges();
    if (TSkinManage* manager = TSkinManage::Instance()) manager->AdoptActiveWindow();
  });
  Application().Run();
  ResetApplication();
  return 0;
}

}  // namespace corvane
