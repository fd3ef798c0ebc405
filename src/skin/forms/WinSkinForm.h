// The form skinning object (TWinSkinForm): takes over one top-level window,
// gives it the skin's frame widths, paints frame and caption from the skin's
// pictures, shapes it with a region and keeps the system frame's behaviour
// (moving, hit testing, system commands). Windows only.
//
// Where is what (one class, one file per concern):
//   I want to ...                                  file
//   start, unskin, reload, size to the frame       WinSkinForm.cpp
//   know what happens to a message                 WinSkinFormMessages.cpp (table at its top)
//   change how the frame, caption, buttons,
//     region or tool bars are painted              WinSkinFormPaint.cpp
//   change hover, press, hints or button actions   WinSkinFormMouse.cpp
//   change the window menu, bare menu items or
//     the hosted menu bar                          WinSkinFormMenus.cpp
//   change the frame's numbers (widths, client,
//     hit test, caption text, region runs)         FrameGeometry.* (portable)
//   change which caption buttons show and where    CaptionButtons.* (portable)
//   change the hot/pressed machine                 NcObjects.* (portable)
//   change the flags shared with the manager       WinSkinManageBase.*
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "platform/Handles.h"
#include "framework/Subclass.h"
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/FrameGeometry.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/forms/WinSkinPopMenu.h"

namespace corvane {

class TSkinData;
class TForm;
class TMenu;
class TPopupMenu;
class TMenuItem;
class OffscreenSurface;

// What a form skin asks of the control skinning: the manager plugs the
// control rules in (skin/controls), so the form skin never includes them.
// The lists are the form skin's own list of control skins.
class TControlSkinning {
 public:
  virtual ~TControlSkinning() = default;
  // Frees the skins whose window is gone, then skins the controls of a
  // framework form (form set) or the child windows of a bare window.
  virtual void SkinControls(TWinSkinForm& formSkin, TSkinData& data, TForm* form, HWND window,
                            std::vector<TComponent*>& skins) = 0;
  // Skins one child window that appeared after the start (a size grip).
  virtual void SkinChildWindow(TWinSkinForm& formSkin, TSkinData& data, std::vector<TComponent*>& skins,
                               HWND child) = 0;
  // The skin changed: every live skin takes the new colours and repaints.
  virtual void SkinsChanged(const std::vector<TComponent*>& skins) = 0;
  // Frees every skin, restoring the live ones first when restore is set.
  virtual void ReleaseSkins(std::vector<TComponent*>& skins, bool restore) = 0;
  // A control re-created its window: the scroll-bar skin on window is
  // replaced by a fresh one of the same kind.
  virtual void ReskinScrollBars(TWinSkinForm& formSkin, TSkinData& data, std::vector<TComponent*>& skins,
                                HWND window) = 0;
};

// FrameState values.
enum TFrameState : int {
  kFrameWaiting = 0,
  kFrameActive = 1,
  kFrameRefreshing = 3,
  kFrameDestroying = 4,
  kFrameResizing = 5,
  kFrameDestroyed = 6,
};

class TWinSkinForm : public TComponent, public TWinSysButton::Painter {
  CORVANE_CLASS(TWinSkinForm, TComponent)

 public:
  explicit TWinSkinForm(TComponent* owner = nullptr);
  ~TWinSkinForm() override;

  // Set by the manager before the start.
  HWND Handle = nullptr;
  std::string WindowClass;
  int ModuleTag = 0;
  // The control skinning; without it the form skin skins no controls.
  TControlSkinning* ControlSkinning = nullptr;

  // Framework-form mode: the form's own message method is hooked too.
  void StartFormSkin(TSkinData* skinData, TForm* form);
  // Bare-window mode ("#32770" message boxes and other windows).
  void StartWindowSkin(TSkinData* skinData);
  // A menu a control of the form owns itself goes to the skin's menu
  // painting with the form's own menus, and back with them.
  void HandOverControlMenu(TMenu& menu);
  // Gives the window back its own frame, size, region and procedure.
  void Unskin();
  // Stops skinning, leaving size and region (the window is going away).
  void ReleaseSkin();
  // Border widths (and caption layout) from the current skin.
  void LoadFrameMetrics();
  // Re-applies colours and frame size after a skin change.
  void RefreshSkin();
  // Reloads the skin's pictures and repaints (the manager, after a new skin).
  void ReloadSkin();
  void ApplyRegion();
  void ClearRegion();
  // Makes the system ask for the frame size again and repaint it.
  void RecalcFrame();
  // Paints the whole skinned frame; into dc when given, else the window's DC.
  void RepaintNonClient(HDC dc = nullptr);
  // Window-relative point of a screen point.
  Point WindowPoint(int screenX, int screenY) const;
  // Control skins register here so unskinning frees them; true when it was
  // already registered.
  bool RegisterControlSkin(TComponent* skin);
  void UnregisterControlSkin(TComponent* skin);
  // After a skin change: every control skin takes the new skin, and
  // controls added since the start are skinned.
  void RefreshControlSkins();
  // A child window that appeared after the start (a size grip).
  void SkinChildWindow(HWND child);
  const std::vector<TComponent*>& ControlSkins() const { return m_controlSkins; }

