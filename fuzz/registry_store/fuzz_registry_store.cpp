// The native registry store's file form: any bytes either parse into a store that writes
// back the same bytes, or are refused.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CRegistryStore store;
    if (store.Parse(data, size)) {
        std::vector<uint8_t> again = store.Serialize();
        if (again.size() != size || std::memcmp(again.data(), data, size) != 0)
            std::abort();
    }
    return 0;
}
