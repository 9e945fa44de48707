#include "ColladaWriter.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iostream>

namespace assetgen {

namespace {

// Shortest text that reads back as the same float; values that are zero up
// to rounding noise are written as 0 to keep the files tidy.
void appendFloat(std::string& out, float value) {
    if (std::fabs(value) < 1e-6f) {
        value = 0.0f;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendInt(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// COLLADA matrices are written row by row; glm stores columns.
void appendMatrix(std::string& out, const glm::mat4& m) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            if (row + column > 0) {
                out += ' ';
            }
            appendFloat(out, m[column][row]);
        }
    }
}

class XmlText {
public:
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

    void open(const std::string& tagWithAttributes) {
        indent();
        text += '<' + tagWithAttributes + ">\n";
        ++depth_;
    }
    void close(const std::string& tag) {
        --depth_;
        indent();
        text += "</" + tag + ">\n";
    }
    void leaf(const std::string& tagWithAttributes) {
        indent();
        text += '<' + tagWithAttributes + "/>\n";
    }
    void element(const std::string& tagWithAttributes, const std::string& tag,
                 const std::string& content) {
        indent();
        text += '<' + tagWithAttributes + '>' + content + "</" + tag + ">\n";
    }

private:
    void indent() { text.append(static_cast<std::size_t>(depth_) * 2, ' '); }

    int depth_ = 0;
};

std::string quoted(const std::string& value) {
    return '"' + value + '"';
}

std::string count(std::size_t value) {
    return quoted(std::to_string(value));
}

void writeFloatSource(XmlText& xml, const std::string& id, const std::vector<float>& values,
                      std::size_t stride, const std::vector<std::string>& params,
                      const std::string& paramType) {
    std::string data;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            data += ' ';
        }
        appendFloat(data, values[i]);
    }
    xml.open("source id=" + quoted(id));
    xml.element("float_array id=" + quoted(id + "-array") + " count=" + count(values.size()),
                "float_array", data);
    xml.open("technique_common");
    xml.open("accessor source=" + quoted('#' + id + "-array") +
             " count=" + count(values.size() / stride) + " stride=" + count(stride));
    for (const std::string& param : params) {
        xml.leaf("param name=" + quoted(param) + " type=" + quoted(paramType));
    }
    xml.close("accessor");
    xml.close("technique_common");
    xml.close("source");
}

void writeNameSource(XmlText& xml, const std::string& id, const std::vector<std::string>& names,
                     const std::string& param) {
    std::string data;
    for (std::size_t i = 0; i < names.size(); ++i) {
        data += (i > 0 ? " " : "") + names[i];
    }
    xml.open("source id=" + quoted(id));
    xml.element("Name_array id=" + quoted(id + "-array") + " count=" + count(names.size()),
                "Name_array", data);
    xml.open("technique_common");
    xml.open("accessor source=" + quoted('#' + id + "-array") + " count=" + count(names.size()) +
             " stride=\"1\"");
    xml.leaf("param name=" + quoted(param) + " type=\"name\"");
    xml.close("accessor");
    xml.close("technique_common");
    xml.close("source");
}

std::vector<float> flatten(const std::vector<glm::vec3>& values) {
    std::vector<float> out;
    for (const glm::vec3& v : values) {
        out.insert(out.end(), {v.x, v.y, v.z});
    }
    return out;
}

std::vector<float> flatten(const std::vector<glm::mat4>& values) {
    std::vector<float> out;
    for (const glm::mat4& m : values) {
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                out.push_back(m[column][row]);
            }
        }
    }
    return out;
}

void writeMaterials(XmlText& xml, const ColladaDocument& doc) {
    const std::string& n = doc.name;
    xml.open("library_images");
    xml.open("image id=" + quoted(n + "-image") + " name=" + quoted(n + "-image"));
    xml.element("init_from", "init_from", doc.textureFile);
    xml.close("image");
    xml.close("library_images");

    xml.open("library_effects");
    xml.open("effect id=" + quoted(n + "-effect"));
    xml.open("profile_COMMON");
    xml.open("newparam sid=" + quoted(n + "-surface"));
    xml.open("surface type=\"2D\"");
    xml.element("init_from", "init_from", n + "-image");
    xml.close("surface");
    xml.close("newparam");
    xml.open("newparam sid=" + quoted(n + "-sampler"));
    xml.open("sampler2D");
    xml.element("source", "source", n + "-surface");
    xml.close("sampler2D");
    xml.close("newparam");
    xml.open("technique sid=\"common\"");
    xml.open("lambert");
    xml.open("diffuse");
    xml.leaf("texture texture=" + quoted(n + "-sampler") + " texcoord=\"UVMap\"");
    xml.close("diffuse");
    xml.close("lambert");
    xml.close("technique");
    xml.close("profile_COMMON");
    xml.close("effect");
    xml.close("library_effects");

    xml.open("library_materials");
    xml.open("material id=" + quoted(n + "-material") + " name=" + quoted(n + "-material"));
    xml.leaf("instance_effect url=" + quoted('#' + n + "-effect"));
    xml.close("material");
    xml.close("library_materials");
}