  // Tool-bar custom drawing, attached by the control rules to tool bars that
  // have no handlers of their own: the skin's tool-bar background stretched
  // over area, and a tool button of the given custom-draw state drawn from
  // the skin's Buttons picture (true when something was drawn).
  void ToolbarBackground(HDC dc, const RECT& area) const;
  bool ToolbarButton(HDC dc, const RECT& bounds, unsigned customDrawState) const;

  // The skin's own window menu at a screen point (the icon button, Alt+Space,
  // a right-click on the caption); a second opening within the double-click
  // time closes the window instead.
  void ShowSystemMenu(int screenX, int screenY);
  void MaximiseWindow();
  void MinimiseWindow();
  void RestoreWindow();
  // The menu the last ShowSystemMenu built (none before).
  TPopupMenu* SkinSystemMenu() const { return m_skinSystemMenu.get(); }
  const CaptionButtonList& Buttons() const { return m_captionButtons; }
  // The skinned menu bar (none when the window has no menu).
  TWinSkinMenu* MenuBar() const { return m_menuBar.get(); }
  // How often one caption button and the whole frame were painted.
  int ButtonPaints() const { return m_buttonPaints; }
  int FramePaints() const { return m_framePaints; }

  TSkinData* SkinData() const { return m_skinData; }
  // The DPI the window is skinned at, and the skin at that DPI.
  int Dpi() const { return m_dpi; }
  const SkinDefinition& Skin() const;
  TForm* Form() const { return m_form; }
  bool FrameSkinned() const { return m_frameSkinned; }
  int FrameState() const { return m_frameState; }
  WindowShowState WindowState() const { return m_windowState; }
  bool IsActive() const { return m_active != 0; }
  BorderKind Border() const { return m_class.border; }
  const FrameClass& Class() const { return m_class; }
  MdiKind Mdi() const { return m_mdiKind; }
  const FrameMetrics& Metrics() const { return m_metrics; }
  int MenuHeight() const { return m_menuHeight; }
  const Rect& TextRect() const { return m_textRect; }
  // How many times the window region was built (it is built once per size).
  int RegionBuilds() const { return m_regionBuilds; }
  bool RegionSet() const { return m_regionSet; }
  Size SystemFrameSize() const { return m_systemFrameSize; }
  HWND MdiClient() const { return m_mdiClient; }
  // An MDI frame whose active child is maximised: the child's buttons stand
  // in the frame's menu strip.
  bool ActiveMdiChildMaximised() const;
  // The left edge of the leftmost button drawn in the menu strip (a
  // maximised MDI child's), as last laid out; none while none shows.
  std::optional<int> MenuStripButtonsLeft() const;

 private:
  void CommonStart(TSkinData* skinData);
  void OnSkinStart();
  // Finds the window's controls and hands them to the control skins; the
  // control rules are an extension point of the control skinning.
  void SkinControls();
  void FreeControlSkins();
  void ResizeToSkinFrame(bool currentClient);
  void WidenMessageBox(int& width);
  void HideSysMenuBit();
  void RestoreSysMenuBit();
  bool IsMaximisedMdiChild() const;
  // Draws the buttons of the menu strip (a maximised MDI child's) over the
  // strip just painted, keeping the strip under them for state changes.
  void PaintMenuStripButtons(OffscreenSurface& picture, const Rect& strip);
  // The MDI client's procedure (MDI frames only): keeps the client's scroll
  // bars and its children's redraw in step with the skinned frame.
  LRESULT MdiClientProcedure(HWND client, UINT msg, WPARAM wParam, LPARAM lParam);
  void UpdateStateFromPlacement();

  // The dispatcher: every message of the window passes here.
  LRESULT WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  // The form hook in front of the framework form's own message method.
  void FormHook(TMessage& m);
  // Where an Alt+letter no item of this form's bar has goes on to.
  TForm* DialogCharTarget() const;
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcCalcSize(bool calcValid, LPARAM params, UINT msg, WPARAM wParam);
  LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnNcDestroy();
  // The window moves to another DPI: metrics, pictures and fonts of the
  // new DPI before the window takes its new size.
  void OnDpiChanged(int dpi);
  void PaintCaption(OffscreenSurface& picture, const Rect& caption);
  CaptionWindowFacts CaptionFacts() const;
  void PaintCaptionButtons(OffscreenSurface& picture);
  std::wstring CaptionText() const;

