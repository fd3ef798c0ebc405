// Controls: graphic controls painted by their parent (TControl) and controls
// with a window of their own (TWinControl). Every message travels
//   window procedure -> MainWndProc -> WindowProc -> WndProc -> Dispatch -> DefaultHandler
// and both the window procedure and WindowProc may be taken over and put
// back in any order (the skin engine does both).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/DpiScale.h"
#include "core/Geometry.h"
#include "framework/Classes.h"
#include "platform/Handles.h"
#include "framework/Messages.h"

namespace corvane {

class TWinControl;
class TPopupMenu;

// Colours: 0x00BBGGRR, or a system colour index with the high bit set.
constexpr Colour clSystemColor = static_cast<Colour>(0x80000000u);
constexpr Colour clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr Colour clWindow = clSystemColor | COLOR_WINDOW;
constexpr Colour clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr Colour clWhite = 0xFFFFFF;
constexpr Colour clBlack = 0;
// The concrete colour of a colour value (system colours looked up now).
COLORREF ColorToRGB(Colour c);

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// Shift state bits: which keys and buttons were down.
enum TShiftFlag : unsigned {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = unsigned;
TShiftState ShiftFromKeys(WPARAM mouseKeys);
TShiftState KeyboardShift();

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;

// The font a windowed control hands to its window. Height is designed (in
// 96-DPI pixels, negative for the character height); the window gets it
// scaled to its DPI.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  Colour Color = clWindowText;
  bool Bold = false;
  friend bool operator==(const TFont&, const TFont&) = default;
};
// The font made for a DPI; the caller owns it.
UniqueFont MakeFont(const TFont& font, int dpi);

class TControl : public TComponent {
  CORVANE_CLASS(TControl, TComponent)

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // The control's message handler. Replace it to take the control over; keep
  // the previous value and put it back to give it up. Defaults to WndProc.
  std::function<void(TMessage&)> WindowProc;
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  TWinControl* Parent() const { return m_parent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  Rect BoundsRect() const { return Rect::FromSize(m_left, m_top, m_width, m_height); }
  void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
  void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
  void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
  void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
  // Moves and sizes the control, in pixels at its DPI; with AutoSize on the
  // size comes from CanAutoSize.
  virtual void SetBounds(int left, int top, int width, int height);

  // The DPI the control's pixels are at (its form's; 96 until the form's
  // window knows its monitor).
  int Dpi() const { return m_dpi; }
  // The bounds in 96-DPI pixels, as designed or as last set: what the
  // bounds are scaled from at every DPI.
  // Until bounds are first set they are the bounds themselves (constructors
  // set the fields).
  Rect DesignedBounds() const { return m_designedKnown ? m_designed : BoundsRect(); }
  // A designed length in pixels at the control's DPI.
  int Scaled(int designed) const { return ScaleToDpi(designed, m_dpi); }
  // Takes the control to another DPI: its bounds (and, for windowed
  // controls, its font and its children) from their designed values.
  virtual void ChangeDpi(int dpi);

  bool Visible() const { return m_visible; }
  void SetVisible(bool v);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool v);
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool v);
  Colour Color() const { return m_color; }
  void SetColor(Colour c);
  const std::string& Caption() const { return m_caption; }
  virtual void SetCaption(const std::string& text);

  std::string Hint;
  TPopupMenu* PopupMenu = nullptr;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // Runs the control's click and mouse-press handling as a user's click and
  // press would: for skins that take a control's mouse input over.
  void PerformClick() { Click(); }
  void PerformMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    MouseDown(button, shift, x, y);
  }

  // True when the control needs CM_MOUSELEAVE as the mouse leaves its
  // window (a hover look, an enter/leave event). Only then does the window
  // ask the system for its mouse-leave notice: under Wine that request is
  // checked on a system timer for as long as the mouse rests over the
  // window, so asking for every window would wake a resting launcher.
  // Moves between controls of one window give enter and leave either way.
  virtual bool WantsMouseLeave() const { return false; }

  // Repaints the control's area (graphic controls: the parent's window).
  virtual void Invalidate();
  // Invalidates and paints at once.
  void Repaint();
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  // The framework's behaviour: mouse messages become events, CM_ messages
  // are answered; then the per-class Dispatch.
  virtual void WndProc(TMessage& m);
  // Handlers by message number; unhandled ones go to DefaultHandler.
  virtual void Dispatch(TMessage& m);
  // What happens when nobody handles a message (windowed: the class's
  // original procedure).
  virtual void DefaultHandler(TMessage& m);
  // Mouse press handling; overrides call the base to raise OnMouseDown.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();
  // The size AutoSize gives; false keeps the requested size.
  virtual bool CanAutoSize(int& width, int& height);
  // Re-applies AutoSize at the current position.
  void AdjustSize();
  // Takes new pixel bounds into the fields and the designed bounds.
  void StoreBounds(int left, int top, int width, int height);
  // Moves to dpi and takes the bounds from the design (keepPlace: only the
  // size, for windows placed in screen pixels).
  void ScaleBoundsFromDesign(int dpi, bool keepPlace);
  // After ChangeDpi set the bounds: a control with designed values of its
  // own (an item height) scales them here.
  virtual void DpiChanged() {}
  // The parent's client area changed size (a control docked to an edge
  // follows it).
  virtual void ParentResized() {}

  int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
  int m_dpi = kDesignDpi;
  Rect m_designed;
  bool m_designedKnown = false;

 private:
  friend class TWinControl;
  bool HandleMouseMessage(TMessage& m);

  TWinControl* m_parent = nullptr;
  bool m_visible = true;
  bool m_enabled = true;
  bool m_autoSize = false;
  Colour m_color = clBtnFace;
  std::string m_caption;
};

