#include "app/Settings.h"

#include "FuzzFile.h"

using namespace zarn;
using zarn::fuzz::require;

// Any bytes as the settings file; the window size check must agree with the
// edge limits for whatever the reader made of them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzFile file(".ini");
    const Settings settings = loadSettings(file.write(data, size));
    const bool fits = settings.width >= 1 && settings.width <= maxWindowEdge &&
                      settings.height >= 1 && settings.height <= maxWindowEdge;
    require(fits == !windowSizeError(settings).has_value());
    return 0;
}
