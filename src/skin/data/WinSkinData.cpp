#include "skin/data/WinSkinData.h"
#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <exception>
#include <iterator>
#include <span>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "pictures/WinSurface.h"
#include "platform/Dpi.h"
#include "platform/Files.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinLoad.h"
#include "skin/data/SkinScaling.h"
#include "skin/data/WinSystemColours.h"

namespace corvane {

namespace {

constexpr const char* kHintClass = "TSkinCaptionHint";
// Widest a caption-button hint may be, border included.
constexpr int kHintMaxWidth = 500;
// Border of WS_BORDER plus the space between it and the text, per side.
constexpr int kHintInset = 1 + 2;
constexpr UINT kHintTextFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

HFONT HintFont() {
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

LRESULT CALLBACK HintWindowProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT client;
      GetClientRect(w, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
      wchar_t text[1024] = {};
      GetWindowTextW(w, text, 1024);
      SelectGuard font(dc, HintFont());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      RECT inner{client.left + kHintInset - 1, client.top + kHintInset - 1,
                 client.right - (kHintInset - 1), client.bottom - (kHintInset - 1)};
      DrawTextW(dc, text, -1, &inner, kHintTextFormat);
      EndPaint(w, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(w, msg, wParam, lParam);
  }
}

UniqueWindow CreateHintWindow() {
  RegisterPrivateClass(kHintClass, HintWindowProc, LoadCursorA(nullptr, IDC_ARROW));
  return UniqueWindow(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                      kHintClass, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
}

// The glyph art: four 16 x 16 cells drawn with a few strokes, one bit per
// pixel, set bits are ink.
class GlyphArt {
 public:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 16;
  static constexpr int kRowBytes = kWidth / 8;

  void Set(int x, int y, bool ink = true) {
    std::uint8_t& b = m_bits[static_cast<std::size_t>(y * kRowBytes + x / 8)];
    const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
    b = static_cast<std::uint8_t>(ink ? b | bit : b & ~bit);
  }
  void Fill(int l, int t, int r, int b, bool ink = true) {
    for (int y = t; y <= b; ++y)
      for (int x = l; x <= r; ++x) Set(x, y, ink);
  }
  // A window outline with a two-row title bar; its inside is cleared so it
  // hides whatever lies behind it.
  void Window(int l, int t, int r, int b) {
    Fill(l, t, r, b);
    Fill(l + 1, t + 2, r - 1, b - 1, false);
  }
  const std::uint8_t* Bits() const { return m_bits.data(); }

 private:
  std::array<std::uint8_t, kRowBytes * kHeight> m_bits{};
};

GlyphArt DrawGlyphArt() {
  GlyphArt art;
  // Restore: a window behind another.
  art.Window(5, 2, 13, 9);
  art.Window(2, 6, 10, 13);
  // Maximise: one big window.
  art.Window(16 + 2, 2, 16 + 13, 13);
  // Minimise: a dash at the foot.
  art.Fill(32 + 4, 11, 32 + 11, 12);
  // Close: a cross, two pixels thick.
  for (int i = 0; i < 8; ++i) {
    art.Fill(48 + 4 + i, 4 + i, 48 + 5 + i, 4 + i);
    art.Fill(48 + 10 - i, 4 + i, 48 + 11 - i, 4 + i);
  }
  return art;
}

// Read with the system's own calls: a file stream would link the C++
// library's whole locale machinery (about 0.5 MB) into the program for this
// one read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (LONGLONG{1} << 31)) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD done = 0;
    while (done < bytes.size()) {
      DWORD got = 0;
      if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                    nullptr) ||
          got == 0)
        break;
      done += got;
    }
    bytes.resize(done);
  }
  CloseHandle(file);
  return bytes;
}

