#include "framework/Forms.h"

#include <objbase.h>

#include <algorithm>
#include <stdexcept>

#include "framework/Menus.h"

namespace corvane {

namespace {
std::unique_ptr<TApplication>& ApplicationSlot() {
  static std::unique_ptr<TApplication> app;
  return app;
}
// The living application, still set while it is being destroyed: forms that
// go with it look at it and must not make a new one.
TApplication* g_application = nullptr;
}  // namespace

TApplication& Application() {
  if (!g_application) ApplicationSlot() = std::make_unique<TApplication>();
  return *g_application;
}

TApplication* CurrentApplication() { return g_application; }

void ResetApplication() {
  std::unique_ptr<TApplication> old = std::move(ApplicationSlot());
  old.reset();
}

void ShowMessage(const std::string& text) { Application().ShowMessageBox(text, MB_OK); }

HCURSOR CursorHandle(TCursor cursor) {
  LPCSTR id = reinterpret_cast<LPCSTR>(IDC_ARROW);
  if (cursor == crHandPoint) id = reinterpret_cast<LPCSTR>(IDC_HAND);
  return LoadCursorA(nullptr, id);
}

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == m_cursor) return;
  m_cursor = cursor;
  if (cursor != crDefault) ::SetCursor(CursorHandle(cursor));
  else ::SetCursor(CursorHandle(crArrow));
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

// ---------------------------------------------------------------- TForm

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  Screen().m_forms.push_back(this);
  SetVisible(false);
  m_left = 0;
  m_top = 0;
  m_width = 320;
  m_height = 240;
}

TForm::~TForm() {
  SetMenu(nullptr);
  // Controls go while the form's window still exists, so each one tears its
  // own window down in order.
  DestroyComponents();
  auto& forms = Screen().m_forms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  TApplication* app = CurrentApplication();
  if (app && app->MainForm() == this) app->Terminate();
}

void TForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.parent = Application().Handle();
  p.style = WS_CLIPCHILDREN;
  p.exStyle = 0;
  switch (m_borderStyle) {
    case TFormBorderStyle::bsNone: p.style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle: p.style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable: p.style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog:
      p.style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      p.exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      p.style |= WS_CAPTION | WS_BORDER;
      p.exStyle |= WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      p.style |= WS_CAPTION | WS_THICKFRAME;
      p.exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (m_borderStyle != TFormBorderStyle::bsNone) {
    if (BorderIcons & biSystemMenu) p.style |= WS_SYSMENU;
    if (m_borderStyle != TFormBorderStyle::bsDialog) {
      if (BorderIcons & biMinimize) p.style |= WS_MINIMIZEBOX;
      if (BorderIcons & biMaximize) p.style |= WS_MAXIMIZEBOX;
    }
  }
  if (m_formStyle == TFormStyle::fsStayOnTop) p.exStyle |= WS_EX_TOPMOST;
  if (m_formStyle == TFormStyle::fsMDIChild) {
    // A child form is a window of the frame's client, framed like a form.
    TForm* frame = MDIFrameForm();
    if (!frame || !frame->Handle() || !frame->ClientHandle())
      throw std::runtime_error("Form '" + Name + "' is an MDI child without an MDI frame");
    p.parent = frame->ClientHandle();
    p.style = (p.style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
    p.exStyle |= WS_EX_MDICHILD;
  }
}

TForm* MDIFrameForm() {
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (Screen().Forms(i)->FormStyle() == TFormStyle::fsMDIForm) return Screen().Forms(i);
  return nullptr;
}

TForm* TForm::ActiveMDIChild() const {
  if (!m_mdiClient) return nullptr;
  auto* active = reinterpret_cast<HWND>(SendMessageA(m_mdiClient, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TForm*>(ControlOfWindow(active));
}

void TForm::DefaultHandler(TMessage& m) {
  HWND w = HandleAllocated() ? Handle() : nullptr;
  if (w && m_formStyle == TFormStyle::fsMDIForm && m.Msg < CM_BASE) {
    m.Result = DefFrameProcA(w, m_mdiClient, m.Msg, m.WParam, m.LParam);
    return;
  }
  if (w && m_formStyle == TFormStyle::fsMDIChild && m.Msg < CM_BASE) {
    m.Result = DefMDIChildProcA(w, m.Msg, m.WParam, m.LParam);
    return;
  }
  TWinControl::DefaultHandler(m);
}

void TForm::ApplyStyle() {
  if (!HandleAllocated()) return;
  // Change the styles in place rather than making a new window: everything
  // that holds the handle (drop registration, a skin) keeps working.
  TCreateParams p;
  CreateParams(p);
  HWND w = Handle();
  DWORD keepStyle = GetWindowLongA(w, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
  // A window shown as a layered picture stays one: only its content knows.
  DWORD keepEx = GetWindowLongA(w, GWL_EXSTYLE) & (WS_EX_ACCEPTFILES | WS_EX_LAYERED);
  SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(p.style | keepStyle));
  SetWindowLongA(w, GWL_EXSTYLE, static_cast<LONG>((p.exStyle & ~WS_EX_TOPMOST) | keepEx));
  SetWindowPos(w, m_formStyle == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == m_borderStyle) return;
  m_borderStyle = style;
  ApplyStyle();
}

void TForm::SetFormStyle(TFormStyle style) {
  if (style == m_formStyle) return;
  m_formStyle = style;
  ApplyStyle();
}

int TForm::ClientWidthDesigned() { return ClientWidth(); }
int TForm::ClientHeightDesigned() { return ClientHeight(); }

bool TForm::CanAutoSize(int& width, int& height) {
  // An auto-sized form wraps its visible controls.
  int right = 0, bottom = 0;
  bool any = false;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    any = true;
    right = std::max(right, c->Left() + c->Width());
    bottom = std::max(bottom, c->Top() + c->Height());
  }
  if (!any || !HandleAllocated()) return false;
  RECT window{}, client{};
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  width = right + (window.right - window.left) - client.right;
  height = bottom + (window.bottom - window.top) - client.bottom;
  return true;
}

void TForm::ChildBoundsChanged() {
  if (AutoSize()) AdjustSize();
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == m_menu) return;
  if (m_menu) m_menu->m_form = nullptr;
  m_menu = menu;
  if (m_menu) {
    if (m_menu->m_form && m_menu->m_form != this) m_menu->m_form->SetMenu(nullptr);
    m_menu->m_form = this;
  }
  ShowMenuBar();
}

void TForm::ShowMenuBar() {
  if (!HandleAllocated()) return;
  ::SetMenu(Handle(), m_menu ? m_menu->Handle() : nullptr);
}

void TForm::DpiChanged() {
  if (!m_menu) return;
  m_menu->SetDpi(Dpi());
  ShowMenuBar();
}

void TForm::WindowCreated() {
  TWinControl::WindowCreated();
  if (m_formStyle == TFormStyle::fsMDIForm) {
    // The client fills the frame (the frame's default handling keeps it so)
    // and lists its children in no window menu.
    CLIENTCREATESTRUCT client{nullptr, 0xFF00};
    RECT r{};
    GetClientRect(Handle(), &r);
    m_mdiClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0,
                                  r.right, r.bottom, Handle(), nullptr, GetModuleHandleA(nullptr), &client);
    if (!m_mdiClient) throw std::runtime_error("Cannot create the MDI client of " + Name);
  }
  ShowMenuBar();
}

