#include "framework/DataCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace corvane {

namespace {

void EnsureDataControlClasses() { EnsureCommonControlClasses(ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES); }

std::string TextOf(HWND window) {
  int n = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(window, text.data(), n + 1), 0)));
  return text;
}

}  // namespace

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
  m_width = 185;
  m_height = 89;
  SetColor(clWindow);
}

void TMemo::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "EDIT";
  p.style |= WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_LEFT;
  if (ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth)
    p.style |= WS_VSCROLL;
  if (ScrollBars == TScrollStyle::ssHorizontal || ScrollBars == TScrollStyle::ssBoth)
    p.style |= WS_HSCROLL;
  if (!WordWrap) p.style |= ES_AUTOHSCROLL;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

std::string TMemo::Text() const {
  auto* self = const_cast<TMemo*>(this);
  return self->HandleAllocated() ? TextOf(self->Handle()) : Caption();
}

void TMemo::SetText(const std::string& text) {
  TControl::SetCaption(text);
  if (HandleAllocated()) SetWindowTextA(Handle(), text.c_str());
}

TPropValue TMemo::GetProperty(std::string_view name) const {
  if (name == "Text" || name == "Caption") return Text();
  return TCustomEdit::GetProperty(name);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* owner) : TCustomComboBox(owner) {
  m_width = 145;
  m_height = 21;
  SetColor(clWindow);
}

void TComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "COMBOBOX";
  p.style |= WS_TABSTOP | WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (Style) {
    case TComboBoxStyle::csDropDown: p.style |= CBS_DROPDOWN; break;
    // The always-open list fills the box to its bottom edge.
    case TComboBoxStyle::csSimple: p.style |= CBS_SIMPLE | CBS_NOINTEGRALHEIGHT; break;
    case TComboBoxStyle::csDropDownList: p.style |= CBS_DROPDOWNLIST; break;
  }
  // The window's height is the closed field plus the open list.
  if (Style != TComboBoxStyle::csSimple) p.height = m_height + DropDownCount * 16;
}

void TComboBox::WindowCreated() {
  HWND w = Handle();
  for (const std::string& item : m_items)
    SendMessageA(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (m_itemIndex >= 0) SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(m_itemIndex), 0);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  m_items = items;
  m_itemIndex = -1;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  WindowCreated();
}

int TComboBox::ItemIndex() const {
  auto* self = const_cast<TComboBox*>(this);
  if (!self->HandleAllocated()) return m_itemIndex;
  return static_cast<int>(SendMessageA(self->Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
  m_itemIndex = index;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TComboBox::Text() const {
  auto* self = const_cast<TComboBox*>(this);
  return self->HandleAllocated() ? TextOf(self->Handle()) : Caption();
}

TPropValue TComboBox::GetProperty(std::string_view name) const {
  if (name == "Text") return Text();
  if (name == "Style") {
    static constexpr const char* names[] = {"csDropDown", "csSimple", "csDropDownList"};
    return TEnumName{names[static_cast<int>(Style)]};
  }
  return TCustomComboBox::GetProperty(name);
}

void TComboBox::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    WORD code = HIWORD(m.WParam);
    if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && OnChange) OnChange(this);
    return;
  }
  TCustomComboBox::Dispatch(m);
}

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  m_width = 121;
  m_height = 17;
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = "SCROLLBAR";
  p.style |= Kind == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::WindowCreated() { ApplyToWindow(); }

void TScrollBar::ApplyToWindow() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  si.nMin = m_min;
  si.nMax = m_max;
  si.nPage = static_cast<UINT>(std::max(m_pageSize, 0));
  si.nPos = m_position;
  SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetParams(int position, int min, int max, int pageSize) {
  m_min = min;
  m_max = std::max(min, max);
  m_pageSize = std::clamp(pageSize, 0, m_max - m_min + 1);
  m_position = std::clamp(position, m_min, m_max - std::max(m_pageSize - 1, 0));
  ApplyToWindow();
}