// Whether the version field of a stream's package is really coded in the
// stream. A stream cut short still decodes (missing bits read as zeros), so
// a cut inside the first codes makes up a version; that is broken data, which
// is never reported, not a package of another version. Decoded once as given
// and once with the missing bits all ones, a made-up version shows as a
// difference.
bool CodesItsVersion(const std::vector<std::uint8_t>& stream) {
  constexpr std::size_t kVersionBytes = 4;
  if (stream.size() <= 4) return false;
  std::uint32_t announced = 0;
  for (std::size_t i = 0; i < 4; ++i) announced |= std::uint32_t{stream[i]} << (8 * i);
  if (announced < kVersionBytes || announced > 0x7FFFFFFFu) return false;
  const auto bits = std::span<const std::uint8_t>(stream).subspan(4);
  std::vector<std::uint8_t> padded(bits.begin(), bits.end());
  padded.resize(padded.size() + 64, 0xFF);
  try {
    return LzhDecode(bits, kVersionBytes) == LzhDecode(padded, kVersionBytes);
  } catch (const ElzhException&) {
    return false;
  }
}

constexpr std::array<const char*, 4> kFormTypeNames = {"sfMainform", "sfOnlyThisForm", "sfDialog",
                                                       "sfDLL"};

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

const std::uint8_t* MenuGlyphBits() {
  static const GlyphArt art = DrawGlyphArt();
  return art.Bits();
}

const std::vector<std::string>& DefaultSkin3rd() {
  static const std::vector<std::string> lines = {
      "TCategoryButtons=scrollbar",
      "TPngSpeedbutton=pngspeedbutton",
      "TPngBitBtn=pngbitbtn",
      "TVirtualStringTree=scrollbar",
      "TVirtualDrawTree=scrollbar",
      "TTBXDockablePanel=Panel",
      "TAdvPanelGroup=scrollbar",
      "TComboboxex=combobox",
      "TRxSpeedButton=speedbutton",
      "THTMLViewer=scrollbar",
      "TDBCtrlGrid=scrollbar",
      "TfrSpeedButton=speedbutton",
      "TfrTBButton=speedbutton",
      "TControlBar=Panel",
      "TTBDock=Panel",
      "TTBToolbar=Panel",
      "TImageEnMView=scrollbar",
      "TImageEnView=scrollbar",
      "TAdvMemo=scrollbar",
      "TDBAdvMemo=scrollbar",
      "TcxDBLookupComboBox=combobox",
      "TcxDBComboBox=combobox",
      "TcxDBDateEdit=combobox",
      "TcxDBImageComboBox=combobox",
      "TcxDBCalcEdit=combobox",
      "TcxDBBlobEdit=combobox",
      "TcxDBPopupEdit=combobox",
      "TcxDBFontNameComboBox=combobox",
      "TcxDBShellComboBox=combobox",
      "TRxLookupEdit=combobox",
      "TRxDBLookupCombo=combobox",
      "TRzGroup=panel",
      "TRzButton=button",
      "TRzBitbtn=bitbtn",
      "TRzMenuButton=menubtn",
      "TRzCheckGroup=CheckGroup",
      "TRzRadioGroup=Radiogroup",
      "TRzButtonEdit=Edit",
      "TRzDBRadioGroup=Radiogroup",
      "TRzDBRadioButton=Radiobutton",
      "TRzDateTimeEdit=combobox",
      "TRzColorEdit=combobox",
      "TRzDateTimePicker=combobox",
      "TRzDBDateTimeEdit=combobox",
      "TRzDbColorEdit=combobox",
      "TRzDBDateTimePicker=combobox",
      "TLMDButton=bitbtn",
      "TLMDGroupBox=Groupbox",
      "TDBCheckboxEh=Checkbox",
      "TDBCheckboxEh=Checkbox",
      "TLMDCHECKBOX=Checkbox",
      "TLMDDBCHECKBOX=Checkbox",
      "TLMDRadiobutton=Radiobutton",
      "TLMDCalculator=panel",
      "TLMDGROUPBOX=Panel",
      "TLMDSIMPLEPANEL=Panel",
      "TLMDDBCalendar=Panel",
      "TLMDButtonPanel=Panel",
      "TLMDLMDCalculator=Panel",
      "TLMDHeaderPanel=Panel",
      "TLMDTechnicalLine=Panel",
      "TLMDLMDClock=Panel",
      "TLMDTrackbar=panel",
      "TLMDListCombobox=combobox",
      "TLMDCheckListCombobox=combobox",
      "TLMDHeaderListCombobox=combobox",
      "TLMDImageCombobox=combobox",
      "TLMDColorCombobox=combobox",
      "TLMDFontCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDPrinterCombobox=combobox",
      "TLMDDriveCombobox=combobox",
      "TLMDCalculatorComboBox=combobox",
      "TLMDTrackBarComboBox=combobox",
      "TLMDCalendarComboBox=combobox",
      "TLMDTreeComboBox=combobox",
      "TLMDRADIOGROUP=radiogroup",
      "TLMDCheckGroup=CheckGroup",
      "TLMDDBRADIOGROUP=radiogroup",
      "TLMDDBCheckGroup=CheckGroup",
      "TLMDCalculatorEdit=edit",
      "TLMDEDIT=Edit",
      "TLMDMASKEDIT=Edit",
      "TLMDBROWSEEDIT=Edit",
      "TLMDEXTSPINEDIT=Edit",
      "TLMDCALENDAREDIT=Edit",
      "TLMDFILEOPENEDIT=Edit",
      "TLMDFILESAVEEDIT=Edit",
      "TLMDCOLOREDIT=Edit",
      "TLMDDBEDIT=Edit",
      "TLMDDBMASKEDIT=Edit",
      "TLMDDBEXTSPINEDIT=Edit",
      "TLMDDBSPINEDIT=Edit",
      "TLMDDBEDITDBLookup=Edit",
      "TLMDEDITDBLookup=Edit",
      "TDBLookupCombobox=Combobox",
      "TWWDBCombobox=Combobox",
      "TWWDBLookupCombo=Combobox",
      "TWWDBCombobox=Combobox",
      "TWWKeyCombo=Combobox",
      "TWWTempKeyCombo=combobox",
      "TWWDBDateTimePicker=Combobox",
      "TWWRADIOGROUP=radiogroup",
      "TWWDBEDIT=Edit",
      "TcxButton=bitbtn",
      "TcxDBRadioGroup=radiogroup",
      "TcxRadioGroup=radiogroup",
      "TcxGroupbox=groupbox",
      "TOVCPICTUREFIELD=Edit",
      "TOVCDBPICTUREFIELD=Edit",
      "TOVCSLIDEREDIT=Edit",
      "TOVCDBSLIDEREDIT=Edit",
      "TOVCSIMPLEFIELD=Edit",
      "TOVCDBSIMPLEFIELD=Edit",
      "TO32DBFLEXEDIT=Edit",
      "TOVCNUMERICFIELD=Edit",
      "TOVCDBNUMERICFIELD=Edit",
  };
  return lines;
}

