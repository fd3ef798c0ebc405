#include "framework/TabCtrls.h"
#include "platform/Text.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "core/TabSetLayout.h"
#include "pictures/WinSurface.h"

namespace corvane {

namespace {

void EnsureTabClasses() { EnsureCommonControlClasses(ICC_TAB_CLASSES | ICC_UPDOWN_CLASS); }

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

HWND WindowIfAny(const TWinControl& c) {
  return c.HandleAllocated() ? const_cast<TWinControl&>(c).Handle() : nullptr;
}

RECT ClientOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

// A picture of a window's client area to compose in, blitted to the
// window's DC once (no flicker).
class BackBuffer {
 public:
  BackBuffer(HDC target, HWND window)
      : m_target(target),
        m_client(ClientOf(window)),
        m_dc(CreateCompatibleDC(target)),
        m_bitmap(CreateCompatibleBitmap(target, std::max<int>(m_client.right, 1),
                                        std::max<int>(m_client.bottom, 1))),
        m_select(m_dc.Get(), m_bitmap.Get()) {}
  ~BackBuffer() {
    BitBlt(m_target, 0, 0, m_client.right, m_client.bottom, m_dc.Get(), 0, 0, SRCCOPY);
  }
  HDC Dc() const { return m_dc.Get(); }
  const RECT& Client() const { return m_client; }

 private:
  HDC m_target;
  RECT m_client;
  MemoryDC m_dc;
  UniqueBitmap m_bitmap;
  SelectGuard m_select;
};

void StretchPicture(HDC dc, const RECT& r, const Surface& picture) {
  BITMAPINFO info = TopDownBitmapInfo(picture.Width(), picture.Height(), 32);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, picture.Width(),
                picture.Height(), picture.Pixels().data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

// ---------------------------------------------------------------- TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  m_width = 289;
  m_height = 193;
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  EnsureTabClasses();
  TWinControl::CreateParams(p);
  p.baseClass = WC_TABCONTROLA;
  p.style |= WS_TABSTOP;
  switch (TabPosition) {
    case TTabPosition::tpTop: break;
    case TTabPosition::tpBottom: p.style |= TCS_BOTTOM; break;
    case TTabPosition::tpLeft: p.style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case TTabPosition::tpRight: p.style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
  }
  if (MultiLine) p.style |= TCS_MULTILINE;
  if (Style == TTabStyle::tsButtons) p.style |= TCS_BUTTONS;
  if (Style == TTabStyle::tsFlatButtons) p.style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TCustomTabControl::WindowCreated() {
  ApplyTabs();
}

void TCustomTabControl::ApplyTabs() {
  HWND h = WindowIfAny(*this);
  if (!h) return;
  SendMessageA(h, TCM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < m_tabs.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(m_tabs[i].c_str());
    SendMessageA(h, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(m_tabIndex), 0);
}

void TCustomTabControl::SetTabTexts(std::vector<std::string> tabs) {
  int keep = TabIndex();
  m_tabs = std::move(tabs);
  bool kept = keep >= 0 && keep < TabCount();
  m_tabIndex = kept ? keep : (m_tabs.empty() ? -1 : 0);
  ApplyTabs();
  TabChanged();
}

int TCustomTabControl::TabIndex() const {
  if (HWND h = WindowIfAny(*this)) return static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0));
  return m_tabIndex;
}

void TCustomTabControl::SetTabIndex(int index) {
  if (index < -1 || index >= TabCount()) return;
  m_tabIndex = index;
  if (HWND h = WindowIfAny(*this)) SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  TabChanged();
}

RECT TCustomTabControl::DisplayRect() {
  RECT r{};
  HWND h = Handle();
  GetClientRect(h, &r);
  SendMessageA(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::Dispatch(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->code == TCN_SELCHANGE) {
      m_tabIndex = TabIndex();
      TabChanged();
      if (OnChange) OnChange(this);
      return;
    }
    if (header->code == TCN_SELCHANGING) {
      m.Result = FALSE;  // the change is allowed
      return;
    }
  }
  TWinControl::Dispatch(m);
}

TPropValue TCustomTabControl::GetProperty(std::string_view name) const {
  if (name == "Tabs") return JoinLines(m_tabs);
  if (name == "TabIndex") return std::int64_t{TabIndex()};
  if (name == "MultiLine") return std::int64_t{MultiLine};
  if (name == "Style") {
    static const char* const names[] = {"tsTabs", "tsButtons", "tsFlatButtons"};
    return TEnumName{names[static_cast<int>(Style)]};
  }
  if (name == "TabPosition") {
    static const char* const names[] = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
    return TEnumName{names[static_cast<int>(TabPosition)]};
  }
  return TWinControl::GetProperty(name);
}

bool TCustomTabControl::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "TabIndex") {
    auto i = PropInt(value);
    return i && (SetTabIndex(static_cast<int>(*i)), true);
  }
  return TWinControl::SetProperty(name, value);
}

