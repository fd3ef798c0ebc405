// How much heap a piece of work takes, for tests that bound a decoder's
// memory by what its file holds. Two ways, one per kind of build: the
// sanitized build counts every allocation (the picture libraries' too)
// through the address sanitizer's hooks; a plain Linux build runs the work
// in a child process under an address-space limit.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace corvane::testing {

// Peak bytes allocated by `work` beyond what was allocated when it began
// (the work must not free memory it did not allocate); nullopt where the
// build cannot count allocations.
std::optional<std::size_t> PeakHeapBytes(const std::function<void()>& work);

// Runs `work` in a child process that may map at most `budget` more bytes
// of address space, and gives the text the work returned there; nullopt
// where the build cannot set such a limit (sanitized builds, Windows).
std::optional<std::string> RunWithinAddressSpace(std::size_t budget,
                                                 const std::function<std::string()>& work);

}  // namespace corvane::testing