namespace {

// The glyph art into list at the list's size: each target pixel takes the
// art's pixel it falls on, so a one-pixel line stays one solid line.
void AddMenuGlyphs(TImageList& list) {
  const int size = list.Width();
  const int glyphs = GlyphArt::kWidth / GlyphArt::kHeight;
  Surface art(size * glyphs, size);
  const std::uint8_t* bits = MenuGlyphBits();
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size * glyphs; ++x) {
      const int ax = x * GlyphArt::kHeight / size;
      const int ay = y * GlyphArt::kHeight / size;
      const bool ink = (bits[ay * GlyphArt::kRowBytes + ax / 8] >> (7 - ax % 8)) & 1;
      // No alpha: a list of 32-bit images would take any alpha over the mask.
      art.At(x, y) = ink ? 0x00000000u : 0x00FFFFFFu;
    }
  if (UniqueBitmap strip = CreateDibSection(art.View(), false)) list.AddMasked(strip.Get(), RGB(255, 255, 255));
}

}  // namespace

TSkinData::TSkinData(TComponent* owner) : TComponent(owner) {
  SkinFormtype = sfMainform;
  m_skin = std::make_unique<SkinDefinition>(LiveSystemColours());
  FramePaintFlag = 1;
  m_skin3rd = DefaultSkin3rd();
  MenuUpdate = true;
  MenuMerge = false;
  DisableTag = 99;

  m_menuGlyphs = &Create<TImageList>(16, 16);
  AddMenuGlyphs(*m_menuGlyphs);

  m_maximisedSize = SIZE{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  m_hint = CreateHintWindow();
}

void TSkinData::SetSkinFile(const std::string& path) {
  m_skin->SkinEmpty = true;
  m_skinFile = path;
  if (!FileExists(path)) return;
  m_stream = ReadWholeFile(path);
  m_scaledSets.clear();  // a skin from a file has only its own pictures
  LoadSkinStreamNow();
  ApplySkin();
}

void TSkinData::SetSkinStream(std::vector<std::uint8_t> stream, std::vector<ScaledSkinStream> scaledSets) {
  // An empty stored stream leaves the one held, as a count of 0 does.
  if (stream.empty()) return;
  m_stream = std::move(stream);
  m_scaledSets = std::move(scaledSets);
  LoadSkinStreamNow();
}

void TSkinData::LoadSkinStreamNow() {
  SkinLoadStatus status = SkinLoadStatus::Empty;
  // Unique across every skin component of the process, so a picture kept
  // for one load is never taken for another component's.
  static unsigned lastGeneration = 0;
  m_generation = ++lastGeneration;
  m_scaled.clear();
  try {
    status = LoadSkinStream(m_stream, *m_skin);
  } catch (const std::exception&) {
    // Broken skin data is never reported; the component just stays empty.
    m_skin->SkinEmpty = true;
    return;
  }
  if (status == SkinLoadStatus::Loaded) {
    const Colour face =
        ResolveColour(m_skin->Colours[SkinDefinition::kButtonFace], m_skin->System());
    m_faceBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(face)));
    return;
  }
  if (status == SkinLoadStatus::UnknownVersion && CodesItsVersion(m_stream))
    ShowMessage(kOlderSkinMessage);
}