// A control without a window, painted by its parent on the parent's DC.
class TGraphicControl : public TControl {
  CORVANE_CLASS(TGraphicControl, TControl)

 public:
  using TControl::TControl;

 protected:
  // Draws onto dc, whose origin is the control's top-left corner.
  virtual void Paint(HDC dc);
  void Dispatch(TMessage& m) override;
};

// How a windowed control asks for its window.
struct TCreateParams {
  std::string caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
  // A system class to build on ("BUTTON", "EDIT"...); empty for a plain window.
  std::string baseClass;
  UINT classStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
  CORVANE_CLASS(TWinControl, TControl)

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, created on first use.
  HWND Handle();
  bool HandleAllocated() const { return m_handle != nullptr; }
  // Destroys the window (the object stays; Handle() makes a new one).
  void DestroyHandle();
  // Makes the window again (a style that only takes effect at creation
  // changed), children included, and then tells the control's handler chain
  // with CM_RECREATEWND. Nothing happens before the window exists.
  void RecreateWnd();

  int ControlCount() const { return static_cast<int>(m_controls.size()); }
  TControl* Controls(int index) const { return m_controls.at(index); }
  // The visible graphic child under a client point, topmost first.
  TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;

  TFont Font;
  bool ParentFont = true;
  // Applies a changed Font to the window.
  void FontChanged();

  void SetBounds(int left, int top, int width, int height) override;
  void ChangeDpi(int dpi) override;
  void SetCaption(const std::string& text) override;
  void Invalidate() override;
  int ClientWidth();
  int ClientHeight();
  // The client area's size in pixels at the control's DPI; a top-level
  // window keeps it as its designed client size at every DPI. Before the
  // window exists the frame its style gives is assumed (the window is not
  // made for it).
  void SetClientSize(int width, int height);
  void SetFocus();

  TKeyEvent OnKeyDown;

  // Paints the visible graphic children (labels, images) onto dc, whose
  // origin is this control's client origin: after the control's own
  // painting, by whoever painted it (a skin too).
  void PaintControls(HDC dc);

  // The procedure that was in place before ours (the system class's own, or
  // DefWindowProc); the end of every handler chain.
  WNDPROC DefWndProc() const { return m_defWndProc; }

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  // Called once the window exists, before any child window is made.
  virtual void WindowCreated() {}
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  // Draws the window's own content before its graphic children are painted.
  virtual void PaintWindow(HDC dc);
  virtual void KeyDown(WORD& key, TShiftState shift);
  // Called after a child's bounds changed (AutoSize follows its children).
  virtual void ChildBoundsChanged();
  HBRUSH BackgroundBrush();
  // Gives the window its designed client size at its DPI, if it has one.
  void ApplyDesignedClientSize();
  bool HasDesignedClientSize() const { return m_designedClient.width > 0 && m_designedClient.height > 0; }

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  // Guards the chain: an exception from a handler is shown, not propagated
  // into the system's dispatch.
  LRESULT MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void Bind(HWND window);
  void Unbind();
  // Unbinds this window and every windowed child's, so destroying the
  // window reaches none of them; their objects make new ones later.
  void UnbindTree();
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void TrackMouse(TControl* target);
  bool ReflectToChild(TMessage& m);
  void OnPaint(TMessage& m);
  void OnContextMenu(TMessage& m);
  void OnWindowPosChanged(const WINDOWPOS& pos);

  HWND m_handle = nullptr;
  WNDPROC m_defWndProc = DefWindowProcA;
  std::vector<TControl*> m_controls;
  TControl* m_captureControl = nullptr;
  bool m_trackingLeave = false;

  Size m_designedClient{};
  UniqueFont m_font;
  UniqueBrush m_brush;
  Colour m_brushColour = 0;
};

// The framework object behind a window, or nullptr for any other window.
TWinControl* ControlOfWindow(HWND window);

// The DPI a window is drawn at: a framework control's own (its form's, as
// the last WM_DPICHANGED gave it), a framework form's for the windows
// inside it, else what the system reports for the window.
int DpiOfWindow(HWND window);

// A system metric (SM_*) at the DPI the window is drawn at: the system's own
// parts of a window on a second monitor (scroll arrows, combo buttons) have
// that monitor's sizes, not the primary's.
int SystemMetricOfWindow(int index, HWND window);

// A window's class name, read up to 100 characters as the skin rules compare it.
std::string WindowClassName(HWND window);

// Registers the system's common-control classes of flags (ICC_*) once,
// on first use, so a program pays for a class only when it makes one.
void EnsureCommonControlClasses(DWORD flags);

// Registers one of the framework's own window classes (application window,
// popup-menu router, picture preview) the first time it is needed.
void RegisterPrivateClass(const char* className, WNDPROC procedure, HCURSOR cursor = nullptr);

}  // namespace corvane
