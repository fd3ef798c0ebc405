// The control skinning base (TSkinControl): one object sits on one control,
// sees its messages before and after the control's own handling, and paints
// the control again from the skin's pictures. It attaches either to a
// framework control (through its replaceable WindowProc) or to a bare window
// (through the window's subclass chain), and gives back whatever it took
// when it is restored or freed. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Subclass.h"

namespace corvane {

class TSkinData;
class TWinSkinForm;
class SkinDefinition;
class OffscreenSurface;
struct TDataSkinObject;

// State values of a control skin.
enum TSkinControlState : int {
  kSkinCreated = 0,
  kSkinAttached = 1,
  kSkinRestored = 2,
  kSkinWindowGone = 6
};

// Named properties of any framework control, as the skins read them: an
// integer (booleans are 0 or 1) or -1 when absent or of another kind; text
// of a string or enumeration property (a boolean reads "true" or "false"),
// empty when absent; whether a property reads "true".
std::int64_t PropertyInt(const TComponent* component, std::string_view name);
std::string PropertyText(const TComponent* component, std::string_view name);
// The object an object property holds; nullptr when none or absent.
TComponent* PropertyObject(const TComponent* component, std::string_view name);
bool PropertyIsTrue(const TComponent* component, std::string_view name);
bool HasProperty(const TComponent* component, std::string_view name);
// Writes a property from text by the kind it has now (integer, enumeration
// or text; "True"/"False" for booleans); false when it has no such property.
bool SetPropertyText(TComponent* component, std::string_view name, const std::string& text);

class TSkinControl : public TComponent {
  CORVANE_CLASS(TSkinControl, TComponent)

 public:
  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  // Takes over the owner (a framework control). setsColour: the control gets
  // the skin's face colour while skinned. A second attach does nothing.
  virtual void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour);
  // Takes over a bare window (a system dialog's child).
  virtual void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin);
  // Switches the skin off and gives the control its colours back.
  virtual void Restore();
  // The skin was reloaded: colours again, and a repaint.
  virtual void SkinChanged();
  // Paints the whole window rectangle, into dc when given, else the window's DC.
  virtual void PaintWindow(HDC dc);
  virtual bool HoverEnabled() const { return true; }

  // The replacement message handler.
  void HandleMessage(TMessage& m);
  // The handler or procedure that was in place before the skin.
  void CallOldHandler(TMessage& m);
  // Invalidates and repaints at once (or invalidates PaintTarget).
  void Repaint();

  HWND Handle() const;

  // A control's off-screen picture, kept between paints and remade only
  // when the size changes (also for the skins' own small windows).
  static OffscreenSurface& BufferOfSize(std::unique_ptr<OffscreenSurface>& buffer, Size size);
  TControl* Control() const { return m_control; }
  TWinSkinForm* FormSkin() const { return m_formSkin; }
  TSkinData* SkinData() const { return m_skinData; }
  // The DPI the control is drawn at, and the skin at that DPI.
  int Dpi() const;
  const SkinDefinition& Skin() const;
  bool SkinOn() const { return m_skinOn; }
  int State() const { return m_state; }
  int Mode() const { return m_mode; }
  // The drawing variant, chosen by the rules before attaching (each skin
  // says what its modes mean).
  void SetMode(int mode) { m_mode = mode; }
  unsigned MouseState() const { return m_mouseState; }
  bool ParentBackgroundTaken() const { return m_parentBackgroundTaken; }

 protected:
  // Before the old handler: true passes the message on, false consumes it
  // (its result is what this put into m.Result).
  virtual bool BeforeMessage(TMessage& m);
  // After the old handler ran.
  virtual void AfterMessage(TMessage& m);
  // Draws the skin into dc over r (the window rectangle moved to the origin).
  virtual void Paint(HDC dc, const RECT& r);

  // The control attach; takeMessages false only registers and sets colours
  // (containers that are coloured, never painted).
  void AttachControlTo(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour,
                       bool takeMessages);
  // Runs the old handler for a message after which the system draws the
  // control at once (state, check, focus and text changes), with the
  // window's drawing switched off meanwhile; the caller paints the skin
  // afterwards. This keeps the system's look from flashing up.
  void CallOldHandlerQuietly(TMessage& m);
  // Messages CallOldHandlerQuietly is for.
  static bool DrawsAtOnce(UINT msg);

  // Answers WM_PAINT or WM_PRINTCLIENT with Paint over the whole window:
  // on the DC in wParam, or between BeginPaint and EndPaint.
  void PaintMessage(TMessage& m);
  // Takes the window's painting over: WM_PAINT and WM_PRINTCLIENT through
  // PaintMessage, background erasing answered as done. True when m was one
  // of them (the old handler must not see it).
  bool TakePaintMessage(TMessage& m);
  // One blit of a control's picture to the screen.
  static void PutOnScreen(HDC dc, const RECT& r, const OffscreenSurface& picture);

  // Drawing helpers.
  void FillFace(HDC dc, const RECT& r) const;
  void FillParentColour(HDC dc, const RECT& r) const;
  static void FillColour(HDC dc, const RECT& r, Colour colour);
  // One cell of element stretched over r by its margins, magenta keyed when
  // the element is transparent; false when the element has no picture.
  static bool DrawElementCell(HDC dc, const RECT& r, const TDataSkinObject& element, int frames,
                              int index);
  // A focus rectangle around Text as drawn in r with flags.
  void DrawFocusAroundText(HDC dc, unsigned flags, const RECT& r);
  // flags plus DT_RTLREADING when the control reads right to left.
  unsigned TextFlags(unsigned flags) const;
  static std::wstring ReadWindowText(HWND window);
  // The parent's picture under the control (framework controls), or the
  // parent's colour (bare windows).
  void DrawParentUnder(HDC dc, const RECT& r) const;
  // Mouse-state changes that repaint.
  void SetMouseBits(unsigned bits, bool on);
  bool IsEnabledNow() const;
  bool HasFocusNow() const;
  Colour SkinColour(int index) const;

  unsigned m_mouseState = 0;
  bool m_enabled = true;
  bool m_focused = false;
  std::wstring m_text;
  bool m_unicode = false;
  TControl* m_paintTarget = nullptr;
  RECT m_windowRect{};
  int m_mode = 0;
  int m_state = kSkinCreated;
  TSkinData* m_skinData = nullptr;
  TWinSkinForm* m_formSkin = nullptr;

 private:
  void TakeParentBackground();
  void GiveParentBackground();
  void RegisterWithFormSkin(TWinSkinForm* formSkin);
  void SetTheme(bool off);

  HWND m_window = nullptr;
  TControl* m_control = nullptr;
  bool m_skinOn = true;
  bool m_attached = false;
  bool m_setsColour = false;
  Colour m_savedColour = 0;
  bool m_parentBackgroundTaken = false;
  bool m_themeOff = false;
  int m_quietDepth = 0;
  ControlProcHook m_controlHook;
  WindowSubclass m_windowSubclass;
  // Cleared when the object dies, so a handler that freed it (a click that
  // closes a form) is not followed by work on freed members.
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace corvane