// ---------------------------------------------------------------- TTabbedPanel

void TTabbedPanel::CreateParams(TCreateParams& p) {
  Style = TabKind == TTabKind::tkButtons ? TTabStyle::tsButtons : TTabStyle::tsTabs;
  TCustomTabControl::CreateParams(p);
}

TPropValue TTabbedPanel::GetProperty(std::string_view name) const {
  if (name == "TabKind") return std::int64_t{static_cast<std::uint8_t>(TabKind)};
  return TCustomTabControl::GetProperty(name);
}

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TTabSheet::~TTabSheet() {
  if (m_pageControl) m_pageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == m_pageControl) return;
  if (m_pageControl) m_pageControl->RemovePage(this);
  m_pageControl = pageControl;
  if (pageControl) {
    SetParent(pageControl);
    pageControl->InsertPage(this);
  }
}

void TTabSheet::SetCaption(const std::string& text) {
  TWinControl::SetCaption(text);
  if (m_pageControl) m_pageControl->UpdatePages();
}

// ---------------------------------------------------------------- TPageControl

TPageControl::~TPageControl() {
  // Pages may outlive the control in the owner's list: they forget it.
  for (TTabSheet* page : m_pages) page->m_pageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  m_pages.push_back(page);
  UpdatePages();
}

void TPageControl::RemovePage(TTabSheet* page) {
  m_pages.erase(std::remove(m_pages.begin(), m_pages.end(), page), m_pages.end());
  UpdatePages();
}

void TPageControl::UpdatePages() {
  std::vector<std::string> captions;
  for (TTabSheet* page : m_pages) captions.push_back(page->Caption());
  SetTabTexts(std::move(captions));
}

TTabSheet* TPageControl::ActivePage() const {
  int index = TabIndex();
  return index >= 0 && index < PageCount() ? Pages(index) : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  auto at = std::find(m_pages.begin(), m_pages.end(), page);
  if (at != m_pages.end()) SetTabIndex(static_cast<int>(at - m_pages.begin()));
}

void TPageControl::WindowCreated() {
  TCustomTabControl::WindowCreated();
  TabChanged();
}

void TPageControl::TabChanged() {
  TTabSheet* active = ActivePage();
  RECT inside{};
  bool placed = HandleAllocated();
  if (placed) inside = DisplayRect();
  for (TTabSheet* page : m_pages) {
    if (placed)
      page->SetBounds(inside.left, inside.top, inside.right - inside.left,
                      inside.bottom - inside.top);
    page->SetVisible(page == active);
  }
}

void TPageControl::Dispatch(TMessage& m) {
  TCustomTabControl::Dispatch(m);
  if (m.Msg == WM_SIZE) TabChanged();
}

// ---------------------------------------------------------------- TTabSet

TTabScroller::TTabScroller(TComponent* owner) : TUpDown(owner) {
  Orientation = TUDOrientation::udHorizontal;
}

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner) {
  m_width = 185;
  m_height = 21;
  // The scroller is the set's first component: the skin finds it there.
  m_scroller = &Create<TTabScroller>();
  m_scroller->SetVisible(false);
}

void TTabSet::WindowCreated() {
  m_scroller->SetParent(this);
  UpdateScroller();
}

