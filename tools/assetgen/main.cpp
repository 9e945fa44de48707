#include "AssetWriters.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cout << "usage: assetgen <asset directory> <font file> <icon directory>" << std::endl;
        return 2;
    }
    const std::filesystem::path assetRoot = argv[1];
    const std::filesystem::path fontFile = argv[2];
    const std::filesystem::path iconRoot = argv[3];
    bool ok = assetgen::writeImageAssets(assetRoot, fontFile);
    ok = assetgen::writeStaticModels(assetRoot) && ok;
    ok = assetgen::writeFigureModels(assetRoot) && ok;
    ok = assetgen::writeSoundAssets(assetRoot) && ok;
    ok = assetgen::writeIcons(iconRoot, ZARN_APP_ID) && ok;
    return ok ? 0 : 1;
}
