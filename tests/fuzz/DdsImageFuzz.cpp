#include "render/DdsImage.h"

#include "FuzzFile.h"

using namespace zarn;
using zarn::fuzz::require;

// Any bytes as a .dds file: either an empty image, or a top level whose size
// matches its edges and whose data holds that many bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzFile file(".dds");
    const DdsImage image = loadDds(file.write(data, size).c_str());
    if (image.empty()) {
        require(!image.data && (image.width | image.height | image.size) == 0);
        return 0;
    }
    require(image.width >= 1 && image.width <= maxDdsEdge);
    require(image.height >= 1 && image.height <= maxDdsEdge);
    const std::uint32_t bytesPerBlock = image.format == 0x83F1 ? 8 : 16;
    require(image.size == compressedLevelSize(image.width, image.height, bytesPerBlock));
    require(image.data != nullptr && image.size + 128 <= size);
    // Reads the last byte, so that a short allocation shows up under ASan.
    volatile std::uint8_t last = image.data[image.size - 1];
    (void)last;
    return 0;
}
