// Geometry of a skinned window frame: which frame a window gets, the border
// widths a skin gives, where the client area, borders, caption and caption
// text go, hit testing, and the window region. Portable pure functions:
// rectangles, styles and skin metrics in, rectangles and codes out.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/Geometry.h"
#include "core/Surface.h"
#include "skin/data/SkinDefinition.h"

namespace corvane {

// The window-style bits the frame rules read (the window system's values).
namespace style {
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsThickFrame = 0x00040000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
constexpr std::uint32_t kWsMaximizeBox = 0x00010000;
constexpr std::uint32_t kWsModalFrame = 0x00000080;
constexpr std::uint32_t kWsExDlgModalFrame = 0x00000001;
constexpr std::uint32_t kWsExMdiChild = 0x00000040;
constexpr std::uint32_t kWsExContextHelp = 0x00000400;
constexpr std::uint32_t kWsExLeftScrollBar = 0x00004000;
constexpr std::uint32_t kWsExAppWindow = 0x00040000;
}  // namespace style

enum class BorderKind : std::uint8_t { Sizeable = 0, Single = 1, None = 2, Dialog = 3 };

// Bits of FrameButtons.
enum FrameButton : std::uint8_t {
  kFrameMaximize = 1,
  kFrameMinimize = 2,
  kFrameHelp = 4,
  kFrameSystemMenu = 8,
  // The system-menu style bit is never touched (one system version needs it).
  kFrameKeepSysMenuBit = 0x10,
};

enum class MdiKind : std::uint8_t { Plain = 0, Frame = 1, Child = 2 };
enum class WindowShowState : std::uint8_t { Normal = 0, Maximised = 1, Minimised = 2 };

// What the frame rules make of a window's styles and class.
struct FrameClass {
  BorderKind border = BorderKind::Single;
  std::uint8_t buttons = 0;
  bool isMessageBox = false;
  bool isChild = false;
  bool rightToLeft = false;
  friend bool operator==(const FrameClass&, const FrameClass&) = default;
};

// Inputs of the classification beyond the styles.
struct FrameFacts {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::string_view className;
  bool hasSystemMenu = false;
  bool hasOwner = false;
  // The one system version (5.0) that needs the system-menu style bit kept.
  bool systemVersion50 = false;
};
FrameClass ClassifyFrame(const FrameFacts& facts);

// Message boxes: the dialog class and the framework's message form.
bool IsMessageBoxClass(std::string_view className);

// The skin's border widths; top is the caption height.
struct FrameMetrics {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const FrameMetrics&, const FrameMetrics&) = default;
};

// Border widths from the border pictures: top and bottom keep their state
// cells stacked, left and right side by side. Borderless windows get none.
// A frame count below 1 counts as 1, so bad skin data cannot divide by zero.
FrameMetrics LoadFrameMetrics(const SkinDefinition& skin, BorderKind border);

// The client rectangle (screen or parent coordinates) of a skinned window at
// windowRect; never inverted, however small the window.
Rect SkinnedClientRect(const Rect& windowRect, const FrameMetrics& m, int menuHeight);

// A maximised window's client area kept inside the monitor's work area, so
// the frame never hangs off the screen.
Rect ClampToWorkArea(const Rect& client, const Rect& workArea);

// Window point of a client point: the frame's origin is the window's.
Point WindowPointFromClient(Point client, const FrameMetrics& m, int menuHeight);

// The hit-test answer of a skinned frame. The system's own answer stands
// except nowhere and caption: below the top 3 rows it is the caption, and
// below the caption (with a skinned menu bar) the menu.
int SkinHitTest(int systemAnswer, Point windowPoint, int frameTop, int menuHeight);
constexpr int kHtNowhere = 0;
constexpr int kHtCaption = 2;
constexpr int kHtMenu = 5;

// Whether a skin can frame a window at all: without a caption picture there
// would be no caption to drag and no place for its buttons, so such a skin
// leaves the frame to the system.
bool SkinHasFrame(const SkinDefinition& skin);

// Window size that keeps a client size inside the skin frame.
Size SkinnedWindowSize(Size client, const FrameMetrics& m, int menuHeight);
// Window size that gives the system frame back around the same client area.
Size UnskinnedWindowSize(Size window, Size systemFrame, const FrameMetrics& m);

// How far a message box's children move right when its caption needs more
// width than it has; 0 when it is wide enough.
int MessageBoxChildShift(int currentWidth, int neededWidth);

// WindowShowState from a placement's show command and from WM_SIZE's kind;
// a WM_SIZE kind that says nothing about the state gives `unchanged`.
WindowShowState ShowStateFromShowCmd(unsigned showCmd);
WindowShowState ShowStateFromSizeKind(unsigned kind, WindowShowState unchanged);

// Where each part of the frame goes, in window coordinates.
struct FrameParts {
  Rect left, right, bottom, caption, menuBar;
};
FrameParts LayoutFrameParts(Size window, const FrameMetrics& m, int menuHeight, bool minimised);

// State cell of a border picture: the first while active or when the
// picture has one cell, else the second.
int BorderCell(bool active, int frames);

// One border element composed at a part's size, as the frame paints it.
// Top and bottom keep their cells stacked; the centre is tiled unless the
// skin asked for stretching.
Surface ComposeBorder(const TDataSkinBorder& border, Size part, bool stackedCells, int cell);

// The window region as rectangles to unite (window coordinates): the client
// part, each border's opaque runs (or its whole rectangle when it is not
// transparent). Empty when no border is transparent: the window keeps its
// plain rectangle.
bool AnyBorderTransparent(const SkinDefinition& skin);
std::vector<Rect> FrameRegionRects(const SkinDefinition& skin, Size window, const FrameMetrics& m,
                                   BorderKind border);

// The cell of the skin's Buttons picture a tool button is drawn with, from
// the custom-draw state bits (selected 0x01; hot 0x40 or 0x10 checked; plain
// 0x20 default unless grayed 0x02 or disabled 0x04); 0 draws nothing.
int ToolbarButtonCell(unsigned customDrawState);

// Caption text placement inside the caption rectangle.
struct CaptionTextInput {
  Rect caption;       // C: where the caption bar lies in the window
  Size text;          // the measured caption text
  int textShift = 0;  // the title's TextShift, TextShiftVert, TextRightClip
  int textShiftVert = 0;
  int textRightClip = 0;
  int alignment = 0;  // 0 left, 1 centred, 2 right
  int backLeft = 0;   // fixed ends of the text background picture
  int backRight = 0;
  int rightButtonsWidth = 0;
  bool rightToLeft = false;
  bool popup = false;
  BorderKind border = BorderKind::Single;
};
struct CaptionTextLayout {
  Rect textRect;  // text with its background ends (kept as TextRect)
  Rect drawRect;  // where the text itself is drawn
  friend bool operator==(const CaptionTextLayout&, const CaptionTextLayout&) = default;
};
CaptionTextLayout LayoutCaptionText(const CaptionTextInput& in);

}  // namespace corvane
