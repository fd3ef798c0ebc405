// Forms, the application object and the screen: top-level windows owned by
// one hidden application window, the message loop, and the error box every
// exception escaping an event handler ends in.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"

namespace corvane {

class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// fsMDIForm: the form holds child forms in its client area (an MDI frame);
// fsMDIChild: the form lives inside the MDI frame that is the main form.
// Both are chosen before the form's window is made.
enum class TFormStyle { fsNormal, fsStayOnTop, fsMDIForm, fsMDIChild };
enum class TPosition { poDesigned, poScreenCenter };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

class TForm : public TWinControl {
  CORVANE_CLASS(TForm, TWinControl)

 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TFormBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TFormStyle FormStyle() const { return m_formStyle; }
  void SetFormStyle(TFormStyle style);
  unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition Position = TPosition::poDesigned;
  void SetClientWidth(int w) { SetClientSize(w, ClientHeightDesigned()); }
  void SetClientHeight(int h) { SetClientSize(ClientWidthDesigned(), h); }

  // An MDI frame's client window, which holds the child forms (none for
  // other forms).
  HWND ClientHandle() const { return m_mdiClient && IsWindow(m_mdiClient) ? m_mdiClient : nullptr; }
  // The frame's active child form, or nullptr.
  TForm* ActiveMDIChild() const;

  // The form's menu bar (not owned; usually one of the form's components).
  TMainMenu* Menu() const { return m_menu; }
  void SetMenu(TMainMenu* menu);

  void Show();
  void Hide();
  // Asks OnCloseQuery, then OnClose; the main form's close ends the program.
  void Close();
  bool CloseQuery();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;

  // Runs OnCreate; the application calls it once the form's designed
  // properties and components are in place.
  virtual void DoCreate();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& m) override;
  // MDI frames and children end their chains in the system's MDI handling.
  void DefaultHandler(TMessage& m) override;
  bool CanAutoSize(int& width, int& height) override;
  void ChildBoundsChanged() override;
  // Shows the menu bar; a form that needs more of its new window adds to it.
  void WindowCreated() override;
  void DpiChanged() override;

 private:
  // Rescales the form to the DPI a WM_DPICHANGED carries, at the place it
  // suggests.
  void OnDpiChanged(int dpi, const RECT& suggested);
  int ClientWidthDesigned();
  int ClientHeightDesigned();
  void ApplyStyle();
  // Gives the window the menu's current bar.
  void ShowMenuBar();

  TFormBorderStyle m_borderStyle = TFormBorderStyle::bsSizeable;
  TFormStyle m_formStyle = TFormStyle::fsNormal;
  bool m_centred = false;
  TMainMenu* m_menu = nullptr;
  HWND m_mdiClient = nullptr;
};

// The MDI frame among the living forms, or nullptr.
TForm* MDIFrameForm();

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& error)>;

class TApplication : public TComponent {
  CORVANE_CLASS(TApplication, TComponent)

 public:
  TApplication();
  ~TApplication() override;

  // Initialises COM for the main thread (single-threaded apartment).
  void Initialize();
  // The hidden top-level window that owns every form.
  HWND Handle() const { return m_handle.Get(); }
  const std::string& Title() const { return m_title; }
  void SetTitle(const std::string& title);
  // The application's icon: its window's (WM_SETICON), else the program's
  // first icon resource, loaded on first use; nullptr when it has none.
  HICON Icon(bool small) const;

  // Makes a form owned by the application, runs its Loaded and OnCreate; the
  // first one becomes the main form.
  template <typename T, typename... Args>
  T& CreateForm(Args&&... args) {
    T& form = Create<T>(std::forward<Args>(args)...);
    if (!m_mainForm) m_mainForm = &form;
    FinishCreation(form);
    return form;
  }
  TForm* MainForm() const { return m_mainForm; }
  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Runs work from the message loop, after what is already in the queue
  // (a form shown first, then work that need not delay it). Work queued
  // after the loop has ended never runs.
  void Queue(std::function<void()> work);
  // Runs the queued work; the application window calls it.
  void RunQueuedWork();
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return m_terminated; }

  // Shows an error in the error box captioned with the title, or hands it
  // to OnException when that is set.
  void HandleException(TObject* sender, const std::exception& error);
  void HandleUnknownException(TObject* sender);
  TExceptionEvent OnException;

  // The control the mouse is over, for CM_MOUSEENTER/CM_MOUSELEAVE.
  TControl* MouseControl() const { return m_mouseControl; }
  void SetMouseControl(TControl* c) { m_mouseControl = c; }

  // Milliseconds before a hint shows and before it goes again.
  int HintPause = 500;
  int HintHidePause = 2500;

  // A plain message box with OK, captioned with the title.
  int ShowMessageBox(const std::string& text, UINT flags = MB_OK);

 private:
  void FinishCreation(TForm& form);

  UniqueWindow m_handle;
  mutable UniqueIcon m_programIcon;
  mutable UniqueIcon m_programSmallIcon;
  mutable bool m_programIconRead = false;
  std::string m_title = "Corvane";
  TForm* m_mainForm = nullptr;
  TControl* m_mouseControl = nullptr;
  bool m_terminated = false;
  bool m_comInitialised = false;
  std::vector<std::function<void()>> m_queued;
};

// The one application object of the process, made on first use.
TApplication& Application();
// The application object if one exists (never makes one: for clean-up paths
// that may run after it is gone).
TApplication* CurrentApplication();
// Frees the application object and every form (the end of the program, and
// tests that start afresh).
void ResetApplication();

// A plain message box with OK, captioned with the application title.
void ShowMessage(const std::string& text);

// Cursor ids as the framework names them.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crHandPoint = -21;
HCURSOR CursorHandle(TCursor cursor);

// The screen: the cursor shown over every framework window while it is not
// crDefault.
class TScreen {
 public:
  TCursor Cursor() const { return m_cursor; }
  void SetCursor(TCursor cursor);

  // Every living form, in creation order (the skin manager walks them).
  int FormCount() const { return static_cast<int>(m_forms.size()); }
  TForm* Forms(int index) const { return m_forms.at(index); }

 private:
  friend class TForm;
  TCursor m_cursor = crDefault;
  std::vector<TForm*> m_forms;
};
TScreen& Screen();

}  // namespace corvane
