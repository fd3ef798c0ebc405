// The skin component's sets of switches: which kinds of controls are skinned,
// the skinning options and the component's scope. Portable, so the rules that
// read them are tested natively; the member order is the stored bit order.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace corvane {

enum TSkinControlType : int {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox,
  xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin,
  xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport,
};

enum TSkinOption : int {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect,
  xoToolbarBK, xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint,
  xoFormScrollbar,
};

enum TSkinFormType : int { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// A set of enumeration members stored as bits (bit n is member n), as the
// stored form writes it.
template <typename E, typename Bits>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E m : members) Include(m);
  }
  static constexpr TSet FromBits(Bits bits) {
    TSet s;
    s.m_bits = bits;
    return s;
  }
  constexpr Bits ToBits() const { return m_bits; }
  constexpr bool Contains(E m) const { return (m_bits >> static_cast<int>(m)) & 1u; }
  constexpr void Include(E m) { m_bits = static_cast<Bits>(m_bits | (Bits{1} << static_cast<int>(m))); }
  constexpr void Exclude(E m) { m_bits = static_cast<Bits>(m_bits & ~(Bits{1} << static_cast<int>(m))); }
  friend constexpr bool operator==(TSet, TSet) = default;

 private:
  Bits m_bits = 0;
};

using TSkinControlTypes = TSet<TSkinControlType, std::uint32_t>;
using TSkinOptions = TSet<TSkinOption, std::uint16_t>;

// Every control kind but the given ones.
constexpr TSkinControlTypes AllControlTypesExcept(std::initializer_list<TSkinControlType> left) {
  TSkinControlTypes s;
  for (int m = xcMainMenu; m <= xcFastReport; ++m) s.Include(static_cast<TSkinControlType>(m));
  for (TSkinControlType m : left) s.Exclude(m);
  return s;
}

}  // namespace corvane
