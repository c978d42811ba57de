#include "ThreadDesignationChecks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zevko::fuzz::CheckThreadDesignation(zevko::fuzz::AsText(data, size));
    return 0;
}
