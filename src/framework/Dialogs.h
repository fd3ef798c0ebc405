// Dialogs: the file-open dialog, the picture-open dialog that previews the
// selected picture, and message boxes captioned with the application title.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"  // ShowMessage: message boxes captioned with the title
#include "pictures/WinPicture.h"

namespace corvane {

class TOpenDialog : public TComponent {
  CORVANE_CLASS(TOpenDialog, TComponent)

 public:
  explicit TOpenDialog(TComponent* owner);

  // Pairs of "description|pattern" joined with "|", as "All (*.*)|*.*".
  std::string Filter;
  // Added to a typed name that has no extension.
  std::string DefaultExt;
  std::string InitialDir;
  std::string Title;
  // The chosen file's full path after Execute returned true.
  std::string FileName;

  // Runs the dialog modally over the active window; false when cancelled.
  virtual bool Execute();

 protected:
  // Lets a dialog kind extend the system dialog before it runs.
  virtual void Prepare(OPENFILENAMEA& ofn);
};

// A file-open dialog that shows the selected picture beside the file list,
// scaled down to fit.
class TOpenPictureDialog : public TOpenDialog {
  CORVANE_CLASS(TOpenPictureDialog, TOpenDialog)

 public:
  explicit TOpenPictureDialog(TComponent* owner);

  // The picture of the file selected last while the dialog ran; empty when
  // that file is no picture.
  const TPicture& Preview() const { return m_preview; }
  // Loads fileName as the preview; an unreadable file leaves it empty.
  void SelectForPreview(const std::string& fileName);
  // The preview area's window while the dialog runs.
  HWND PreviewWindow() const { return m_previewWindow; }

 protected:
  void Prepare(OPENFILENAMEA& ofn) override;

 private:
  static UINT_PTR CALLBACK HookProc(HWND hook, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PreviewProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam);
  void PaintPreview(HDC dc, const RECT& area) const;

  TPicture m_preview;
  HWND m_previewWindow = nullptr;
};

// The dialog filter as the system wants it: "|" becomes NUL, ending in two NULs.
std::string SystemFilter(const std::string& filter);

// Where a picture of the given size goes inside a box: unchanged when it
// fits, else scaled down keeping its proportions; centred.
RECT FitPicture(int pictureWidth, int pictureHeight, const RECT& box);

}  // namespace corvane
