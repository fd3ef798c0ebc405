// The flags a target always runs with, so a bare run of the binary fuzzes the
// way the smoke and long scripts do: its dictionary and input size limit go in
// front of the command line (which may override them), memory limits behind it
// (which win); and the address sanitizer's defaults for fuzzing. Include in
// exactly one file of a target, which defines kTargetFlags.
#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

namespace corvane::fuzzing {

struct TargetFlags {
  std::vector<const char*> defaults;  // before the command line's own flags
  std::vector<const char*> forced;    // after them
};

// Defined once by every target.
extern const TargetFlags kTargetFlags;

}  // namespace corvane::fuzzing

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args;
  args.assign(*argv, *argv + 1);
#ifdef CORVANE_FUZZ_DICT
  // The format's keywords and markers (fuzz/dict/<format>.dict), found beside
  // the sources this binary was built from.
  static std::string dict = std::string("-dict=") + CORVANE_FUZZ_DICT;
  struct stat st;
  if (stat(CORVANE_FUZZ_DICT, &st) == 0) args.push_back(dict.data());
#endif
  for (const char* flag : corvane::fuzzing::kTargetFlags.defaults) args.push_back(const_cast<char*>(flag));
  args.insert(args.end(), *argv + 1, *argv + *argc);
  for (const char* flag : corvane::fuzzing::kTargetFlags.forced) args.push_back(const_cast<char*>(flag));
  *argc = static_cast<int>(args.size());
  args.push_back(nullptr);  // argv ends with a null pointer
  *argv = args.data();
  return 0;
}

// The sanitizer holds freed memory back (its quarantine) to catch a use after
// free; 64 MB instead of its 256 still covers hundreds of inputs, as one input
// frees well under a megabyte. Cycling a quarter gigabyte of fresh memory
// through the page tables cost half the run time of the skin targets on a
// virtual machine. ASAN_OPTIONS given when running still override this.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }
