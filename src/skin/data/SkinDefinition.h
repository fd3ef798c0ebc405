// The skin parse: turns a skin definition and the pictures of its package
// into element records, the colour table and the derived elements. Portable;
// the Windows skin component owns one of these and reads its slots when
// painting. System colours come through a provider so the parse runs natively.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Surface.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinElements.h"
#include "skin/data/SystemColours.h"

namespace corvane {

// Where the parse gets the files of a skin package, by name.
class SkinFileSource {
 public:
  virtual ~SkinFileSource() = default;
  // The bytes of the first file whose name equals name ignoring ASCII case;
  // empty when there is none.
  virtual std::vector<std::uint8_t> ExtractFile(std::string_view name) const = 0;
};

// Files held in memory under lower-case names; for tests and tools.
class MemorySkinFiles final : public SkinFileSource {
 public:
  void Add(std::string_view name, std::vector<std::uint8_t> bytes);
  std::vector<std::uint8_t> ExtractFile(std::string_view name) const override;

 private:
  std::map<std::string, std::vector<std::uint8_t>, std::less<>> m_files;
};

// Turns a package file's bytes into a picture; throws on bad data.
using PictureDecoder = Surface (*)(std::span<const std::uint8_t>);

class SkinDefinition {
 public:
  // Indexes of the colour table (9 and 10 are never filled).
  enum ColourIndex : int {
    kWindowText = 0,
    kTitleTextActive = 1,
    kTitleTextNoActive = 2,
    kButtonFace = 3,
    kButtonText = 4,
    kButtonHilight = 5,
    kButtonlight = 6,
    kButtonShadow = 7,
    kButtonDkShadow = 8,
    kHilightText = 11,
    kHilight = 12,
    kMenubar = 13,
    kMenuBarText = 14,
    kMenuText = 15,
    kMenu = 16,
    kFrameColour = 17,
    kScrollbar = 18,
    kColourCount = 19,
  };
  // Number of MDI child caption buttons appended after the skin's own.
  static constexpr int kMdiButtonCount = 3;

  // decoder defaults to the BMP reader; tests may pass another.
  explicit SkinDefinition(const SystemColourProvider& system = DefaultSystemColours(),
                          PictureDecoder decoder = nullptr);
  SkinDefinition(const SkinDefinition&) = delete;
  SkinDefinition& operator=(const SkinDefinition&) = delete;

  // Reads every element, colour and derived element from ini, fetching the
  // pictures from files. Running it again replaces the previous skin.
  void ParseSkin(const TQuickIni& ini, const SkinFileSource& files);

  // The colour syntax of skin definitions ("227 226 236" is red, green,
  // blue). False for an empty value, which leaves the caller's default.
  static bool ParseColourValue(std::string_view value, Colour& out);

  // The rule for fetching a picture named by the definition: only a file
  // whose name ends in ".bmp" (exactly, letter case included) is read; any
  // directory part is dropped; a missing or undecodable file gives an empty
  // picture.
  Surface FetchBitmap(const SkinFileSource& files, std::string_view fileName) const;

  // How many caption buttons the skin itself defines (the MDI ones follow).
  int SkinButtonCount() const {
    return static_cast<int>(CaptionButtons.size()) - kMdiButtonCount;
  }
  const SystemColourProvider& System() const { return *m_system; }

  std::string SkinName;
  // True until a parse has completed.
  bool SkinEmpty = true;

  // Always present; refilled by every parse.
  TDataSkinButton Buttons{"Buttons"};
  TDataSkinTitle Title{"Personality"};
  TDataSkinBorder BorderLeft{"Left"};
  TDataSkinBorder BorderRight{"Right"};
  TDataSkinBorder BorderTop{"Top"};
  TDataSkinBorder BorderBottom{"Bottom"};

  // The skin's caption buttons in section order, then the three MDI buttons.
  std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;

  // Present only when the skin names a picture (or, for the last four,
  // when built by the parse).
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> ProgressChunk;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinObject> TabPane;
  std::unique_ptr<TDataSkinObject> ToolBars;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackThumbHorz;
  std::unique_ptr<TDataSkinObject> TrackThumbVert;
  std::unique_ptr<TDataSkinObject> TrackThumbLeft;
  std::unique_ptr<TDataSkinObject> TrackThumbRight;
  std::unique_ptr<TDataSkinObject> TrackThumbUp;
  std::unique_ptr<TDataSkinObject> TrackThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;
  std::unique_ptr<TDataSkinObject> Track;
  std::unique_ptr<TDataSkinObject> TrackVert;
  std::unique_ptr<TDataSkinObject> ComboxArrow;
  std::unique_ptr<TDataSkinObject> Toolbar;

  // The colour table and, per entry, whether the skin gave it.
  std::array<Colour, kColourCount> Colours{};
  std::array<std::uint8_t, kColourCount> ColourDefined{};
  // The "color" of every section named COLOUR... (but not COLOURS), in order.
  std::vector<Colour> ColourSections;
  // Section "Customcolors", keys Color0 .. Color9.
  std::array<Colour, 10> CustomColors{};

  // The built-in pictures used when a skin has no track of its own.
  static Surface BuiltInTrack();
  static Surface BuiltInTrackVert();

 private:
  struct Context {
    const TQuickIni& ini;
    const SkinFileSource& files;
  };

  // What ordinary elements, borders and box labels read alike; nullptr when
  // the section names no picture under "Image".
  template <typename Record>
  std::unique_ptr<Record> ReadImageElement(const Context& c, std::string_view section);
  template <typename Record>
  void ReadElement(const Context& c, std::unique_ptr<Record>& slot, std::string_view section);
  void ReadBorderElement(const Context& c, std::unique_ptr<TDataSkinBorder>& slot,
                         std::string_view section, std::string_view key2);
  void ReadBitmapElement(const Context& c, std::unique_ptr<TDataSkinBorder>& slot,
                         std::string_view section);
  void ReadBoxLabel(const Context& c, std::unique_ptr<TDataSkinBoxLabel>& slot,
                    std::string_view section);
  void ReadButtons(const Context& c);
  void ReadMenuBar(const Context& c);
  void ReadTitle(const Context& c);
  void ReadBorders(const Context& c);
  void ReadCaptionButtons(const Context& c, const std::vector<std::string>& sections);
  void ReadMdiButtons(const Context& c, std::size_t first);
  void ReadColours(const Context& c, const std::vector<std::string>& sections);
  void SetFrameCounts(const Context& c);

  // Reads the three "...Colour2" keys of an element.
  void ReadColour2(const Context& c, TDataSkinObject& e, std::string_view section,
                   TDataSkinButton* presence);
  Colour ReadColourKey(const Context& c, std::string_view section, std::string_view key,
                       Colour def, bool* given = nullptr) const;

  const SystemColourProvider* m_system;
  PictureDecoder m_decoder;
};

}  // namespace corvane