void TScrollBar::SetPosition(int position) {
  int clamped = std::clamp(position, m_min, m_max - std::max(m_pageSize - 1, 0));
  if (clamped == m_position) return;
  m_position = clamped;
  ApplyToWindow();
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(WORD code, int trackPosition) {
  int large = m_pageSize > 0 ? m_pageSize : LargeChange;
  switch (code) {
    case SB_LINEUP: SetPosition(m_position - SmallChange); break;
    case SB_LINEDOWN: SetPosition(m_position + SmallChange); break;
    case SB_PAGEUP: SetPosition(m_position - large); break;
    case SB_PAGEDOWN: SetPosition(m_position + large); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetPosition(trackPosition); break;
    case SB_TOP: SetPosition(m_min); break;
    case SB_BOTTOM: SetPosition(m_max); break;
    default: break;
  }
}

void TScrollBar::Dispatch(TMessage& m) {
  if (m.Msg == CN_BASE + WM_HSCROLL || m.Msg == CN_BASE + WM_VSCROLL) {
    WORD code = LOWORD(m.WParam);
    int track = m_position;
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
      // The 16-bit position of the message would cut large ranges.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      track = GetScrollInfo(Handle(), SB_CTL, &si) ? si.nTrackPos : HIWORD(m.WParam);
    }
    Scroll(code, track);
    m.Result = 0;
    return;
  }
  TWinControl::Dispatch(m);
}

TPropValue TScrollBar::GetProperty(std::string_view name) const {
  if (name == "Kind")
    return TEnumName{Kind == TScrollBarKind::sbVertical ? "sbVertical" : "sbHorizontal"};
  if (name == "Min") return std::int64_t{m_min};
  if (name == "Max") return std::int64_t{m_max};
  if (name == "PageSize") return std::int64_t{m_pageSize};
  if (name == "Position") return std::int64_t{m_position};
  return TWinControl::GetProperty(name);
}

// ---------------------------------------------------------------- TListView

TListView::TListView(TComponent* owner) : TCustomListView(owner) {
  m_width = 250;
  m_height = 150;
  SetColor(clWindow);
}

void TListView::CreateParams(TCreateParams& p) {
  EnsureDataControlClasses();
  TWinControl::CreateParams(p);
  p.baseClass = WC_LISTVIEWA;
  p.style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListView::WindowCreated() {
  ApplyColumns();
  ApplyRows();
}

void TListView::SetColumns(const std::vector<TListColumn>& columns) {
  m_columns = columns;
  if (HandleAllocated()) ApplyColumns();
}

void TListView::SetRows(const std::vector<std::vector<std::string>>& rows) {
  m_rows = rows;
  if (HandleAllocated()) ApplyRows();
}

void TListView::ApplyColumns() {
  HWND w = Handle();
  while (SendMessageA(w, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(m_columns[i].caption.c_str());
    column.cx = m_columns[i].width;
    column.iSubItem = static_cast<int>(i);
    SendMessageA(w, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void TListView::ApplyRows() {
  HWND w = Handle();
  SendMessageA(w, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t row = 0; row < m_rows.size(); ++row) {
    for (std::size_t col = 0; col < m_rows[row].size(); ++col) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(row);
      item.iSubItem = static_cast<int>(col);
      item.pszText = const_cast<char*>(m_rows[row][col].c_str());
      SendMessageA(w, col == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, row,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
}

// ---------------------------------------------------------------- TDateTimePicker

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  m_width = 186;
  m_height = 21;
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
  EnsureDataControlClasses();
  TWinControl::CreateParams(p);
  p.baseClass = DATETIMEPICK_CLASSA;
  p.style |= WS_TABSTOP;
  if (Kind == TDateTimeKind::dtkTime)
    p.style |= DTS_TIMEFORMAT;
  else if (DateMode == TDTDateMode::dmUpDown)
    p.style |= DTS_UPDOWN;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

TPropValue TDateTimePicker::GetProperty(std::string_view name) const {
  if (name == "Kind") return TEnumName{Kind == TDateTimeKind::dtkTime ? "dtkTime" : "dtkDate"};
  if (name == "DateMode")
    return TEnumName{DateMode == TDTDateMode::dmUpDown ? "dmUpDown" : "dmComboBox"};
  return TWinControl::GetProperty(name);
}

}  // namespace corvane
