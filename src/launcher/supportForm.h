// Unit support's form: the link editor (TForm2), the settings dialog in which
// menu links are made, tested and deleted, the launcher picture is chosen and
// the Startup shortcut is toggled. It keeps no data of its own: everything
// goes through the launcher window's link store.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <shellapi.h>

#include <stdexcept>
#include <string>

#include "components/UVersionInfo.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/HotKeyCtrl.h"
#include "framework/StdCtrls.h"
#include "launcher/LinkStore.h"
#include "skin/data/WinSkinData.h"

namespace corvane {

// A broken promise of the program about its own state (its version block
// lacks the update number); shown like any other error.
class EAssertionFailed : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// A text that should have been an integer; the message is the system's
// "'%s' is not a valid integer value".
class EConvertError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Decimal text with an optional sign, or hexadecimal after "$" or "0x",
// blanks around it allowed, within 32 bits; anything else throws EConvertError.
int StrToInt(const std::string& text);

// The first file of a shell drop, cut to 255 characters as the program has
// always read it; finishes the drop, so the handle is gone afterwards.
std::string TakeFirstDroppedFile(HDROP drop);

// What the sweep of invalid links finds behind a Link.
enum class LinkTarget {
  ExistingFile,
  // Empty, a folder, a web address, or a file that is gone from a drive that
  // is there: the sweep removes the link.
  Invalid,
  // On a drive or share that cannot be reached now (a removed stick, a
  // server offline): nothing can be said, so the sweep keeps the link.
  Unreachable,
};
LinkTarget ClassifyLinkTarget(const std::string& link);

// The readme beside the program: the executable's path ending in ".rtf".
std::string ReadmePath(const std::string& exePath);

// What to tell the user when the shell's result for opening the readme is a
// failure (32 or less), naming the file; empty when the shell opened it. The
// shell itself shows nothing for these failures.
std::string ReadmeProblem(const std::string& readme, INT_PTR shellResult);

class TForm2 : public TForm {
  CORVANE_CLASS(TForm2, TForm)

 public:
  explicit TForm2(TComponent* owner);
  ~TForm2() override;

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* Edit1 = nullptr;  // file
  TButton* Button1 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* Edit2 = nullptr;  // menu entry name
  TLabel* Label3 = nullptr;
  TEdit* Edit3 = nullptr;  // parameters
  TLabel* Label4 = nullptr;
  TListBox* ListBox2 = nullptr;  // links to run at the same time
  TButton* Button11 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button7 = nullptr;
  TButton* Button12 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TImage* Image1 = nullptr;
  TButton* Button3 = nullptr;
  TButton* Button4 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TListBox* ListBox1 = nullptr;  // menu links
  TLabel* Label5 = nullptr;      // the hot key's name and state
  THotKey* HotKey1 = nullptr;    // the keys that open the link menu
  TButton* Button10 = nullptr;
  TButton* Button5 = nullptr;
  TButton* Button8 = nullptr;
  TButton* Button6 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TOpenDialog* od1 = nullptr;
  TOpenPictureDialog* opd1 = nullptr;
  // The program's own version block; never overwritten by a dropped file's.
  TVersionInfo* VersionInfo1 = nullptr;
  // Skins the program's windows with the skin the program carries.
  TSkinData* SkinData1 = nullptr;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void ListBox1Click(TObject* sender);
  void ListBox1DblClick(TObject* sender);
  void Button1Click(TObject* sender);
  void Button11Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Button7Click(TObject* sender);
  void Button12Click(TObject* sender);
  void ListBox2DragOver(TObject* sender, TObject* source, int x, int y, TDragState state,
                        bool& accept);
  void ListBox2DragDrop(TObject* sender, TObject* source, int x, int y);
  void ListBox2KeyDown(TObject* sender, WORD& key, TShiftState shift);
  void Button3Click(TObject* sender);
  void Button4Click(TObject* sender);
  void Button5Click(TObject* sender);
  void Button8Click(TObject* sender);
  void Button6Click(TObject* sender);
  void Button10Click(TObject* sender);
  // A combination set in the hot-key field is registered and stored; one
  // another program holds is reported and the previous one kept.
  void HotKey1Change(TObject* sender);

  // A file dropped here or on the launcher: its path into the file field and
  // its product name (or file name) into the name field.
  void FileDropped(const std::string& fileName);

 protected:
  void Dispatch(TMessage& m) override;
  // The window takes dropped files from the moment it exists.
  void WindowCreated() override;

 private:
  LinkStore& Store();
  void FillLinkList();
  void SaveLink();
  void DeleteLink();
  // The hot-key field and its label show the launcher's hot key.
  void ShowHotKey();
  void ShowHotKeyState(const char* state);
};

// The link editor while it exists.
extern TForm2* Form2;
// The picture file chosen last with Select Graphic; empty until one is.
extern std::string ChosenGraphic;

}  // namespace corvane
