// The Steam library list is read from a file any program of the user may have written: the
// parser must end on every input and give only folders made of the input's own bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "finder/SteamLibraries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t total = 0;
    for (const std::string& folder : wendmoor::ParseLibraryFolders(text)) {
        if (folder.empty()) std::abort();
        total += folder.size();
    }
    if (total > size) std::abort();
    return 0;
}
