#include "framework/ComCtrls.h"

#include <commctrl.h>

#include "framework/ImgList.h"

namespace corvane {

namespace {

void EnsureCommonControls() { EnsureCommonControlClasses(ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES); }

}  // namespace

TStatusBar::TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {
  m_width = 200;
  m_height = 19;
}

void TStatusBar::CreateParams(TCreateParams& p) {
  EnsureCommonControls();
  TWinControl::CreateParams(p);
  p.baseClass = STATUSCLASSNAMEA;
  // The framework places the bar; the control must not move itself on every
  // parent resize to a height of its own choosing.
  p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_BOTTOM;
  if (SizeGrip) p.style |= SBARS_SIZEGRIP;
}

void TStatusBar::ParentResized() {
  if (m_alignHeight > 0) AlignBottom(m_alignHeight);
}

void TStatusBar::DpiChanged() { ParentResized(); }

void TStatusBar::WindowCreated() {
  ApplyPanels();
  // The simple text never lands in a panel.
  if (SimplePanel || m_panels.empty())
    SendMessageA(Handle(), SB_SETTEXTA, SimplePanel ? SB_SIMPLEID : 0,
                 reinterpret_cast<LPARAM>(m_simpleText.c_str()));
  if (m_alignHeight > 0) AlignBottom(m_alignHeight);
  if (AutoHint) m_mouseWatch.Start([this](const MSG& msg) { OnMouseMessage(msg); });
}

void TStatusBar::SetSimpleText(const std::string& text) {
  if (text == m_simpleText) return;
  m_simpleText = text;
  if (HandleAllocated() && (SimplePanel || m_panels.empty()))
    SendMessageA(Handle(), SB_SETTEXTA, SimplePanel ? SB_SIMPLEID : 0,
                 reinterpret_cast<LPARAM>(m_simpleText.c_str()));
}

void TStatusBar::SetPanels(std::vector<TStatusPanel> panels) {
  m_panels = std::move(panels);
  ApplyPanels();
}

void TStatusBar::SetSimplePanel(bool simple) {
  SimplePanel = simple;
  ApplyPanels();
}

void TStatusBar::ApplyPanels() {
  if (!HandleAllocated()) return;
  HWND bar = Handle();
  SendMessageA(bar, SB_SIMPLE, SimplePanel || m_panels.empty() ? TRUE : FALSE, 0);
  if (m_panels.empty()) return;
  std::vector<int> rights;
  int right = 0;
  for (const TStatusPanel& panel : m_panels) rights.push_back(right += panel.Width);
  rights.back() = -1;
  SendMessageA(bar, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  for (std::size_t i = 0; i < m_panels.size(); ++i) {
    const TStatusPanel& panel = m_panels[i];
    // Tabs in front centre or right-align the text, as the control reads them.
    std::string text = (panel.Alignment == TAlignment::taCenter ? "\t"
                        : panel.Alignment == TAlignment::taRightJustify ? "\t\t" : "") + panel.Text;
    WPARAM bevel = panel.Bevel == TStatusPanelBevel::pbRaised ? SBT_POPOUT
                   : panel.Bevel == TStatusPanelBevel::pbNone ? SBT_NOBORDERS : 0;
    SendMessageA(bar, SB_SETTEXTA, i | bevel, reinterpret_cast<LPARAM>(text.c_str()));
  }
  InvalidateRect(bar, nullptr, TRUE);
}

TPropValue TStatusBar::GetProperty(std::string_view name) const {
  if (name == "SimplePanel") return std::int64_t{SimplePanel};
  if (name == "SimpleText") return m_simpleText;
  return TCustomStatusBar::GetProperty(name);
}

void TStatusBar::AlignBottom(int height) {
  m_alignHeight = height;
  if (!Parent() || !Parent()->HandleAllocated()) return;
  RECT client{};
  GetClientRect(Parent()->Handle(), &client);
  SetBounds(0, client.bottom - Scaled(height), client.right, Scaled(height));
}

std::string TStatusBar::HintAt(POINT screen) {
  if (!HandleAllocated()) return {};
  HWND hit = WindowFromPoint(screen);
  if (!hit || GetAncestor(hit, GA_ROOT) != GetAncestor(Handle(), GA_ROOT)) return {};
  TWinControl* windowed = nullptr;
  for (HWND w = hit; w && !windowed; w = GetParent(w)) windowed = ControlOfWindow(w);
  if (!windowed) return {};
  TControl* control = windowed;
  POINT client = screen;
  ::ScreenToClient(windowed->Handle(), &client);
  if (TControl* graphic = windowed->ControlAtPos(client)) control = graphic;
  for (; control; control = control->Parent())
    if (!control->Hint.empty()) return control->Hint;
  return {};
}

void TStatusBar::OnMouseMessage(const MSG& msg) {
  if (!AutoHint || !HandleAllocated()) return;
  // The mouse may reach a control from outside the form or from a window of
  // the system's classes, and leave the form from any of them: every window
  // of the bar's form the mouse moves over is asked for its leave notice, so
  // the hint goes when the mouse leaves the form, whatever window it left.
  const bool move = msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE;
  if (move && msg.hwnd && GetAncestor(msg.hwnd, GA_ROOT) == GetAncestor(Handle(), GA_ROOT))
    NotifyMouseLeave(msg.hwnd, msg.message == WM_NCMOUSEMOVE);
  FollowMouse();
}

void TStatusBar::FollowMouse() {
  if (!AutoHint || !HandleAllocated() || !IsWindowVisible(Handle())) return;
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  SetSimpleText(HintAt(cursor));
}

// ---------------------------------------------------------------- THeaderControl

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner) {
  m_width = 200;
  m_height = 17;
}

void THeaderControl::CreateParams(TCreateParams& p) {
  EnsureCommonControls();
  TWinControl::CreateParams(p);
  p.baseClass = WC_HEADERA;
  p.style |= HDS_HORZ | HDS_BUTTONS | HDS_HOTTRACK;
}

void THeaderControl::WindowCreated() {
  SendMessageA(Handle(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images ? m_images->Handle() : nullptr));
  ApplySections();
}

void THeaderControl::SetSections(std::vector<THeaderSection> sections) {
  m_sections = std::move(sections);
  ApplySections();
}

void THeaderControl::SetImages(TImageList* images) {
  m_images = images;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
  ApplySections();
}

void THeaderControl::ApplySections() {
  if (!HandleAllocated()) return;
  HWND header = Handle();
  while (SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageA(header, HDM_DELETEITEM, 0, 0);
  for (std::size_t i = 0; i < m_sections.size(); ++i) {
    const THeaderSection& section = m_sections[i];
    const bool ownerDrawn = section.Style == THeaderSectionStyle::hsOwnerDraw;
    const bool image = section.ImageIndex >= 0 && m_images;
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
    item.cxy = section.Width;
    item.pszText = const_cast<char*>(section.Text.c_str());
    item.lParam = static_cast<LPARAM>(i);
    const int align = section.Alignment == TAlignment::taCenter         ? HDF_CENTER
                      : section.Alignment == TAlignment::taRightJustify ? HDF_RIGHT
                                                                        : HDF_LEFT;
    item.fmt = align | (ownerDrawn ? HDF_OWNERDRAW : HDF_STRING);
    // An image index makes the system show the image (it adds HDF_IMAGE
    // itself), so only a section with an image gives one.
    if (image) {
      item.mask |= HDI_IMAGE;
      item.iImage = section.ImageIndex;
    }
    SendMessageA(header, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    if (ownerDrawn && image) {
      // An owner-drawn section is its owner's alone: the index stays for
      // whoever paints it, the system draws no image of its own.
      HDITEMA format{};
      format.mask = HDI_FORMAT;
      format.fmt = align | HDF_OWNERDRAW;
      SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&format));
    }
  }
}

void THeaderControl::Dispatch(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    int index = static_cast<int>(item.itemID);
    if (OnDrawSection && index >= 0 && index < static_cast<int>(m_sections.size()))
      OnDrawSection(*this, index, item.hDC, item.rcItem, (item.itemState & ODS_SELECTED) != 0);
    m.Result = 1;
    return;
  }
  TWinControl::Dispatch(m);
}

TPropValue THeaderControl::GetProperty(std::string_view name) const {
  if (name == "Images") return static_cast<TComponent*>(m_images);
  if (name == "SectionCount") return static_cast<std::int64_t>(m_sections.size());
  return TWinControl::GetProperty(name);
}

}  // namespace corvane
