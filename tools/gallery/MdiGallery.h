// The gallery's MDI form: a frame with a menu bar and two child forms, and
// a second menu a child may hand the frame. Windows only.
#pragma once

namespace corvane {

class TForm;
class TMainMenu;
class TEdit;

struct MdiGallery {
  TForm* frame = nullptr;
  TForm* children[2] = {nullptr, nullptr};
  TMainMenu* frameMenu = nullptr;
  // Not shown by anyone: what a child would make the frame's menu.
  TMainMenu* childMenu = nullptr;
  // Shows the menu item chosen last.
  TEdit* chosen = nullptr;
};

// Creates the frame and its children (the application owns them) at the
// frame's place in the gallery; a right-to-left frame reads and lays out
// its menu bar from the right.
MdiGallery CreateMdiGallery(bool rightToLeft = false);

}  // namespace corvane
