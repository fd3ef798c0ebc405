// The skin component (TSkinData): the non-visual component a form carries to
// be skinned. It owns the skin stream and the parsed elements, carries the
// options that say what is skinned and how, and asks the skin manager to
// skin, unskin or re-skin. It draws nothing itself. Windows only.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "platform/Handles.h"
#include "framework/ImgList.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinOptions.h"
#include "skin/data/SkinScaling.h"

namespace corvane {

class TSkinData;
class TControl;

using TOnFormSkin = std::function<void(TObject* sender, const std::string& aName, bool& doSkin)>;
using TOnSkinControl =
    std::function<void(TComponent* sender, TSkinData* skinData, TControl* form, TControl* control,
                       const std::string& controlClass, TComponent*& skinnedControl)>;
using TOnSkinForm = std::function<void(TObject* sender, HWND ahwnd, const std::string& aName)>;

// The fixed version text of the component.
inline constexpr const char* kSkinDataVersion = "5.20.05.20";

class TSkinData : public TComponent {
  CORVANE_CLASS(TSkinData, TComponent)

 public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // --- published properties, in declaration order
  bool Active() const { return m_active; }
  void SetActive(bool value);
  int DisableTag = 99;
  TSkinControlTypes SkinControls = AllControlTypesExcept({xcMenuItem, xcFastReport});
  TSkinOptions Options{xoPreview, xoToolbarBK, xoCaptionButtonHint};
  const std::vector<std::string>& Skin3rd() const { return m_skin3rd; }
  void SetSkin3rd(const std::vector<std::string>& lines) { m_skin3rd = lines; }
  const std::string& SkinFile() const { return m_skinFile; }
  void SetSkinFile(const std::string& path);
  // Display only: "(Good)" is what designers stored; at run time "(none)".
  std::string SkinStore() const { return "(none)"; }
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype = sfMainform;
  std::string Version() const { return kSkinDataVersion; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate = true;
  bool MenuMerge = false;
  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm;
  TOnSkinForm OnAfterSkinForm;

  // The binary stored property: the skin package as stored, loaded at once
  // (a refused package shows its message and leaves the component empty).
  // scaledSets: the same skin drawn at other DPIs (the program's own skin
  // carries them; any other skin has none). Their bytes are borrowed and
  // must outlive the component, as a module's resources do.
  void SetSkinStream(std::vector<std::uint8_t> stream, std::vector<ScaledSkinStream> scaledSets = {});
  const std::vector<std::uint8_t>& SkinStream() const { return m_stream; }

  // Marks the start and end of reading stored properties: meanwhile Active
  // only stores its value. Loaded ends the reading.
  void BeginReading() { m_reading = true; }
  void Loaded() override;
  bool Reading() const { return m_reading; }

  // --- what the manager and the window and control skins read
  // The parsed skin: element slots, colour table, SkinName.
  const SkinDefinition& Skin() const { return *m_skin; }
  // The skin at a window's DPI: the skin itself at 96, otherwise a copy
  // with scaled metrics and pictures (from the scaled set drawn for that DPI
  // or the nearest larger one, else resampled), made on first use and kept
  // until the next load (one per DPI in use).
  const SkinDefinition& SkinAt(int dpi) const;
  bool SkinEmpty() const { return m_skin->SkinEmpty; }
  // A new number with every load into the elements, never the same for two
  // loads of any components: what holds element pointers or pictures made
  // from them rebuilds when it changed.
  unsigned SkinGeneration() const { return m_generation; }
  // Solid brush of the skin's ButtonFace colour (rebuilt with each load).
  HBRUSH FaceBrush() const { return m_faceBrush.Get(); }
  // The system's non-client caption font at a DPI, made on first use and
  // rebuilt on Loaded.
  HFONT CaptionFont(int dpi) const;
  // The application's small icon on magenta (empty when it has none).
  HBITMAP AppIcon() const { return m_appIcon.Get(); }
  // Four 16 x 16 glyphs for the skin's system menu: restore, maximise,
  // minimise, close; at another DPI the same art at 16 scaled, made on first
  // use (whole pixels of the one-bit art, so the glyphs stay crisp).
  TImageList& MenuGlyphs() const { return *m_menuGlyphs; }
  TImageList& MenuGlyphs(int dpi) const;
  // Cleared by a form skin for the time of a menu change, so no frame is
  // painted half way through it.
  std::uint8_t FramePaintFlag = 1;
  // The system's maximised window size, taken at construction.
  SIZE MaximisedSize() const { return m_maximisedSize; }
  HWND LastMayFormSkinWindow() const { return m_lastMayFormSkin; }

  // Decides whether a window of class aName is skinned; doSkin comes preset.
  void MayFormSkin(HWND window, const std::string& className, bool& doSkin);
  // Raises OnSkinChanged (the manager calls it after a skin change).
  void SkinChanged();
  // Caption-button hints (only with xoCaptionButtonHint): the text in a hint
  // window at most 500 pixels wide, placed at the rectangle's top-left.
  void ShowCaptionHint(const RECT& at, const std::string& text);
  void HideCaptionHint();
  bool CaptionHintShown() const { return m_hintShown; }
  HWND HintWindow() const { return m_hint.Get(); }
  // Re-reads the skin stream into the elements and tells the manager to
  // re-apply it (after a run-time SkinFile load).
  void ApplySkin();

  TPropValue GetProperty(std::string_view name) const override;
  bool SetProperty(std::string_view name, const TPropValue& value) override;

 private:
  void LoadSkinStreamNow();
  void RebuildCaptionFont();
  void BuildAppIcon();

  bool m_active = false;
  bool m_reading = false;
  std::string m_skinFile;
  std::vector<std::string> m_skin3rd;
  std::vector<std::uint8_t> m_stream;
  std::vector<ScaledSkinStream> m_scaledSets;
  std::unique_ptr<SkinDefinition> m_skin;
  unsigned m_generation = 0;
  UniqueBrush m_faceBrush;
  mutable std::map<int, std::unique_ptr<SkinDefinition>> m_scaled;
  mutable std::map<int, UniqueFont> m_captionFonts;
  UniqueBitmap m_appIcon;
  TImageList* m_menuGlyphs = nullptr;
  mutable std::map<int, std::unique_ptr<TImageList>> m_scaledGlyphs;
  SIZE m_maximisedSize{};
  UniqueWindow m_hint;
  bool m_hintShown = false;
  HWND m_lastMayFormSkin = nullptr;
};

// The 118 Skin3rd lines every component starts with, in order.
const std::vector<std::string>& DefaultSkin3rd();

// The built-in 64 x 16 glyph art of MenuGlyphs, one bit per pixel (set =
// black ink, clear = white mask), rows top to bottom, 8 bytes per row.
const std::uint8_t* MenuGlyphBits();

}  // namespace corvane
