// The gallery's menu form: a menu bar with submenus, shortcuts, a disabled
// item, a deep submenu and a help menu at the bar's far end.
#pragma once

#include <string>

namespace corvane {

class TForm;
class TEdit;
class TMainMenu;

struct MenuGallery {
  TForm* form = nullptr;
  TMainMenu* menu = nullptr;
  // Shows the caption of the item chosen last.
  TEdit* chosen = nullptr;
};

// How deep the gallery's deepest submenu goes.
constexpr int kMenuGalleryDepth = 40;

// Creates the form (the application owns it) at its place in the gallery.
MenuGallery CreateMenuGallery();

}  // namespace corvane
