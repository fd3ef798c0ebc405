#include "framework/Dialogs.h"

#include <commdlg.h>

#include <algorithm>

#include "platform/Handles.h"

namespace corvane {

namespace {

// Width the picture dialog grows by to the right for its preview.
constexpr int kPreviewWidth = 170;
constexpr int kPreviewMargin = 8;
constexpr const char* kPreviewClass = "CorvanePicturePreview";

// The paths the system hands back can be longer than MAX_PATH on newer systems.
constexpr DWORD kFileBuffer = 32768;

}  // namespace

std::string SystemFilter(const std::string& filter) {
  std::string result = filter;
  std::replace(result.begin(), result.end(), '|', '\0');
  result.push_back('\0');
  result.push_back('\0');
  return result;
}

RECT FitPicture(int pw, int ph, const RECT& box) {
  int bw = box.right - box.left, bh = box.bottom - box.top;
  if (pw <= 0 || ph <= 0 || bw <= 0 || bh <= 0) return RECT{box.left, box.top, box.left, box.top};
  int w = pw, h = ph;
  if (w > bw || h > bh) {
    if (static_cast<long long>(bw) * ph > static_cast<long long>(bh) * pw) {
      w = std::max(1, static_cast<int>(static_cast<long long>(pw) * bh / ph));
      h = bh;
    } else {
      w = bw;
      h = std::max(1, static_cast<int>(static_cast<long long>(ph) * bw / pw));
    }
  }
  int x = box.left + (bw - w) / 2, y = box.top + (bh - h) / 2;
  return RECT{x, y, x + w, y + h};
}

// ---------------------------------------------------------------- TOpenDialog

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

void TOpenDialog::Prepare(OPENFILENAMEA&) {}

bool TOpenDialog::Execute() {
  std::string filter = SystemFilter(Filter);
  std::string buffer(kFileBuffer, '\0');
  FileName.copy(buffer.data(), std::min<std::size_t>(FileName.size(), kFileBuffer - 1));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  HWND owner = GetActiveWindow();
  if (!owner && CurrentApplication()) owner = Application().Handle();
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = kFileBuffer;
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  Prepare(ofn);
  if (!GetOpenFileNameA(&ofn)) return false;
  FileName = buffer.c_str();
  return true;
}

// ---------------------------------------------------------------- TOpenPictureDialog

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
  Filter = "All(*.bmp,*.jpg,*.png,*.gif,*.ico,*.emf)|*.bmp;*.jpg;*.png;*.gif;*.ico;*.emf";
}

void TOpenPictureDialog::SelectForPreview(const std::string& fileName) {
  try {
    m_preview.LoadFromFile(fileName);
  } catch (const std::exception&) {
    // A file that is no picture (or a folder) simply shows no preview.
    m_preview.Clear();
  }
  if (m_previewWindow) InvalidateRect(m_previewWindow, nullptr, TRUE);
}

void TOpenPictureDialog::Prepare(OPENFILENAMEA& ofn) {
  m_preview.Clear();
  ofn.Flags |= OFN_ENABLEHOOK;
  ofn.lpfnHook = HookProc;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

void TOpenPictureDialog::PaintPreview(HDC dc, const RECT& area) const {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  RECT frame = area;
  DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (m_preview.Empty()) return;
  InflateRect(&frame, -2, -2);
  m_preview.Draw(dc, FitPicture(m_preview.Width(), m_preview.Height(), frame));
}

LRESULT CALLBACK TOpenPictureDialog::PreviewProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TOpenPictureDialog*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (msg == WM_PAINT && self) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    RECT r{};
    GetClientRect(w, &r);
    self->PaintPreview(dc, r);
    EndPaint(w, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcA(w, msg, wParam, lParam);
}

UINT_PTR CALLBACK TOpenPictureDialog::HookProc(HWND hook, UINT msg, WPARAM, LPARAM lParam) {
  HWND dialog = GetParent(hook);
  auto* self = reinterpret_cast<TOpenPictureDialog*>(GetWindowLongPtrA(hook, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG: {
      auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
      self = reinterpret_cast<TOpenPictureDialog*>(ofn->lCustData);
      SetWindowLongPtrA(hook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      HINSTANCE instance = GetModuleHandleA(nullptr);
      RegisterPrivateClass(kPreviewClass, PreviewProc,
                           LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
      // The dialog grows to the right and the preview fills the new strip.
      RECT outer{}, client{};
      GetWindowRect(dialog, &outer);
      SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + kPreviewWidth,
                   outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      GetClientRect(dialog, &client);
      self->m_previewWindow =
          CreateWindowExA(0, kPreviewClass, "", WS_CHILD | WS_VISIBLE, client.right - kPreviewWidth,
                          kPreviewMargin, kPreviewWidth - kPreviewMargin,
                          kPreviewWidth - kPreviewMargin, dialog, nullptr, instance, nullptr);
      SetWindowLongPtrA(self->m_previewWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (self && header->code == CDN_SELCHANGE) {
        char path[MAX_PATH * 4] = {};
        if (SendMessageA(dialog, CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path)) > 0)
          self->SelectForPreview(path);
      }
      return 0;
    }
    case WM_DESTROY:
      // The preview window goes with the dialog; the object must not keep it.
      if (self) self->m_previewWindow = nullptr;
      return 0;
    default:
      return 0;
  }
}

}  // namespace corvane
