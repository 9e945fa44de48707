#include "ObjWriter.h"

#include <stb_image_write.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <map>
#include <system_error>

namespace assetgen {

namespace {

std::string number(float value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, double(value));
    std::string result = text;
    // "-0.00000" and "0.00000" are the same number; keep one spelling.
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1);
    return result;
}

// One record line: a keyword followed by fixed-precision numbers.
std::string record(const char* keyword, std::initializer_list<float> values, int decimals) {
    std::string line = keyword;
    for (float value : values) {
        line += ' ';
        line += number(value, decimals);
    }
    return line;
}

// Numbers the distinct lines of one kind in order of first use.
class LineTable {
public:
    int index(const std::string& line) {
        const auto [entry, added] = numbers_.emplace(line, int(lines_.size()) + 1);
        if (added)
            lines_.push_back(line);
        return entry->second;
    }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::map<std::string, int> numbers_;
    std::vector<std::string> lines_;
};

bool writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::cout << "assetgen: cannot write " << path.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace

std::string objText(const MeshBuilder& mesh, const std::string& objectName,
                    const std::string& mtlFile, const std::string& materialName) {
    LineTable positions, uvs, normals;
    std::string faces;
    const auto& vertices = mesh.vertices();
    for (std::size_t i = 0; i < vertices.size(); i += 3) {
        faces += "f";
        for (std::size_t c = 0; c < 3; ++c) {
            const MeshBuilder::Vertex& v = vertices[i + c];
            const int p =
                positions.index(record("v", {v.position.x, v.position.y, v.position.z}, 5));
            const int t = uvs.index(record("vt", {v.uv.x, v.uv.y}, 6));
            const int n = normals.index(record("vn", {v.normal.x, v.normal.y, v.normal.z}, 5));
            faces += ' ';
            faces += std::to_string(p);
            faces += '/';
            faces += std::to_string(t);
            faces += '/';
            faces += std::to_string(n);
        }
        faces += "\n";
    }
    std::string text = "mtllib " + mtlFile + "\n" + "o " + objectName + "\n";
    for (const LineTable* table : {&positions, &uvs, &normals})
        for (const std::string& line : table->lines())
            text += line + "\n";
    text += "usemtl " + materialName + "\ns off\n" + faces;
    return text;
}

std::string mtlText(const std::string& materialName, const std::string& textureFile) {
    return "newmtl " + materialName +
           "\n"
           "Ka 1.000000 1.000000 1.000000\n"
           "Kd 1.000000 1.000000 1.000000\n"
           "Ks 0.200000 0.200000 0.200000\n"
           "Ns 32.000000\n"
           "d 1.000000\n"
           "illum 2\n"
           "map_Kd " +
           textureFile + "\n";
}

bool writeObjModel(const std::filesystem::path& objPath, const MeshBuilder& mesh,
                   const MeshPalette& palette) {
    if (mesh.empty()) {
        std::cout << "assetgen: model " << objPath.string() << " has no faces" << std::endl;
        return false;
    }
    if (palette.full()) {
        std::cout << "assetgen: model " << objPath.string()
                  << " uses more colours than its palette holds" << std::endl;
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(objPath.parent_path(), error);
    if (error) {
        std::cout << "assetgen: cannot create " << objPath.parent_path().string() << ": "
                  << error.message() << std::endl;
        return false;
    }
    const std::string stem = objPath.stem().string();
    const std::filesystem::path mtlPath = objPath.parent_path() / (stem + ".mtl");
    const std::filesystem::path pngPath = objPath.parent_path() / (stem + ".png");
    const std::string material = stem + "Palette";
    if (!writeFile(objPath, objText(mesh, stem, stem + ".mtl", material)) ||
        !writeFile(mtlPath, mtlText(material, stem + ".png")))
        return false;
    const std::vector<std::uint8_t> pixels = palette.pixels();
    if (!stbi_write_png(pngPath.string().c_str(), palette.width(), palette.height(), 3,
                        pixels.data(), palette.width() * 3)) {
        std::cout << "assetgen: cannot write " << pngPath.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace assetgen
