#include "RandomSource.h"

namespace kv::generator {
namespace {
std::uint64_t g_state = 0;
}

void SeedRandom(std::uint32_t seed)
{
    g_state = std::uint32_t(seed * 22695477u + 1u);
}

std::uint32_t NextRandom()
{
    g_state = g_state * 0x15A00004E35ull + 1u;
    return std::uint32_t(g_state >> 32) & 0x7FFFFFFFu;
}

std::uint32_t RandomBelow(std::uint32_t n)
{
    return n == 0 ? 0 : NextRandom() % n;
}

} // namespace kv::generator
