// Skinned edit fields, combo boxes and date-time pickers. They keep the
// system's drawing inside (text, caret, selection, the list); the skin
// replaces their borders and drop-down buttons, and the list of a combo box
// gets a skinned scroll bar. Windows only.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/Handles.h"
#include "framework/Subclass.h"
#include "skin/controls/WinSubClass.h"

namespace corvane {

class OffscreenSurface;
class TComboxScrollBar;
class TSkinScrollbarH;
class TSkinUpDown;

// An edit's border: the skin's shadow colour outside, white inside.
class TSkinEdit : public TSkinControl {
  CORVANE_CLASS(TSkinEdit, TSkinControl)

 public:
  explicit TSkinEdit(TComponent* owner);
  ~TSkinEdit() override;
  void Restore() override;
  // The skin of an up-down inside the field, once found.
  TSkinUpDown* Spin() const { return m_spin; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void FindSpin();
  bool m_spinSearched = false;
  TSkinUpDown* m_spin = nullptr;
};

// A combo box's border and drop-down button, and its list's scroll bar.
class TSkinComBox : public TSkinControl {
  CORVANE_CLASS(TSkinComBox, TSkinControl)

 public:
  explicit TSkinComBox(TComponent* owner);
  ~TSkinComBox() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) override;
  void Restore() override;

  // The extended kind: a field child window with the arrow drawn over it.
  bool Extended = false;
  bool Dropped() const { return m_dropped; }
  bool Hot() const { return (m_mouseState & 1) != 0; }
  RECT ButtonRect() const { return m_buttonRect; }
  HWND ListWindow() const { return m_listWindow; }
  TComboxScrollBar* ListBar() const { return m_listBar; }
  TSkinScrollbarH* ListSkin() const { return m_listSkin; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  void TakeList();
  void SubclassField(HWND field);
  void OnFieldMessage(UINT msg);
  // The system paints into a picture, the skin over it, one blit.
  void PaintBuffered(TMessage& m);
  bool ReadInfo();
  HBRUSH FieldBrush() const;
  void SetPressed(bool pressed);

  LONG m_style = 0;
  LONG m_exStyle = 0;
  HWND m_listWindow = nullptr;
  bool m_dropped = false;
  HWND m_fieldWindow = nullptr;
  WindowSubclass m_fieldSubclass;
  TSkinScrollbarH* m_listSkin = nullptr;
  TComboxScrollBar* m_listBar = nullptr;
  COMBOBOXINFO m_info{};
  RECT m_buttonRect{};
  std::unique_ptr<OffscreenSurface> m_buffer;
  bool m_listTaken = false;
};

// A date-time picker: its border, and the skin's arrow over its button.
class TSkinDateTime : public TSkinControl {
  CORVANE_CLASS(TSkinDateTime, TSkinControl)

 public:
  explicit TSkinDateTime(TComponent* owner);
  ~TSkinDateTime() override;
  void AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) override;
  void Restore() override;
  HWND ArrowWindow() const;
  bool ArrowHot() const { return m_arrowHot; }

 protected:
  void AfterMessage(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;

 private:
  static LRESULT CALLBACK ArrowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnArrowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void PlaceArrow();
  void PaintArrow(HDC dc);
  UniqueWindow m_arrow;
  bool m_arrowHot = false;
  bool m_trackingLeave = false;
  bool m_clipChildrenAdded = false;
};

}  // namespace corvane
