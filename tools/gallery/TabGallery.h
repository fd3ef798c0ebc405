// The gallery's tab form: tab controls on all four sides, a page control,
// a row of more tabs than fit, button-style tabs, a tab set, a page
// control that draws its tabs from given pictures and tabbed panels of two
// kinds. Windows only.
#pragma once

namespace corvane {

// The line of the skin component's class list that gives the picture page
// control its kind.
inline constexpr const char* kImagePageControlKind = "TImagePageControl=advpagecontrol";

// Creates the form and shows it below the field form.
void CreateTabGalleryForm();

}  // namespace corvane
