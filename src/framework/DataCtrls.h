// Controls that hold and take data beyond a line of text: a multi-line
// memo, combo boxes of the three styles, a list view in report form, a
// scroll-bar control and a date-time picker. Each builds on the system's own
// class, so keyboard, selection and the clipboard behave as users know them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/StdCtrls.h"

namespace corvane {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit.
class TMemo : public TCustomEdit {
  CORVANE_CLASS(TMemo, TCustomEdit)

 public:
  explicit TMemo(TComponent* owner);
  TScrollStyle ScrollBars = TScrollStyle::ssVertical;
  bool WordWrap = true;
  // The whole text, lines separated by CR LF.
  std::string Text() const;
  void SetText(const std::string& text);
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TCustomComboBox : public TWinControl {
  CORVANE_CLASS(TCustomComboBox, TWinControl)

 public:
  using TWinControl::TWinControl;
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box; its items are kept by the object and mirrored into the window.
class TComboBox : public TCustomComboBox {
  CORVANE_CLASS(TComboBox, TCustomComboBox)

 public:
  explicit TComboBox(TComponent* owner);
  TComboBoxStyle Style = TComboBoxStyle::csDropDown;
  int DropDownCount = 8;
  TNotifyEvent OnChange;

  void SetItems(const std::vector<std::string>& items);
  const std::vector<std::string>& Items() const { return m_items; }
  int ItemIndex() const;
  void SetItemIndex(int index);
  std::string Text() const;
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;

 private:
  std::vector<std::string> m_items;
  int m_itemIndex = -1;
};

enum class TScrollBarKind { sbHorizontal, sbVertical };

// A scroll-bar control that moves its own thumb: lines, pages and dragging.
class TScrollBar : public TWinControl {
  CORVANE_CLASS(TScrollBar, TWinControl)

 public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind = TScrollBarKind::sbHorizontal;
  int SmallChange = 1;
  int LargeChange = 1;
  TNotifyEvent OnChange;

  int Min() const { return m_min; }
  int Max() const { return m_max; }
  int PageSize() const { return m_pageSize; }
  int Position() const { return m_position; }
  void SetParams(int position, int min, int max, int pageSize = 0);
  void SetPosition(int position);
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;
  void Dispatch(TMessage& m) override;

 private:
  void ApplyToWindow();
  void Scroll(WORD code, int trackPosition);
  int m_min = 0;
  int m_max = 100;
  int m_pageSize = 0;
  int m_position = 0;
};

class TCustomListView : public TWinControl {
  CORVANE_CLASS(TCustomListView, TWinControl)

 public:
  using TWinControl::TWinControl;
};

struct TListColumn {
  std::string caption;
  int width = 100;
};

// A list view in report form: columns with a header, rows of texts.
class TListView : public TCustomListView {
  CORVANE_CLASS(TListView, TCustomListView)

 public:
  explicit TListView(TComponent* owner);
  void SetColumns(const std::vector<TListColumn>& columns);
  // Each row: the first column's text, then the others'.
  void SetRows(const std::vector<std::vector<std::string>>& rows);
  int RowCount() const { return static_cast<int>(m_rows.size()); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WindowCreated() override;

 private:
  void ApplyColumns();
  void ApplyRows();
  std::vector<TListColumn> m_columns;
  std::vector<std::vector<std::string>> m_rows;
};

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };

// A date or time field with the system's calendar drop-down.
class TDateTimePicker : public TWinControl {
  CORVANE_CLASS(TDateTimePicker, TWinControl)

 public:
  explicit TDateTimePicker(TComponent* owner);
  TDateTimeKind Kind = TDateTimeKind::dtkDate;
  TDTDateMode DateMode = TDTDateMode::dmComboBox;
  TPropValue GetProperty(std::string_view name) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

}  // namespace corvane
