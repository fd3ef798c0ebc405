#include "framework/Panels.h"
#include "platform/Text.h"

#include "framework/StdCtrls.h"

namespace corvane {

TPanel::TPanel(TComponent* owner) : TCustomPanel(owner) {
  m_width = 185;
  m_height = 41;
}

void TPanel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.exStyle |= WS_EX_CONTROLPARENT;
  p.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TPanel::PaintWindow(HDC dc) {
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, BackgroundBrush());
  if (BevelRaised) DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
  const std::string& text = Caption();
  if (text.empty()) return;
  UniqueFont font = MakeFont(Font, Dpi());
  SelectGuard select(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font.Color));
  DrawTextUtf8(dc, text, &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TPanel::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  TCustomPanel::Dispatch(m);
}

TPropValue TPanel::GetProperty(std::string_view name) const {
  if (name == "ParentBackground") return std::int64_t{ParentBackground};
  return TCustomPanel::GetProperty(name);
}

bool TPanel::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "ParentBackground") {
    auto i = PropInt(value);
    auto t = PropText(value);
    if (!i && !t) return false;
    ParentBackground = i ? *i != 0 : (*t == "True" || *t == "true");
    Invalidate();
    return true;
  }
  return TCustomPanel::SetProperty(name, value);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  m_width = 50;
  m_height = 50;
}

void TBevel::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace corvane
