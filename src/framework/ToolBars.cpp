#include "framework/ToolBars.h"

#include <algorithm>

#include "framework/ImgList.h"
#include "framework/Menus.h"

namespace corvane {

// ================================================================ TToolBar

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  m_width = 150;
  m_height = 29;
}

void TToolBar::CreateParams(TCreateParams& p) {
  EnsureCommonControlClasses(ICC_BAR_CLASSES);
  TWinControl::CreateParams(p);
  p.baseClass = TOOLBARCLASSNAMEA;
  // The bar stays where it was put: no parent resizing, no divider line.
  p.style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
  if (m_flat) p.style |= TBSTYLE_FLAT;
}

void TToolBar::WindowCreated() {
  HWND w = Handle();
  SendMessageA(w, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(w, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendMessageA(w, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images ? m_images->Handle() : nullptr));
  for (int i = 0; i < ButtonCount(); ++i) InsertIntoWindow(i);
}

void TToolBar::SetImages(TImageList* images) {
  m_images = images;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
  Invalidate();
}

void TToolBar::SetFlat(bool flat) {
  if (flat == m_flat) return;
  m_flat = flat;
  if (!HandleAllocated()) return;
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  SetWindowLongA(Handle(), GWL_STYLE, flat ? style | TBSTYLE_FLAT : style & ~TBSTYLE_FLAT);
  Invalidate();
}

int TToolBar::AddButton(const std::string& caption, int imageIndex, TToolButtonStyle style,
                        TPopupMenu* menu, TNotifyEvent onClick) {
  m_buttons.push_back({caption, imageIndex, style, menu, std::move(onClick), true});
  int index = ButtonCount() - 1;
  if (HandleAllocated()) InsertIntoWindow(index);
  return index;
}

void TToolBar::InsertIntoWindow(int index) {
  const Button& b = m_buttons[static_cast<std::size_t>(index)];
  TBBUTTON button{};
  button.idCommand = kFirstCommand + index;
  button.fsState = b.enabled ? TBSTATE_ENABLED : 0;
  button.iBitmap = b.imageIndex >= 0 ? b.imageIndex : I_IMAGENONE;
  switch (b.style) {
    case TToolButtonStyle::tbsSeparator:
      button.fsStyle = BTNS_SEP;
      button.iBitmap = 6;  // the separator's width
      break;
    case TToolButtonStyle::tbsDropDown:
      button.fsStyle = BTNS_DROPDOWN;
      break;
    case TToolButtonStyle::tbsMenuButton:
      button.fsStyle = BTNS_WHOLEDROPDOWN;
      break;
    case TToolButtonStyle::tbsButton:
      button.fsStyle = BTNS_BUTTON;
      break;
  }
  if (b.style != TToolButtonStyle::tbsSeparator && !b.caption.empty()) {
    button.fsStyle |= BTNS_SHOWTEXT | BTNS_AUTOSIZE;
    button.iString = reinterpret_cast<INT_PTR>(b.caption.c_str());
  }
  SendMessageA(Handle(), TB_INSERTBUTTONA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
}

RECT TToolBar::ButtonRect(int index) {
  RECT r{};
  if (HandleAllocated() && index >= 0 && index < ButtonCount())
    SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TToolBar::SetButtonEnabled(int index, bool enabled) {
  m_buttons.at(static_cast<std::size_t>(index)).enabled = enabled;
  if (HandleAllocated()) SendMessageA(Handle(), TB_ENABLEBUTTON, kFirstCommand + index, MAKELONG(enabled, 0));
}

void TToolBar::ClickButton(int index) {
  if (index < 0 || index >= ButtonCount()) return;
  const Button& b = m_buttons[static_cast<std::size_t>(index)];
  if (!b.enabled) return;
  if (b.style == TToolButtonStyle::tbsMenuButton) {
    OpenMenu(index);
    return;
  }
  if (b.style != TToolButtonStyle::tbsSeparator && b.onClick) b.onClick(this);
}

void TToolBar::OpenMenu(int index) {
  TPopupMenu* menu = m_buttons[static_cast<std::size_t>(index)].menu;
  if (!menu) return;
  RECT r = ButtonRect(index);
  POINT below{r.left, r.bottom};
  ::ClientToScreen(Handle(), &below);
  // The button stays pressed while its menu is open, as a menu bar's item.
  SendMessageA(Handle(), TB_PRESSBUTTON, kFirstCommand + index, TRUE);
  menu->PopupComponent = this;
  menu->Popup(below.x, below.y);
  if (HandleAllocated()) SendMessageA(Handle(), TB_PRESSBUTTON, kFirstCommand + index, FALSE);
}

LRESULT TToolBar::OnCustomDrawNotice(NMTBCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      if (OnCustomDraw) OnCustomDraw(this, draw.nmcd.hdc, draw.nmcd.rc);
      return OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT:
      if (OnCustomDrawButton && OnCustomDrawButton(this, draw.nmcd.hdc, draw.nmcd.rc, draw.nmcd.uItemState))
        // The face is drawn: the bar adds image, caption and arrow only.
        return TBCDRF_NOEDGES | TBCDRF_NOOFFSET | TBCDRF_NOBACKGROUND;
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void TToolBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: {
      int index = static_cast<int>(LOWORD(m.WParam)) - kFirstCommand;
      if (index >= 0 && index < ButtonCount()) {
        ClickButton(index);
        return;
      }
      break;
    }
    case CN_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(m.LParam);
      if (header.code == NM_CUSTOMDRAW) {
        m.Result = OnCustomDrawNotice(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
        return;
      }
      if (header.code == TBN_DROPDOWN) {
        OpenMenu(reinterpret_cast<NMTOOLBARA*>(m.LParam)->iItem - kFirstCommand);
        m.Result = TBDDRET_DEFAULT;
        return;
      }
      break;
    }
    default:
      break;
  }
  TWinControl::Dispatch(m);
}

TPropValue TToolBar::GetProperty(std::string_view name) const {
  if (name == "Flat") return std::int64_t{m_flat};
  if (name == "Images") return static_cast<TComponent*>(m_images);
  if (name == "ButtonCount") return std::int64_t{ButtonCount()};
  return TWinControl::GetProperty(name);
}

bool TToolBar::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Flat") {
    auto v = PropInt(value);
    if (!v) return false;
    SetFlat(*v != 0);
    return true;
  }
  return TWinControl::SetProperty(name, value);
}

