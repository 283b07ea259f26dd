#pragma once
// The process-wide pseudo-random source of the ticket generator: one 64-bit
// state, seeded once at start-up from the clock and never reset, so that
// successive generation runs continue one sequence.

#include <cstdint>

namespace kv::generator {

// The low 32 bits of the state become seed * 22695477 + 1 (mod 2^32), the
// high 32 bits 0.
void SeedRandom(std::uint32_t seed);

// state := state * 0x15A00004E35 + 1 (mod 2^64); returns bits 32..62.
std::uint32_t NextRandom();

// 0 .. n-1 as NextRandom() % n; 0 without moving the state when n is 0.
std::uint32_t RandomBelow(std::uint32_t n);

} // namespace kv::generator