void writeGeometry(XmlText& xml, const ColladaDocument& doc) {
    const std::string id = doc.name + "-mesh";
    const SkinMesh& mesh = doc.mesh;
    xml.open("library_geometries");
    xml.open("geometry id=" + quoted(id) + " name=" + quoted(doc.name));
    xml.open("mesh");
    writeFloatSource(xml, id + "-positions", flatten(mesh.positions), 3, {"X", "Y", "Z"}, "float");
    writeFloatSource(xml, id + "-normals", flatten(mesh.normals), 3, {"X", "Y", "Z"}, "float");
    std::vector<float> uvs;
    for (const glm::vec2& uv : mesh.uvs) {
        uvs.insert(uvs.end(), {uv.x, uv.y});
    }
    writeFloatSource(xml, id + "-uvs", uvs, 2, {"S", "T"}, "float");
    xml.open("vertices id=" + quoted(id + "-vertices"));
    xml.leaf("input semantic=\"POSITION\" source=" + quoted('#' + id + "-positions"));
    xml.close("vertices");
    xml.open("triangles material=" + quoted(doc.name + "-material") +
             " count=" + count(mesh.triangleCount()));
    xml.leaf("input semantic=\"VERTEX\" source=" + quoted('#' + id + "-vertices") +
             " offset=\"0\"");
    xml.leaf("input semantic=\"NORMAL\" source=" + quoted('#' + id + "-normals") + " offset=\"1\"");
    xml.leaf("input semantic=\"TEXCOORD\" source=" + quoted('#' + id + "-uvs") +
             " offset=\"2\" set=\"0\"");
    std::string p;
    for (const SkinMesh::Corner& c : mesh.corners) {
        if (!p.empty()) {
            p += ' ';
        }
        appendInt(p, c.position);
        p += ' ';
        appendInt(p, c.normal);
        p += ' ';
        appendInt(p, c.uv);
    }
    xml.element("p", "p", p);
    xml.close("triangles");
    xml.close("mesh");
    xml.close("geometry");
    xml.close("library_geometries");
}

void writeController(XmlText& xml, const ColladaDocument& doc) {
    const std::string id = doc.name + "-skin";
    const SkinSkeleton& skeleton = doc.skeleton;
    std::vector<std::string> names;
    std::vector<glm::mat4> inverseBinds;
    for (std::size_t j = 0; j < skeleton.joints.size(); ++j) {
        names.push_back(skeleton.joints[j].name);
        inverseBinds.push_back(glm::inverse(skeleton.bindWorld(static_cast<int>(j))));
    }

    std::vector<float> weights;
    std::string vcount;
    std::string v;
    for (const std::vector<SkinMesh::Influence>& list : doc.mesh.influences) {
        if (!vcount.empty()) {
            vcount += ' ';
        }
        appendInt(vcount, static_cast<long long>(list.size()));
        for (const SkinMesh::Influence& influence : list) {
            if (!v.empty()) {
                v += ' ';
            }
            appendInt(v, influence.joint);
            v += ' ';
            appendInt(v, static_cast<long long>(weights.size()));
            weights.push_back(influence.weight);
        }
    }

    xml.open("library_controllers");
    xml.open("controller id=" + quoted(id) + " name=" + quoted(id));
    xml.open("skin source=" + quoted('#' + doc.name + "-mesh"));
    std::string identity;
    appendMatrix(identity, glm::mat4(1.0f));
    xml.element("bind_shape_matrix", "bind_shape_matrix", identity);
    writeNameSource(xml, id + "-joints", names, "JOINT");
    writeFloatSource(xml, id + "-bind-poses", flatten(inverseBinds), 16, {"TRANSFORM"}, "float4x4");
    writeFloatSource(xml, id + "-weights", weights, 1, {"WEIGHT"}, "float");
    xml.open("joints");
    xml.leaf("input semantic=\"JOINT\" source=" + quoted('#' + id + "-joints"));
    xml.leaf("input semantic=\"INV_BIND_MATRIX\" source=" + quoted('#' + id + "-bind-poses"));
    xml.close("joints");
    xml.open("vertex_weights count=" + count(doc.mesh.influences.size()));
    xml.leaf("input semantic=\"JOINT\" source=" + quoted('#' + id + "-joints") + " offset=\"0\"");
    xml.leaf("input semantic=\"WEIGHT\" source=" + quoted('#' + id + "-weights") + " offset=\"1\"");
    xml.element("vcount", "vcount", vcount);
    xml.element("v", "v", v);
    xml.close("vertex_weights");
    xml.close("skin");
    xml.close("controller");
    xml.close("library_controllers");
}

