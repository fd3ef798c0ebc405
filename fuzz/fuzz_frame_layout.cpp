// Frame metrics, client rectangles, caption text placement and the window
// region of any skin at any window size: never inverted rectangles, never a
// region piece outside the window, never a read outside a picture. The skin
// comes from the bytes as the parse target takes them; window and text sizes
// are drawn from the same bytes so the skin's own bytes stay intact.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "SkinFuzzInput.h"
#include "skin/forms/CaptionButtons.h"
#include "skin/forms/FrameGeometry.h"

namespace {

int Pick(const std::uint8_t* data, std::size_t size, std::size_t at, int range) {
  return size == 0 ? 0 : data[at % size] % range;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  SkinDefinition skin(DefaultSystemColours(), &fuzzskin::SmallBmp);
  if (!fuzzskin::ParseFuzzSkin(data, size, skin)) return 0;
  const BorderKind kinds[] = {BorderKind::Sizeable, BorderKind::Single, BorderKind::None, BorderKind::Dialog};
  BorderKind border = kinds[Pick(data, size, size / 3, 4)];
  FrameMetrics m = LoadFrameMetrics(skin, border);
  if (m.left < 0 || m.top < 0 || m.right < 0 || m.bottom < 0) std::abort();
  Size window{Pick(data, size, size / 2, 300), Pick(data, size, size / 5, 200)};
  Rect client = SkinnedClientRect({0, 0, window.width, window.height}, m, Pick(data, size, 7, 30));
  if (client.right < client.left || client.bottom < client.top) std::abort();

  for (const Rect& r : FrameRegionRects(skin, window, m, border))
    if (r.left < 0 || r.top < 0 || r.right > window.width || r.bottom > window.height || r.IsEmpty())
      std::abort();

  CaptionTextInput in;
  in.caption = LayoutFrameParts(window, m, 0, Pick(data, size, 11, 2) == 1).caption;
  in.text = {Pick(data, size, 13, 500), Pick(data, size, 17, 40)};
  in.textShift = skin.Title.LeftWidth;
  in.textShiftVert = skin.Title.TopHeight;
  in.textRightClip = skin.Title.RightWidth;
  in.alignment = skin.Title.TextAlignment;
  in.backLeft = skin.Title.TXTBackleft;
  in.backRight = skin.Title.TXTBackRight;
  CaptionWindowFacts facts;
  facts.frameButtons = static_cast<std::uint8_t>(Pick(data, size, 19, 32));
  facts.maximised = Pick(data, size, 31, 2) == 1;
  facts.border = border;
  in.rightButtonsWidth = RightButtonsWidth(skin.CaptionButtons, facts);
  CaptionButtonPlace place{window, LayoutCaptionText(in).textRect, m, 0, 0};
  for (const auto& b : skin.CaptionButtons) {
    Rect r = LayoutCaptionButton(*b, place);
    if (r.Width() < 0 || r.Height() < 0) std::abort();
  }
  in.rightToLeft = Pick(data, size, 23, 2) == 1;
  in.popup = Pick(data, size, 29, 2) == 1;
  in.border = border;
  // Any answer is acceptable as long as computing it is safe (the painter
  // clips whatever comes out).
  volatile int sink = LayoutCaptionText(in).textRect.Width();
  (void)sink;
  return 0;
}
