// The reader fuzz target's third pass: arbitrary bytes read exactly and
// written in the writer's extended mode, each geometry on its layer. The
// writer takes everything but ellipses with numbers that are not finite,
// and its output reads back to its EOF record; without ellipses or extreme
// numbers, as the same kinds on the same layers.
#ifndef OSTRA_FUZZ_EXTENDEDPASS_H
#define OSTRA_FUZZ_EXTENDEDPASS_H

#include <cstddef>
#include <cstdint>

namespace fuzz {

void extendedpass(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz

#endif
