// corvane_skin_art <outdir>: draws the stored skin's pictures as BMP files.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "BmpWriter.h"
#include "SkinArt.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: corvane_skin_art <outdir>\n");
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const auto& picture : corvane::tools::DrawStoredSkin())
      corvane::tools::WriteBmpFile((dir / picture.name).string(), picture.surface,
                                   picture.bitsPerPixel);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane_skin_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