void TSkinData::RebuildCaptionFont() {
  // Made again at each DPI as it is asked for: the user's setting may have
  // changed.
  m_captionFonts.clear();
}

HFONT TSkinData::CaptionFont(int dpi) const {
  UniqueFont& font = m_captionFonts[dpi];
  if (!font) font = MakeNonClientFont(NonClientFont::Caption, dpi);
  return font.Get();
}

const SkinDefinition& TSkinData::SkinAt(int dpi) const {
  if (dpi == kDesignDpi || dpi < 1 || m_skin->SkinEmpty) return *m_skin;
  std::unique_ptr<SkinDefinition>& scaled = m_scaled[dpi];
  if (!scaled) scaled = SkinAtDpi(*m_skin, dpi, m_scaledSets);
  return *scaled;
}

TImageList& TSkinData::MenuGlyphs(int dpi) const {
  const int size = ScaleToDpi(16, dpi);
  if (size == m_menuGlyphs->Width()) return *m_menuGlyphs;
  std::unique_ptr<TImageList>& list = m_scaledGlyphs[size];
  if (!list) {
    list = std::make_unique<TImageList>(nullptr, size, size);
    AddMenuGlyphs(*list);
  }
  return *list;
}

void TSkinData::BuildAppIcon() {
  m_appIcon.Reset();
  TApplication* application = CurrentApplication();
  if (!application || !application->Handle()) return;
  HWND window = application->Handle();
  auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
  if (!icon) return;

  const int cx = GetSystemMetrics(SM_CXSMICON);
  const int cy = GetSystemMetrics(SM_CYSMICON);
  UniqueIcon small(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0)));
  if (!small) return;
  UniqueBitmap bitmap = CreateWhiteDib24(cx, cy);
  MemoryDC dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return;
  {
    SelectGuard select(dc.Get(), bitmap.Get());
    RECT all{0, 0, cx, cy};
    UniqueBrush magenta(CreateSolidBrush(static_cast<COLORREF>(kColourKey)));
    FillRect(dc.Get(), &all, magenta.Get());
    DrawIconEx(dc.Get(), 0, 0, small.Get(), cx, cy, 0, nullptr, DI_NORMAL);
  }
  m_appIcon = std::move(bitmap);
}

