// Elements no skin section names directly, computed at the end of every
// parse: the joined combo-box picture, the strip of combo arrows, the toolbar
// gradient and the frame colour that stands for the skin's window colour.
#pragma once

#include "core/Surface.h"
#include "skin/data/SkinDefinition.h"

namespace corvane {

// Size of one state of the joined combo-box picture and of one arrow cell.
inline constexpr Size kComboCell{50, 21};
inline constexpr int kComboArrowCell = 17;
// Size of the toolbar gradient picture.
inline constexpr Size kToolbarGradient{10, 40};

// The colour under the top frame border's caption area, or ButtonFace when
// the skin has no top border picture.
Colour FrameColour(const SkinDefinition& skin);

// With both SunkEdge and ComboButton: ComboButton becomes the whole combo box
// (button on the right) and SunkEdge its mirror (button on the left).
void BuildComboComposite(SkinDefinition& skin);
// The combo arrow strip, from the joined picture or the plain combo button.
void BuildComboArrow(SkinDefinition& skin);
// The 10 x 40 toolbar gradient between shades of the face and frame colours.
void BuildToolbarGradient(SkinDefinition& skin);
// All of the above in their order, then the frame colour into the table.
void BuildDerivedElements(SkinDefinition& skin);

}  // namespace corvane