// ================================================================ TCoolBar

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner) {
  m_width = 150;
  m_height = 30;
}

void TCoolBar::CreateParams(TCreateParams& p) {
  EnsureCommonControlClasses(ICC_COOL_CLASSES);
  TWinControl::CreateParams(p);
  p.baseClass = REBARCLASSNAMEA;
  p.style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | RBS_VARHEIGHT | RBS_BANDBORDERS;
}

void TCoolBar::WindowCreated() {
  for (int i = 0; i < BandCount(); ++i) InsertIntoWindow(i);
}

int TCoolBar::AddBand(TWinControl& control, const std::string& text, int width) {
  m_bands.push_back({&control, text, width, clBtnFace});
  int index = BandCount() - 1;
  if (HandleAllocated()) InsertIntoWindow(index);
  return index;
}

void TCoolBar::InsertIntoWindow(int index) {
  Band& b = m_bands[static_cast<std::size_t>(index)];
  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_TEXT | RBBIM_COLORS;
  band.fStyle = RBBS_CHILDEDGE;
  band.hwndChild = b.control->Handle();
  band.cxMinChild = 0;
  band.cyMinChild = b.control->Height();
  band.cx = b.width > 0 ? b.width : b.control->Width() + 20;
  band.lpText = const_cast<char*>(b.text.c_str());
  band.clrFore = GetSysColor(COLOR_BTNTEXT);
  band.clrBack = ColorToRGB(b.color);
  SendMessageA(Handle(), RB_INSERTBANDA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
}

void TCoolBar::SetBandColor(int index, Colour color) {
  m_bands.at(static_cast<std::size_t>(index)).color = color;
  if (HandleAllocated()) ApplyColor(index);
}

void TCoolBar::ApplyColor(int index) {
  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_COLORS;
  band.clrFore = GetSysColor(COLOR_BTNTEXT);
  band.clrBack = ColorToRGB(m_bands[static_cast<std::size_t>(index)].color);
  SendMessageA(Handle(), RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
  InvalidateRect(Handle(), nullptr, TRUE);
}

TPropValue TCoolBar::GetProperty(std::string_view name) const {
  if (name == "BandCount") return std::int64_t{BandCount()};
  return TWinControl::GetProperty(name);
}

}  // namespace corvane