void TForm::Show() {
  Handle();
  if (Position == TPosition::poScreenCenter && !m_centred) {
    m_centred = true;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetBounds(work.left + (work.right - work.left - Width()) / 2,
              work.top + (work.bottom - work.top - Height()) / 2, Width(), Height());
  }
  SetVisible(true);
  ShowWindow(Handle(), SW_SHOWNORMAL);
  if (m_formStyle == TFormStyle::fsStayOnTop)
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::Hide() {
  SetVisible(false);
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = Application().MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (Application().MainForm() == this) {
    Hide();
    Application().Terminate();
    return;
  }
  if (action == TCloseAction::caMinimize) {
    ShowWindow(Handle(), SW_MINIMIZE);
    return;
  }
  if (m_formStyle == TFormStyle::fsMDIChild && HandleAllocated()) {
    // A child that is not wanted any more leaves the frame: the client
    // destroys it and activates the next one.
    SetVisible(false);
    if (TForm* frame = MDIFrameForm(); frame && frame->ClientHandle())
      SendMessageA(frame->ClientHandle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
    return;
  }
  // Freeing happens with the owner; a closed secondary form only hides.
  Hide();
}

void TForm::OnDpiChanged(int dpi, const RECT& suggested) {
  // The DPI comes from the message: while it is handled, the system's own
  // answer may still be the old one.
  ChangeDpi(dpi);
  if (HasDesignedClientSize()) {
    // The system's suggestion is measured with its own frame; a form with
    // a designed client area keeps that exactly (under a skinned frame the
    // two differ) and only takes the suggested place.
    SetBounds(suggested.left, suggested.top, Width(), Height());
  } else {
    SetBounds(suggested.left, suggested.top, suggested.right - suggested.left, suggested.bottom - suggested.top);
  }
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE: Close(); return;
    case WM_QUERYENDSESSION:
      // The session may end: the form gets its say as on an ordinary close.
      m.Result = CloseQuery() ? TRUE : FALSE;
      return;
    case WM_SHOWWINDOW:
      TWinControl::Dispatch(m);
      if (m.WParam) {
        if (OnShow) OnShow(this);
      } else if (OnHide) {
        OnHide(this);
      }
      return;
    case CM_VISIBLECHANGED: return;  // Show and Hide do the window's part
    case CM_MENUCHANGED: ShowMenuBar(); return;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(m.WParam), *reinterpret_cast<const RECT*>(m.LParam));
      m.Result = 0;
      return;
    case WM_DESTROY:
      // The system destroys a window's menu with it; the menu object owns
      // its handle, so the window lets go of it first.
      if (m_menu && GetMenu(Handle()) == m_menu->ShownHandle()) ::SetMenu(Handle(), nullptr);
      break;
    case WM_COMMAND: case WM_MEASUREITEM: case WM_DRAWITEM: case WM_MENUCHAR:
      if (HandleMenuMessage(m.Msg, m.WParam, m.LParam, m.Result)) return;
      break;
    default: break;
  }
  TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------- TApplication

namespace {
constexpr UINT kRunQueuedWork = WM_APP + 0x301;

LRESULT CALLBACK ApplicationWindowProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kRunQueuedWork) {
    if (g_application) g_application->RunQueuedWork();
    return 0;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}
}  // namespace

