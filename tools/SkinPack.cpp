// corvane_skin_pack pack <dir> <out.skn>: joins a skin folder into a
// version-70000 package and compresses it into a skin stream (a .skn file
// holds exactly that). corvane_skin_pack unpack <in.skn> <dir> does the
// reverse, so a skin can be inspected and edited.
//
// Package order: the pictures in the order the definition first names them,
// then any other files by name, the definition last. This keeps a repacked
// skin byte-for-byte stable and puts related pictures side by side.
#include <cstdio>
#include <exception>
#include <string>

#include "SkinPackTool.h"

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (argc != 4 || (command != "pack" && command != "unpack")) {
    std::fprintf(stderr,
                 "usage: corvane_skin_pack pack <dir> <out.skn>\n"
                 "       corvane_skin_pack unpack <in.skn> <dir>\n");
    return 2;
  }
  try {
    if (command == "pack")
      corvane::tools::PackSkinFolder(argv[2], argv[3]);
    else
      corvane::tools::UnpackSkin(argv[2], argv[3]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane_skin_pack: %s\n", e.what());
    return 1;
  }
}
