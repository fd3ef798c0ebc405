// Standard controls: labels, edits, buttons, list boxes and group boxes, and
// drag and drop between controls. Windowed ones build on the system's own
// classes (EDIT, BUTTON, LISTBOX) so keyboard, focus and selection behave as
// users know them; the framework only adds events and item bookkeeping.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "platform/Handles.h"

namespace corvane {

// A list index outside the list; the text is the system's own
// ("List index out of bounds (%d)"), which the error box shows.
class EListError : public std::out_of_range {
 public:
  explicit EListError(int index);
};

enum class TDragMode { dmManual, dmAutomatic };
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TDragOverEvent = std::function<void(TObject* sender, TObject* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;

// What a control needs to receive drags from other controls. A class mixes it
// in so the drag loop can find it behind any window handle.
class TDragTarget {
 public:
  virtual ~TDragTarget() = default;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  // Asks OnDragOver; a target without it refuses every drag.
  bool DragOver(TObject* source, int x, int y, TDragState state);
  void DragDrop(TObject* source, int x, int y);
};

// Text painted by the parent; no window of its own.
class TLabel : public TGraphicControl {
  CORVANE_CLASS(TLabel, TGraphicControl)

 public:
  explicit TLabel(TComponent* owner);
  // Sizes the label to its caption in the parent's font.
  void SetCaption(const std::string& text) override;
  // The parent's font decides the size, so a new parent re-measures.
  void SetParent(TWinControl* parent) override;

 protected:
  void Paint(HDC dc) override;
  bool CanAutoSize(int& width, int& height) override;
};

// The families the skin engine recognises controls by: any edit, list box
// or group box, whatever the final class.
class TCustomEdit : public TWinControl {
  CORVANE_CLASS(TCustomEdit, TWinControl)

 public:
  using TWinControl::TWinControl;
};
class TCustomListBox : public TWinControl {
  CORVANE_CLASS(TCustomListBox, TWinControl)

 public:
  using TWinControl::TWinControl;
};
class TCustomGroupBox : public TWinControl {
  CORVANE_CLASS(TCustomGroupBox, TWinControl)

 public:
  using TWinControl::TWinControl;
};

// A single-line edit field.
class TEdit : public TCustomEdit {
  CORVANE_CLASS(TEdit, TCustomEdit)

 public:
  explicit TEdit(TComponent* owner);
  // The text as the user left it (read from the window when there is one).
  std::string Text() const;
  void SetText(const std::string& text);
  void Clear() { SetText(""); }
  // "Text" and "Caption" read the window, which holds what the user typed.
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;
};

// A push button; OnClick fires on the system's click notification, so the
// mouse, the space bar and BM_CLICK all count.
class TButton : public TWinControl {
  CORVANE_CLASS(TButton, TWinControl)

 public:
  explicit TButton(TComponent* owner);
  // Clicks the button from code, as the user would.
  void Click() override;
  // The form's default button (drawn with the heavier frame).
  bool Default() const { return m_default; }
  void SetDefault(bool value);

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& m) override;
  void KeyDown(WORD& key, TShiftState shift) override;

 private:
  bool m_default = false;
};

// A list of texts, either sorted without regard to case or in insertion
// order. Items are kept by the object and mirrored into the window, so they
// survive the window being re-created.
class TListBox : public TCustomListBox, public TDragTarget {
  CORVANE_CLASS(TListBox, TCustomListBox)

 public:
  explicit TListBox(TComponent* owner);

  // Keeps items in the user's locale order, ignoring case.
  bool Sorted = false;
  // Designed (96-DPI) height of one row.
  int ItemHeight = 13;
  // Shows only whole items (the window's height snaps to whole rows).
  bool IntegralHeight = true;
  TDragMode DragMode = TDragMode::dmManual;
  // Several items may be selected (Shift and Ctrl extend the selection);
  // the system takes this only at creation, so changing it re-creates the
  // window.
  bool MultiSelect() const { return m_multiSelect; }
  void SetMultiSelect(bool multiSelect);

  int Count() const { return static_cast<int>(m_items.size()); }
  // Throws EListError for an index outside the list.
  const std::string& Item(int index) const;
  const std::vector<std::string>& Items() const { return m_items; }
  // Adds a text where the order puts it and returns its index.
  int Add(const std::string& text);
  // Throws EListError for an index outside the list.
  void Delete(int index);
  void Clear();
  // Replaces every item.
  void SetItems(const std::vector<std::string>& items);

  // The selected item, or -1.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The index of the item at a client point, or -1 below the last item.
  int ItemAtPos(POINT p) const;
  // The client rectangle of an item.
  RECT ItemRect(int index) const;

  // Starts dragging this control: at once, or once the mouse has moved a
  // few pixels with the button down.
  void BeginDrag(bool immediate);
  bool Dragging() const { return m_drag == DragPhase::Dragging; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void DpiChanged() override;
  void WindowCreated() override;
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void KeyDown(WORD& key, TShiftState shift) override;

 private:
  enum class DragPhase { None, Pending, Dragging };
  int InsertPosition(const std::string& text) const;
  // Makes index the window's selection (the only one in a multi-select list).
  void SelectInWindow(int index);
  void MoveDrag(POINT screen);
  void EndDrag(POINT screen, bool drop);

  std::vector<std::string> m_items;
  int m_itemIndex = -1;
  bool m_multiSelect = false;
  DragPhase m_drag = DragPhase::None;
  bool m_quietRelease = false;
  POINT m_dragStart{};
  TDragTarget* m_dragTarget = nullptr;
  TObject* m_dragTargetObject = nullptr;
};

// A framed box with a caption that holds other controls. Painted by the
// framework rather than the system's group-box button, which lets the mouse
// fall through to the parent and leaves its inside unpainted.
class TGroupBox : public TCustomGroupBox {
  CORVANE_CLASS(TGroupBox, TCustomGroupBox)

 public:
  explicit TGroupBox(TComponent* owner);

 protected:
  void PaintWindow(HDC dc) override;
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& m) override;

 private:
  UniqueFont m_captionFont;
  TFont m_fontUsed;
  int m_fontDpi = 0;
};

// Moves the focus to the next (Shift: previous) tab stop of the window's
// form when key is Tab; true when it was Tab. Our forms are no system
// dialogs, so nothing else moves the focus between their controls.
bool MoveFocusOnTab(HWND from, WORD key);

// The windowed control under a screen point that is a drag target, with the
// object that carries it; null when there is none.
TDragTarget* FindDragTarget(POINT screen, TObject** object);

}  // namespace corvane