TApplication::TApplication() : TComponent(nullptr) {
  g_application = this;
  Name = "Application";
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterPrivateClass("TApplication", ApplicationWindowProc);
  // Never shown: it owns the forms (so they get no taskbar buttons of their
  // own) and carries the title. No caption style: the system would add an
  // edge to any extended style the program gives it.
  m_handle.Reset(CreateWindowExA(0, "TApplication", m_title.c_str(),
                                 WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
}

HICON TApplication::Icon(bool small) const {
  if (HICON own = reinterpret_cast<HICON>(SendMessageA(m_handle.Get(), WM_GETICON, small ? ICON_SMALL : ICON_BIG, 0)))
    return own;
  if (!m_programIconRead) {
    // Read on first use only: most windows carry an icon of their own.
    m_programIconRead = true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    LPSTR first = nullptr;
    EnumResourceNamesA(
        instance, RT_GROUP_ICON,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
          *reinterpret_cast<LPSTR*>(found) = name;
          return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    // A string name would only live during the enumeration; the program's
    // icons are numbered.
    if (first && IS_INTRESOURCE(first)) {
      m_programIcon.Reset(static_cast<HICON>(LoadImageA(instance, first, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                        GetSystemMetrics(SM_CYICON), 0)));
      m_programSmallIcon.Reset(static_cast<HICON>(LoadImageA(
          instance, first, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    }
  }
  return small && m_programSmallIcon ? m_programSmallIcon.Get() : m_programIcon.Get();
}

TApplication::~TApplication() {
  m_mainForm = nullptr;
  m_mouseControl = nullptr;
  DestroyComponents();
  m_handle.Reset();
  if (m_comInitialised) CoUninitialize();
  g_application = nullptr;
}

void TApplication::Initialize() {
  if (m_comInitialised) return;
  HRESULT hr = CoInitialize(nullptr);
  // S_FALSE: already initialised on this thread, which still needs a matching uninitialise.
  m_comInitialised = SUCCEEDED(hr);
}

void TApplication::SetTitle(const std::string& title) {
  m_title = title;
  if (m_handle) SetWindowTextA(m_handle.Get(), title.c_str());
}

void TApplication::FinishCreation(TForm& form) {
  // Loaded runs once every designed property is in place, components first.
  for (int i = 0; i < form.ComponentCount(); ++i) form.Components(i)->Loaded();
  form.Loaded();
  try {
    form.DoCreate();
  } catch (const std::exception& e) {
    HandleException(&form, e);
  }
}

void TApplication::Run() {
  if (m_mainForm) {
    m_mainForm->Show();
    // Painted at once, before queued work that may take a while.
    UpdateWindow(m_mainForm->Handle());
  }
  MSG msg;
  while (!m_terminated) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  m_terminated = true;
}

void TApplication::Queue(std::function<void()> work) {
  m_queued.push_back(std::move(work));
  PostMessageA(Handle(), kRunQueuedWork, 0, 0);
}

void TApplication::RunQueuedWork() {
  std::vector<std::function<void()>> work = std::move(m_queued);
  m_queued.clear();
  for (auto& step : work) {
    try {
      step();
    } catch (const std::exception& e) {
      HandleException(this, e);
    }
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_terminated = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void TApplication::Terminate() {
  if (m_terminated) return;
  m_terminated = true;
  PostQuitMessage(0);
}

int TApplication::ShowMessageBox(const std::string& text, UINT flags) {
  HWND owner = m_mainForm && m_mainForm->HandleAllocated() ? m_mainForm->Handle() : m_handle.Get();
  return ::MessageBoxA(owner, text.c_str(), m_title.c_str(), flags);
}

void TApplication::HandleException(TObject* sender, const std::exception& error) {
  if (OnException) {
    OnException(sender, error);
    return;
  }
  ShowMessageBox(error.what(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleUnknownException(TObject* sender) {
  struct Unknown : std::exception {
    const char* what() const noexcept override { return "An unexpected error occurred"; }
  };
  HandleException(sender, Unknown{});
}

}  // namespace corvane