std::vector<int> TTabSet::TextWidths() {
  std::vector<int> widths;
  HWND h = Handle();
  WindowDC dc(h);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0));
  SelectGuard select(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  for (const std::string& tab : m_tabs) {
    SIZE extent{};
    extent = TextExtentUtf8(dc.Get(), tab);
    widths.push_back(extent.cx);
  }
  return widths;
}

std::vector<TTabSet::ShownTab> TTabSet::ShownTabs() {
  std::vector<ShownTab> shown;
  if (!HandleAllocated()) return shown;
  RECT client{};
  GetClientRect(Handle(), &client);
  for (const TabSetTab& tab :
       LayoutTabSet(TextWidths(), m_firstIndex, StartMargin, EndMargin,
                    {client.right, client.bottom}, m_scroller->Visible()))
    shown.push_back({tab.index, {tab.rect.left, tab.rect.top, tab.rect.right, tab.rect.bottom}});
  return shown;
}

void TTabSet::UpdateScroller() {
  if (!HandleAllocated()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  Size set{client.right, client.bottom};
  std::vector<int> widths = TextWidths();
  // Shown while not every tab fits from the first one on.
  auto fitting = LayoutTabSet(widths, 0, StartMargin, EndMargin, set, false);
  bool needed = fitting.size() < m_tabs.size();
  if (!needed) m_firstIndex = 0;
  int last = std::max(static_cast<int>(m_tabs.size()) - 1, 0);
  m_scroller->SetRange(0, last);
  m_scroller->SetPosition(m_firstIndex);
  int width = EndMargin + 12;
  m_scroller->SetBounds(client.right - width, 0, width, std::min<int>(client.bottom, 18));
  m_scroller->SetVisible(needed);
  Invalidate();
}

void TTabSet::SetTabs(std::vector<std::string> tabs) {
  m_tabs = std::move(tabs);
  if (m_tabIndex >= static_cast<int>(m_tabs.size())) m_tabIndex = m_tabs.empty() ? -1 : 0;
  if (m_firstIndex >= static_cast<int>(m_tabs.size())) m_firstIndex = 0;
  UpdateScroller();
}

void TTabSet::SetTabIndex(int index) {
  if (index < -1 || index >= static_cast<int>(m_tabs.size()) || index == m_tabIndex) return;
  m_tabIndex = index;
  Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
  index = std::clamp(index, 0, std::max(static_cast<int>(m_tabs.size()) - 1, 0));
  if (index == m_firstIndex) return;
  m_firstIndex = index;
  if (m_scroller->HandleAllocated()) m_scroller->SetPosition(index);
  Invalidate();
}

void TTabSet::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
      // The scroller's steps: its position is the first tab shown.
      if (LOWORD(m.WParam) == SB_THUMBPOSITION || LOWORD(m.WParam) == SB_ENDSCROLL)
        SetFirstIndex(m_scroller->Position());
      return;
    case WM_ERASEBKGND:
      m.Result = 1;  // painted whole in PaintWindow
      return;
    case WM_SIZE:
      TWinControl::Dispatch(m);
      UpdateScroller();
      return;
    default:
      TWinControl::Dispatch(m);
  }
}

