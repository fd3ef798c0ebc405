// corvane_skin_art <outdir> [dpi]: draws the stored skin's pictures as BMP
// files, at the design's 96 DPI or at the DPI given.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "BmpWriter.h"
#include "SkinArt.h"

int main(int argc, char** argv) {
  const int dpi = argc == 3 ? std::atoi(argv[2]) : 96;
  if (argc < 2 || argc > 3 || dpi < 96 || dpi > 960) {
    std::fprintf(stderr, "usage: corvane_skin_art <outdir> [dpi: 96 to 960]\n");
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const auto& picture : corvane::tools::DrawStoredSkin(dpi))
      corvane::tools::WriteBmpFile((dir / picture.name).string(), picture.surface,
                                   picture.bitsPerPixel);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane_skin_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