void TSkinData::MayFormSkin(HWND window, const std::string& className, bool& doSkin) {
  m_lastMayFormSkin = window;
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (className == "SysMonthCal32")
    doSkin = false;
  else if (SkinControls.Contains(xcFastReport) && className.starts_with("Tfr"))
    doSkin = false;
}

void TSkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::ShowCaptionHint(const RECT& at, const std::string& text) {
  if (!Options.Contains(xoCaptionButtonHint) || m_hintShown || !m_hint) return;
  RECT size{0, 0, kHintMaxWidth - 2 * kHintInset, 0};
  {
    WindowDC screen(nullptr);
    SelectGuard font(screen.Get(), HintFont());
    DrawTextUtf8(screen.Get(), text, &size, kHintTextFormat | DT_CALCRECT);
  }
  // A word too long for a line widens the measured rectangle: it is clipped
  // rather than let the hint grow past its limit.
  const int width = std::min<int>(size.right - size.left + 2 * kHintInset, kHintMaxWidth);
  const int height = size.bottom - size.top + 2 * kHintInset;
  SetWindowTextA(m_hint.Get(), text.c_str());
  InvalidateRect(m_hint.Get(), nullptr, TRUE);
  SetWindowPos(m_hint.Get(), HWND_TOPMOST, at.left, at.top, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  m_hintShown = true;
}

void TSkinData::HideCaptionHint() {
  if (!m_hintShown) return;
  ShowWindow(m_hint.Get(), SW_HIDE);
  m_hintShown = false;
}

TPropValue TSkinData::GetProperty(std::string_view name) const {
  if (name == "Active") return std::int64_t{m_active};
  if (name == "DisableTag") return std::int64_t{DisableTag};
  if (name == "SkinControls") return std::int64_t{SkinControls.ToBits()};
  if (name == "Options") return std::int64_t{Options.ToBits()};
  if (name == "Skin3rd") return JoinLines(m_skin3rd);
  if (name == "SkinFile") return m_skinFile;
  if (name == "SkinStore") return SkinStore();
  if (name == "SkinFormtype")
    return TEnumName{kFormTypeNames[static_cast<std::size_t>(SkinFormtype)]};
  if (name == "Version") return Version();
  if (name == "MenuUpdate") return std::int64_t{MenuUpdate};
  if (name == "MenuMerge") return std::int64_t{MenuMerge};
  return TComponent::GetProperty(name);
}

bool TSkinData::SetProperty(std::string_view name, const TPropValue& value) {
  const auto i = PropInt(value);
  const auto text = PropText(value);
  if (name == "Active") return i && (SetActive(*i != 0), true);
  if (name == "DisableTag") return i && (DisableTag = static_cast<int>(*i), true);
  if (name == "SkinControls")
    return i && (SkinControls = TSkinControlTypes::FromBits(static_cast<std::uint32_t>(*i)), true);
  if (name == "Options")
    return i && (Options = TSkinOptions::FromBits(static_cast<std::uint16_t>(*i)), true);
  if (name == "Skin3rd") return text && (SetSkin3rd(SplitSkinNameList(*text)), true);
  if (name == "SkinFile") return text && (SetSkinFile(*text), true);
  if (name == "SkinStore") return text && (SetSkinStore(*text), true);
  if (name == "Version") return text && (SetVersion(*text), true);
  if (name == "MenuUpdate") return i && (MenuUpdate = *i != 0, true);
  if (name == "MenuMerge") return i && (MenuMerge = *i != 0, true);
  if (name == "SkinFormtype") {
    if (const auto member = PropEnum(value)) {
      for (std::size_t n = 0; n < kFormTypeNames.size(); ++n)
        if (*member == kFormTypeNames[n]) return SkinFormtype = static_cast<TSkinFormType>(n), true;
    }
    return false;
  }
  return TComponent::SetProperty(name, value);
}

}  // namespace corvane