void TTabSet::PaintWindow(HDC dc) {
  BackBuffer buffer(dc, Handle());
  const RECT& client = buffer.Client();
  HDC b = buffer.Dc();
  FillRect(b, &client, GetSysColorBrush(COLOR_BTNFACE));
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
  SelectGuard select(b, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(b, TRANSPARENT);
  // The line the tabs hang from.
  RECT line{0, 0, client.right, 1};
  FillRect(b, &line, GetSysColorBrush(COLOR_3DDKSHADOW));
  for (const ShownTab& tab : ShownTabs()) {
    RECT r = tab.rect;
    bool selected = tab.index == m_tabIndex;
    if (!selected) r.top += 1;
    r.bottom -= 2;
    FillRect(b, &r, GetSysColorBrush(selected ? COLOR_WINDOW : COLOR_BTNFACE));
    FrameRect(b, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    const std::string& text = m_tabs[static_cast<std::size_t>(tab.index)];
    SetTextColor(b, GetSysColor(COLOR_BTNTEXT));
    DrawTextUtf8(b, text, &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft)
    for (const ShownTab& tab : ShownTabs())
      if (x >= tab.rect.left && x < tab.rect.right && y >= tab.rect.top && y < tab.rect.bottom &&
          tab.index != m_tabIndex) {
        SetTabIndex(tab.index);
        if (OnChange) OnChange(this);
        break;
      }
  TWinControl::MouseDown(button, shift, x, y);
}

TPropValue TTabSet::GetProperty(std::string_view name) const {
  if (name == "Tabs") return JoinLines(m_tabs);
  if (name == "TabIndex") return std::int64_t{m_tabIndex};
  if (name == "FirstIndex") return std::int64_t{m_firstIndex};
  if (name == "StartMargin") return std::int64_t{StartMargin};
  if (name == "EndMargin") return std::int64_t{EndMargin};
  return TWinControl::GetProperty(name);
}

// ---------------------------------------------------------------- TImagePageControl

TImagePageControl::TImagePageControl(TComponent* owner) : TWinControl(owner) {
  m_width = 240;
  m_height = 120;
  m_background = &Create<TBitmap>();
  m_backgroundActive = &Create<TBitmap>();
}

void TImagePageControl::SetTabs(std::vector<std::string> tabs) {
  m_tabs = std::move(tabs);
  m_tabIndex = std::clamp(m_tabIndex, 0, std::max(static_cast<int>(m_tabs.size()) - 1, 0));
  Invalidate();
}

void TImagePageControl::SetTabIndex(int index) {
  if (index < 0 || index >= static_cast<int>(m_tabs.size())) return;
  m_tabIndex = index;
  Invalidate();
}

TPropValue TImagePageControl::GetProperty(std::string_view name) const {
  if (name == "TabBackGround") return static_cast<TComponent*>(m_background);
  if (name == "TabBackGroundActive") return static_cast<TComponent*>(m_backgroundActive);
  if (name == "TabIndex") return std::int64_t{m_tabIndex};
  return TWinControl::GetProperty(name);
}

bool TImagePageControl::SetProperty(std::string_view name, const TPropValue& value) {
  TBitmap* target = name == "TabBackGround"         ? m_background
                    : name == "TabBackGroundActive" ? m_backgroundActive
                                                    : nullptr;
  if (!target) return TWinControl::SetProperty(name, value);
  auto* given = std::get_if<TComponent*>(&value);
  if (!given) return false;
  auto* bitmap = dynamic_cast<TBitmap*>(*given);
  if (*given && !bitmap) return false;
  // A copy, as a bitmap property takes it: the giver keeps its own.
  target->Picture = bitmap ? bitmap->Picture : Surface();
  Invalidate();
  return true;
}

void TImagePageControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;  // painted whole in PaintWindow
    return;
  }
  TWinControl::Dispatch(m);
}

void TImagePageControl::PaintWindow(HDC dc) {
  BackBuffer buffer(dc, Handle());
  const RECT& client = buffer.Client();
  HDC b = buffer.Dc();
  UniqueBrush face(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(b, &client, face.Get());
  RECT page{0, TabHeight, client.right, client.bottom};
  FrameRect(b, &page, GetSysColorBrush(COLOR_BTNSHADOW));
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
  SelectGuard select(b, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(b, TRANSPARENT);
  SetTextColor(b, ColorToRGB(Font.Color));
  for (std::size_t i = 0; i < m_tabs.size(); ++i) {
    RECT r{static_cast<int>(i) * TabWidth, 0, static_cast<int>(i + 1) * TabWidth, TabHeight};
    bool active = static_cast<int>(i) == m_tabIndex;
    const Surface& picture = active ? TabBackGroundActive() : TabBackGround();
    if (!picture.IsEmpty())
      StretchPicture(b, r, picture);
    else
      FrameRect(b, &r, GetSysColorBrush(active ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW));
    DrawTextUtf8(b, m_tabs[i], &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TImagePageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft && y >= 0 && y < TabHeight && TabWidth > 0)
    SetTabIndex(x / TabWidth);
  TWinControl::MouseDown(button, shift, x, y);
}

}  // namespace corvane