  // Caption buttons and their mouse handling.
  // One object per skin caption button, rebuilt when the skin's elements
  // were reloaded.
  void SyncCaptionButtons();
  void FreeCaptionButtons();
  void PaintCaptionButton(TWinSysButton& button) override;
  void ResetHover() override;
  void HoverStarted() override;
  TNCObject* ObjectAt(Point windowPoint);
  void RunAction(TWinSysButton& button, POINT screen);
  bool CloseAvailable() const;
  // The hint timer: the hint of the hot caption button shows, or goes.
  void OnHintTimer();
  void BuildSkinSystemMenu();
  void StopMouseTracking();
  LRESULT OnNcMouseMove(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonDblClk(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNcRButton(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMeasureMenuItem(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnDrawMenuItem(UINT msg, WPARAM wParam, LPARAM lParam);
  // The framework item of the menu bar's own menu with this command.
  TMenuItem* BarMenuItem(UINT command) const;
  void TakeMenuBar();
  void GiveMenuBarBack();
  void OpenMenuBarItem(TMenuBtn* item, bool byKeyboard);
  LRESULT OnMenuChanged(UINT msg, WPARAM wParam, LPARAM lParam);

  TSkinData* m_skinData = nullptr;
  int m_dpi = kDesignDpi;
  TForm* m_form = nullptr;
  WindowSubclass m_subclass;
  ControlProcHook m_formHook;
  WindowSubclass m_mdiClientSubclass;
  HWND m_mdiClient = nullptr;
  bool m_savedMenuUpdate = true;
  bool m_started = false;
  // Whether the window had a menu at the start: only then are bare menu
  // items measured and drawn here.
  bool m_hadMenu = false;
  // The menu that opened last (its items are measured from their text).
  HMENU m_activeMenu = nullptr;
  bool m_frameSkinned = false;
  int m_frameState = kFrameWaiting;
  WindowShowState m_windowState = WindowShowState::Normal;
  std::uint8_t m_active = 1;
  MdiKind m_mdiKind = MdiKind::Plain;
  FrameClass m_class;
  DWORD m_style = 0;
  FrameMetrics m_metrics;
  int m_menuHeight = 0;
  Rect m_savedClient;
  Size m_systemFrameSize;
  Size m_paintSize;
  Size m_regionSize;
  bool m_regionSet = false;
  int m_regionBuilds = 0;
  HMENU m_systemMenu = nullptr;
  Rect m_textRect;
  Colour m_savedColour = 0;
  bool m_hadSysMenuBit = false;
  std::unique_ptr<OffscreenSurface> m_framePicture;
  std::vector<TComponent*> m_controlSkins;
  // The form's popup menus while the skin paints them.
  SkinnedFormMenus m_menus;

  CaptionButtonList m_captionButtons;
  unsigned m_buttonsGeneration = 0;
  // A border composed from its picture depends only on its size, its cell
  // (active or not) and the skin at the window's DPI: kept from one frame
  // to the next, since composing the caption at every paint was most of a
  // frame's cost on a high-DPI display.
  struct ComposedBorder {
    Surface picture;
    Size size;
    int cell = 0;
    unsigned generation = 0;
    int dpi = 0;
  };
  enum BorderSide { kLeftSide, kRightSide, kBottomSide, kTopSide, kBorderSides };
  std::array<ComposedBorder, kBorderSides> m_composedBorders;
  const Surface& ComposedBorderPicture(BorderSide side, const TDataSkinBorder& border, Size size, bool stacked,
                                       int cell);
  // The caption strip as painted before its buttons: what a button that
  // changes state is drawn over.
  Surface m_captionBack;
  // The same for the menu strip's buttons: the strip as painted before them.
  Surface m_stripBack;
  Point m_stripOrigin;
  // Runs only from a caption button becoming hot until its hint went (the
  // mouse leaving is a message of its own): an idle window has no timer.
  WindowTimer m_hintTimer{0x534B4E43, kHoverInterval};
  bool m_hintShowing = false;
  std::unique_ptr<TPopupMenu> m_skinSystemMenu;
  std::unique_ptr<TWinSkinMenu> m_menuBar;
  // The client area while the window still showed its own menu bar: the
  // skinned frame keeps that size.
  std::optional<RECT> m_clientBeforeMenuBar;
  bool m_menuChangedWhileOpen = false;
  DWORD m_lastMenuClick = 0;
  UINT m_doubleClickTime = GetDoubleClickTime();
  int m_buttonPaints = 0;
  int m_framePaints = 0;
};

}  // namespace corvane
