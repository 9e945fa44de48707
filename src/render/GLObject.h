#pragma once

#include <GL/glew.h>

#include <utility>

namespace zarn {

// Owns one OpenGL object name of the kind Kind generates and deletes. Owners
// move but never copy, and delete their object when they die, so each object
// is freed exactly once; they must all be gone before the context is.
template <typename Kind> class GLObject {
public:
    GLObject() = default;
    ~GLObject() { reset(); }
    GLObject(GLObject&& other) noexcept : name(std::exchange(other.name, 0)) {}
    GLObject& operator=(GLObject&& other) noexcept {
        if (this != &other) {
            reset();
            name = std::exchange(other.name, 0);
        }
        return *this;
    }
    GLObject(const GLObject&) = delete;
    GLObject& operator=(const GLObject&) = delete;

    // A new object of this kind.
    static GLObject generate() {
        GLObject object;
        Kind::generate(object.name);
        return object;
    }
    // Takes over an object some other code generated.
    static GLObject adopt(GLuint existing) {
        GLObject object;
        object.name = existing;
        return object;
    }

    GLuint id() const { return name; }
    explicit operator bool() const { return name != 0; }

    void reset() {
        if (name != 0)
            Kind::destroy(name);
        name = 0;
    }

private:
    GLuint name = 0;
};

} // namespace zarn
