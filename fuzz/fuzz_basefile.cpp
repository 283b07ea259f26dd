// Any bytes given to the base file reader: no crash, and whatever it reads
// writes back to a text that reads to the same base.
#include "core/basefile/BaseText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    kv::basefile::BaseTextReader reader;
    if (!reader.read(std::string_view(reinterpret_cast<const char *>(data), size)))
        return 0;
    kv::basefile::BaseData base = reader.takeData();
    // The file form of an empty name is three spaces, which read back as such.
    for (auto &g : base.groups)
        if (g.name.empty())
            g.name = "   ";
    kv::basefile::BaseTextReader again;
    if (!again.read(kv::basefile::writeBaseText(base)) || !(again.data() == base))
        std::abort();
    return 0;
}