void writeAnimation(XmlText& xml, const ColladaDocument& doc) {
    const SkinAnimation& clip = doc.animation;
    const std::string base = doc.name + '-' + clip.name;
    xml.open("library_animations");
    // One animation element with a channel per joint imports as one clip.
    xml.open("animation id=" + quoted(base) + " name=" + quoted(clip.name));
    for (std::size_t j = 0; j < clip.keys.size(); ++j) {
        if (clip.keys[j].empty()) {
            continue;
        }
        const std::string& joint = doc.skeleton.joints[j].name;
        const std::string id = base + '-' + joint;
        writeFloatSource(xml, id + "-input", clip.times, 1, {"TIME"}, "float");
        writeFloatSource(xml, id + "-output", flatten(clip.keys[j]), 16, {"TRANSFORM"}, "float4x4");
        writeNameSource(xml, id + "-interpolation",
                        std::vector<std::string>(clip.times.size(), "LINEAR"), "INTERPOLATION");
        xml.open("sampler id=" + quoted(id + "-sampler"));
        xml.leaf("input semantic=\"INPUT\" source=" + quoted('#' + id + "-input"));
        xml.leaf("input semantic=\"OUTPUT\" source=" + quoted('#' + id + "-output"));
        xml.leaf("input semantic=\"INTERPOLATION\" source=" + quoted('#' + id + "-interpolation"));
        xml.close("sampler");
        xml.leaf("channel source=" + quoted('#' + id + "-sampler") +
                 " target=" + quoted(joint + "/transform"));
    }
    xml.close("animation");
    xml.close("library_animations");
}

void writeJointNode(XmlText& xml, const SkinSkeleton& skeleton, int joint) {
    const std::string& name = skeleton.joints[joint].name;
    xml.open("node id=" + quoted(name) + " name=" + quoted(name) + " sid=" + quoted(name) +
             " type=\"JOINT\"");
    std::string matrix;
    appendMatrix(matrix, skeleton.bindLocal(joint));
    xml.element("matrix sid=\"transform\"", "matrix", matrix);
    for (std::size_t child = 0; child < skeleton.joints.size(); ++child) {
        if (skeleton.joints[child].parent == joint) {
            writeJointNode(xml, skeleton, static_cast<int>(child));
        }
    }
    xml.close("node");
}

void writeScene(XmlText& xml, const ColladaDocument& doc) {
    const bool skinned = !doc.skeleton.joints.empty();
    xml.open("library_visual_scenes");
    xml.open("visual_scene id=\"Scene\" name=\"Scene\"");
    xml.open("node id=" + quoted(doc.name) + " name=" + quoted(doc.name) + " type=\"NODE\"");
    std::string identity;
    appendMatrix(identity, glm::mat4(1.0f));
    xml.element("matrix sid=\"transform\"", "matrix", identity);
    if (skinned) {
        xml.open("instance_controller url=" + quoted('#' + doc.name + "-skin"));
        xml.element("skeleton", "skeleton", '#' + doc.skeleton.joints.front().name);
    } else {
        xml.open("instance_geometry url=" + quoted('#' + doc.name + "-mesh"));
    }
    xml.open("bind_material");
    xml.open("technique_common");
    xml.open("instance_material symbol=" + quoted(doc.name + "-material") +
             " target=" + quoted('#' + doc.name + "-material"));
    xml.leaf("bind_vertex_input semantic=\"UVMap\" input_semantic=\"TEXCOORD\" input_set=\"0\"");
    xml.close("instance_material");
    xml.close("technique_common");
    xml.close("bind_material");
    xml.close(skinned ? "instance_controller" : "instance_geometry");
    xml.close("node");
    for (std::size_t j = 0; j < doc.skeleton.joints.size(); ++j) {
        if (doc.skeleton.joints[j].parent < 0) {
            writeJointNode(xml, doc.skeleton, static_cast<int>(j));
        }
    }
    xml.close("visual_scene");
    xml.close("library_visual_scenes");
}

} // namespace

std::string colladaText(const ColladaDocument& document) {
    XmlText xml;
    xml.open("COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\"");
    xml.open("asset");
    xml.open("contributor");
    xml.element("authoring_tool", "authoring_tool", "Zarn assetgen");
    xml.close("contributor");
    xml.leaf("unit name=\"meter\" meter=\"1\"");
    xml.element("up_axis", "up_axis", "Y_UP");
    xml.close("asset");
    writeMaterials(xml, document);
    writeGeometry(xml, document);
    const bool skinned = !document.skeleton.joints.empty();
    if (skinned) {
        writeController(xml, document);
        if (!document.animation.empty()) {
            writeAnimation(xml, document);
        }
    }
    writeScene(xml, document);
    xml.open("scene");
    xml.leaf("instance_visual_scene url=\"#Scene\"");
    xml.close("scene");
    xml.close("COLLADA");
    return xml.text;
}

bool writeColladaFile(const std::filesystem::path& file, const ColladaDocument& document) {
    const std::string text = colladaText(document);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        std::cout << "assetgen: cannot write " << file.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace assetgen
