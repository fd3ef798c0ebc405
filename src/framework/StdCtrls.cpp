#include "framework/StdCtrls.h"
#include "platform/Text.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "core/FlagWhile.h"

namespace corvane {

namespace {

// How far the mouse must travel with the button down before a press on an
// automatic-drag control becomes a drag; a plain click must stay a click.
constexpr int kDragThreshold = 5;

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  int got = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

}  // namespace

EListError::EListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

bool MoveFocusOnTab(HWND from, WORD key) {
  if (key != VK_TAB || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  HWND root = GetAncestor(from, GA_ROOT);
  HWND next = GetNextDlgTabItem(root, from, GetKeyState(VK_SHIFT) < 0);
  if (next && next != from) SetFocus(next);
  return true;
}

// ---------------------------------------------------------------- TDragTarget

bool TDragTarget::DragOver(TObject* source, int x, int y, TDragState state) {
  bool accept = false;
  if (OnDragOver) {
    accept = true;
    OnDragOver(dynamic_cast<TObject*>(this), source, x, y, state, accept);
  }
  return accept;
}

void TDragTarget::DragDrop(TObject* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(dynamic_cast<TObject*>(this), source, x, y);
}

TDragTarget* FindDragTarget(POINT screen, TObject** object) {
  if (object) *object = nullptr;
  for (HWND w = WindowFromPoint(screen); w; w = GetParent(w)) {
    TWinControl* control = ControlOfWindow(w);
    if (!control) continue;
    auto* target = dynamic_cast<TDragTarget*>(control);
    if (target && object) *object = control;
    return target;
  }
  return nullptr;
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  m_width = 65;
  m_height = 13;
  SetAutoSize(true);
}

void TLabel::SetCaption(const std::string& text) {
  TGraphicControl::SetCaption(text);
  AdjustSize();
}

void TLabel::SetParent(TWinControl* parent) {
  TGraphicControl::SetParent(parent);
  AdjustSize();
}

bool TLabel::CanAutoSize(int& width, int& height) {
  if (!Parent()) return false;
  UniqueFont font = MakeFont(Parent()->Font, Dpi());
  WindowDC screen(nullptr);
  SelectGuard select(screen.Get(), font.Get());
  SIZE size{};
  const std::string& text = Caption();
  size = TextExtentUtf8(screen.Get(), text);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  width = size.cx;
  height = metrics.tmHeight;
  return true;
}

void TLabel::Paint(HDC dc) {
  if (!Parent()) return;
  UniqueFont font = MakeFont(Parent()->Font, Dpi());
  SelectGuard select(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? Parent()->Font.Color : clSystemColor | COLOR_GRAYTEXT));
  RECT r{0, 0, Width(), Height()};
  std::string text = Caption();
  DrawTextUtf8(dc, text, &r,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {
  m_width = 121;
  m_height = 21;
  SetColor(clWindow);
}

void TEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "EDIT";
  p.style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

std::string TEdit::Text() const {
  auto* self = const_cast<TEdit*>(this);
  if (self->HandleAllocated()) return WindowText(self->Handle());
  return Caption();
}

void TEdit::SetText(const std::string& text) {
  // The window may hold what the user typed since the caption was last set,
  // so the window is always written, not only when the caption differs.
  TControl::SetCaption(text);
  if (HandleAllocated()) SetWindowTextA(Handle(), text.c_str());
}

void TEdit::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key && MoveFocusOnTab(Handle(), key)) key = 0;
}

void TEdit::Dispatch(TMessage& m) {
  // The Tab that moved the focus must not also reach the field as a character.
  if (m.Msg == WM_CHAR && m.WParam == '\t') return;
  TWinControl::Dispatch(m);
}

TPropValue TEdit::GetProperty(std::string_view name) const {
  if (name == "Text" || name == "Caption") return Text();
  return TWinControl::GetProperty(name);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  m_width = 75;
  m_height = 25;
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "BUTTON";
  p.style |= WS_TABSTOP | (m_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value) {
  if (value == m_default) return;
  m_default = value;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

TPropValue TButton::GetProperty(std::string_view name) const {
  if (name == "Default") return std::int64_t{m_default};
  return TWinControl::GetProperty(name);
}

bool TButton::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Default") {
    if (auto i = PropInt(value)) return SetDefault(*i != 0), true;
    return false;
  }
  return TWinControl::SetProperty(name, value);
}

void TButton::Click() {
  TWinControl::Click();
}

void TButton::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key && MoveFocusOnTab(Handle(), key)) key = 0;
}

void TButton::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    return;
  }
  TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TComponent* owner) : TCustomListBox(owner) {
  m_width = 121;
  m_height = 97;
  SetColor(clWindow);
}

void TListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "LISTBOX";
  // The framework keeps the order itself (so mirror and window agree), hence
  // no system sorting.
  p.style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
  if (!IntegralHeight) p.style |= LBS_NOINTEGRALHEIGHT;
  if (m_multiSelect) p.style |= LBS_EXTENDEDSEL;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::DpiChanged() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, Scaled(ItemHeight));
  SetWindowPos(Handle(), nullptr, 0, 0, m_width, m_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TListBox::SetMultiSelect(bool multiSelect) {
  if (multiSelect == m_multiSelect) return;
  if (HandleAllocated()) m_itemIndex = ItemIndex();
  m_multiSelect = multiSelect;
  RecreateWnd();
}

void TListBox::WindowCreated() {
  HWND w = Handle();
  SendMessageA(w, LB_SETITEMHEIGHT, 0, Scaled(ItemHeight));
  for (const std::string& item : m_items)
    SendMessageA(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SelectInWindow(m_itemIndex);
  // The height snaps to whole rows only when asked to again after the rows
  // have their final height.
  SetWindowPos(w, nullptr, 0, 0, m_width, m_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const std::string& TListBox::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError(index);
  return m_items[static_cast<std::size_t>(index)];
}

int TListBox::InsertPosition(const std::string& text) const {
  if (!Sorted) return Count();
  auto at = std::upper_bound(
      m_items.begin(), m_items.end(), text,
      [](const std::string& a, const std::string& b) { return CompareTextForDisplay(a, b) < 0; });
  return static_cast<int>(at - m_items.begin());
}

int TListBox::Add(const std::string& text) {
  int index = InsertPosition(text);
  m_items.insert(m_items.begin() + index, text);
  if (HandleAllocated())
    SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
  else if (m_itemIndex >= index)
    ++m_itemIndex;
  return index;
}

void TListBox::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError(index);
  m_items.erase(m_items.begin() + index);
  if (HandleAllocated()) {
    SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  } else if (m_itemIndex == index) {
    m_itemIndex = -1;
  } else if (m_itemIndex > index) {
    --m_itemIndex;
  }
}

void TListBox::Clear() {
  m_items.clear();
  m_itemIndex = -1;
  if (HandleAllocated()) SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

void TListBox::SetItems(const std::vector<std::string>& items) {
  Clear();
  for (const std::string& item : items) Add(item);
}

void TListBox::SelectInWindow(int index) {
  HWND w = Handle();
  if (!m_multiSelect) {
    SendMessageA(w, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return;
  }
  // A list that selects several items has no single selection to set: the
  // one item is selected alone and gets the caret.
  SendMessageA(w, LB_SETSEL, FALSE, -1);
  if (index < 0) return;
  SendMessageA(w, LB_SETSEL, TRUE, index);
  SendMessageA(w, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

int TListBox::ItemIndex() const {
  auto* self = const_cast<TListBox*>(this);
  if (!self->HandleAllocated()) return m_itemIndex;
  HWND w = self->Handle();
  if (!m_multiSelect) return static_cast<int>(SendMessageA(w, LB_GETCURSEL, 0, 0));
  // The item with the caret, when it is selected.
  int caret = static_cast<int>(SendMessageA(w, LB_GETCARETINDEX, 0, 0));
  return caret >= 0 && SendMessageA(w, LB_GETSEL, static_cast<WPARAM>(caret), 0) > 0 ? caret : -1;
}

void TListBox::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) throw EListError(index);
  m_itemIndex = index;
  if (HandleAllocated()) SelectInWindow(index);
}

int TListBox::ItemAtPos(POINT p) const {
  auto* self = const_cast<TListBox*>(this);
  if (!self->HandleAllocated()) return -1;
  LRESULT r = SendMessageA(self->Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  if (HIWORD(r)) return -1;  // outside every item
  return LOWORD(r);
}

RECT TListBox::ItemRect(int index) const {
  RECT r{};
  auto* self = const_cast<TListBox*>(this);
  if (self->HandleAllocated())
    SendMessageA(self->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
  return r;
}

void TListBox::BeginDrag(bool immediate) {
  GetCursorPos(&m_dragStart);
  m_drag = DragPhase::Pending;
  if (immediate) {
    m_drag = DragPhase::Dragging;
    SetCapture(Handle());
    MoveDrag(m_dragStart);
  }
}

void TListBox::MoveDrag(POINT screen) {
  if (m_drag == DragPhase::Pending) {
    if (std::abs(screen.x - m_dragStart.x) < kDragThreshold &&
        std::abs(screen.y - m_dragStart.y) < kDragThreshold)
      return;
    m_drag = DragPhase::Dragging;
    SetCapture(Handle());
  }
  TObject* object = nullptr;
  TDragTarget* target = FindDragTarget(screen, &object);
  if (target != m_dragTarget && m_dragTarget) {
    POINT p = static_cast<TWinControl*>(m_dragTargetObject)->ScreenToClient(screen);
    m_dragTarget->DragOver(this, p.x, p.y, TDragState::dsDragLeave);
  }
  bool accept = false;
  if (target) {
    POINT p = static_cast<TWinControl*>(object)->ScreenToClient(screen);
    accept = target->DragOver(
        this, p.x, p.y, target == m_dragTarget ? TDragState::dsDragMove : TDragState::dsDragEnter);
  }
  m_dragTarget = target;
  m_dragTargetObject = object;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(accept ? IDC_ARROW : IDC_NO)));
}

void TListBox::EndDrag(POINT screen, bool drop) {
  bool wasDragging = m_drag == DragPhase::Dragging;
  TDragTarget* target = m_dragTarget;
  TObject* object = m_dragTargetObject;
  // Cleared first: releasing the capture below sends WM_CAPTURECHANGED back here.
  m_drag = DragPhase::None;
  m_dragTarget = nullptr;
  m_dragTargetObject = nullptr;
  if (!wasDragging) return;
  if (GetCapture() == Handle()) ReleaseCapture();
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  if (!target) return;
  POINT p = static_cast<TWinControl*>(object)->ScreenToClient(screen);
  // The target is asked once more where the button went up, as it decides.
  if (drop && target->DragOver(this, p.x, p.y, TDragState::dsDragMove))
    target->DragDrop(this, p.x, p.y);
  else
    target->DragOver(this, p.x, p.y, TDragState::dsDragLeave);
}

void TListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      // The list selects the pressed item first, so the drag carries it.
      TWinControl::WndProc(m);
      if (DragMode == TDragMode::dmAutomatic && HandleAllocated()) BeginDrag(false);
      return;
    case WM_MOUSEMOVE:
      if (m_drag != DragPhase::None) {
        if (!(m.WParam & MK_LBUTTON)) {
          EndDrag(POINT{}, false);
          break;
        }
        POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ::ClientToScreen(Handle(), &screen);
        MoveDrag(screen);
        // While dragging, the list must not follow the mouse with its selection.
        if (m_drag == DragPhase::Dragging) return;
      }
      break;
    case WM_LBUTTONUP:
      if (m_drag == DragPhase::Pending) {
        m_drag = DragPhase::None;  // a plain click
      } else if (m_drag == DragPhase::Dragging) {
        POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ::ClientToScreen(Handle(), &screen);
        // The list ends its own mouse tracking first, and quietly: the press
        // began a drag, not a choice, so no selection change is announced
        // and whoever handles clicks does not reload behind the drop.
        DragPhase phase = std::exchange(m_drag, DragPhase::None);
        {
          FlagWhile quiet(m_quietRelease);
          TWinControl::WndProc(m);
        }
        m_drag = phase;
        EndDrag(screen, true);
        return;
      }
      break;
    case WM_LBUTTONDBLCLK:
      // A double-click counts only on an item, which the list announces
      // itself; the framework's raw handling would raise the event twice.
      if (Enabled()) Dispatch(m);
      return;
    case WM_CAPTURECHANGED:
      if (m_drag == DragPhase::Dragging && reinterpret_cast<HWND>(m.LParam) != Handle())
        EndDrag(POINT{}, false);
      break;
    case WM_KEYDOWN:
      if (m_drag == DragPhase::Dragging && m.WParam == VK_ESCAPE) {
        EndDrag(POINT{}, false);
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TListBox::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key && MoveFocusOnTab(Handle(), key)) key = 0;
}

void TListBox::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    WORD code = HIWORD(m.WParam);
    if (code == LBN_SELCHANGE) {
      m_itemIndex = ItemIndex();
      if (!m_quietRelease) Click();
    } else if (code == LBN_DBLCLK) {
      DblClick();
    }
    return;
  }
  TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {
  m_width = 185;
  m_height = 105;
}

void TGroupBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  // Tab moves on into the box's own controls.
  p.exStyle |= WS_EX_CONTROLPARENT;
  p.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TGroupBox::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TWinControl::Dispatch(m);
}

void TGroupBox::PaintWindow(HDC dc) {
  if (!m_captionFont || !(m_fontUsed == Font) || m_fontDpi != Dpi()) {
    m_captionFont = MakeFont(Font, Dpi());
    m_fontUsed = Font;
    m_fontDpi = Dpi();
  }
  SelectGuard select(dc, m_captionFont.Get());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  RECT client{};
  GetClientRect(Handle(), &client);
  // The frame runs through the middle of the caption's line, as the
  // system draws group frames.
  RECT frame{client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::string& text = Caption();
  if (text.empty()) return;
  SIZE size{};
  size = TextExtentUtf8(dc, text);
  RECT label{8, 0, 8 + size.cx + 2, metrics.tmHeight};
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorToRGB(Color()));
  SetTextColor(dc, ColorToRGB(Font.Color));
  DrawTextUtf8(dc, text, &label,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace corvane
