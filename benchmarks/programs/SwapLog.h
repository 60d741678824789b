// The frame counter a measured program shares with the driver: a small file both map, which
// SwapCounter.so fills on every buffer swap of the program it is preloaded into.
#pragma once

#include <cstdint>

namespace bench {

struct SwapLog {
  std::uint64_t swaps;       // buffer swaps so far
  std::int64_t firstSwapNs;  // CLOCK_MONOTONIC when the first swap returned, 0 before
  std::int64_t lastSwapNs;   // the same for the latest swap
};

// The environment variable that names the shared file.
constexpr const char* kSwapLogVariable = "VEYRUN_SWAP_LOG";

}  // namespace bench
