#include "GLCallCounter.h"

#include <GL/glew.h>
#include <dlfcn.h>

namespace zarn::bench {

GLCallCounts glCallCounts;

namespace {

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// The driver's entry point for a GL 1.x function, looked up once.
#define ZARN_FORWARD_GL(counter, name, params, args)                                               \
    extern "C" void name params {                                                                  \
        static const auto real = next<void(*) params>(#name);                                      \
        ++glCallCounts.counter;                                                                    \
        real args;                                                                                 \
    }

} // namespace

} // namespace zarn::bench

using zarn::bench::glCallCounts;
using zarn::bench::next;

ZARN_FORWARD_GL(drawCalls, glDrawArrays, (GLenum mode, GLint first, GLsizei count),
                (mode, first, count))
ZARN_FORWARD_GL(drawCalls, glDrawElements,
                (GLenum mode, GLsizei count, GLenum type, const void* indices),
                (mode, count, type, indices))
ZARN_FORWARD_GL(stateChanges, glEnable, (GLenum cap), (cap))
ZARN_FORWARD_GL(stateChanges, glDisable, (GLenum cap), (cap))
ZARN_FORWARD_GL(stateChanges, glBindTexture, (GLenum target, GLuint texture), (target, texture))
ZARN_FORWARD_GL(stateChanges, glDepthFunc, (GLenum func), (func))
ZARN_FORWARD_GL(stateChanges, glDepthMask, (GLboolean flag), (flag))
ZARN_FORWARD_GL(stateChanges, glCullFace, (GLenum mode), (mode))
ZARN_FORWARD_GL(stateChanges, glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor))
ZARN_FORWARD_GL(stateChanges, glPolygonMode, (GLenum face, GLenum mode), (face, mode))
ZARN_FORWARD_GL(stateChanges, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height),
                (x, y, width, height))

namespace zarn::bench {

namespace {

// The driver's functions behind GLEW's pointers, saved before the swap.
#define ZARN_COUNT_GLEW(counter, pointer, type, params, args)                                      \
    type real_##pointer = nullptr;                                                                 \
    void GLAPIENTRY counting_##pointer params {                                                    \
        ++glCallCounts.counter;                                                                    \
        real_##pointer args;                                                                       \
    }

ZARN_COUNT_GLEW(drawCalls, __glewDrawArraysInstanced, PFNGLDRAWARRAYSINSTANCEDPROC,
                (GLenum mode, GLint first, GLsizei count, GLsizei instances),
                (mode, first, count, instances))
ZARN_COUNT_GLEW(drawCalls, __glewDrawElementsInstanced, PFNGLDRAWELEMENTSINSTANCEDPROC,
                (GLenum mode, GLsizei count, GLenum type, const void* indices, GLsizei instances),
                (mode, count, type, indices, instances))
ZARN_COUNT_GLEW(stateChanges, __glewUseProgram, PFNGLUSEPROGRAMPROC, (GLuint program), (program))
ZARN_COUNT_GLEW(stateChanges, __glewBindVertexArray, PFNGLBINDVERTEXARRAYPROC, (GLuint array),
                (array))
ZARN_COUNT_GLEW(stateChanges, __glewBindBuffer, PFNGLBINDBUFFERPROC, (GLenum target, GLuint buffer),
                (target, buffer))
ZARN_COUNT_GLEW(stateChanges, __glewBindFramebuffer, PFNGLBINDFRAMEBUFFERPROC,
                (GLenum target, GLuint framebuffer), (target, framebuffer))
ZARN_COUNT_GLEW(stateChanges, __glewActiveTexture, PFNGLACTIVETEXTUREPROC, (GLenum texture),
                (texture))
ZARN_COUNT_GLEW(uniformUploads, __glewUniform1i, PFNGLUNIFORM1IPROC, (GLint location, GLint v),
                (location, v))
ZARN_COUNT_GLEW(uniformUploads, __glewUniform1f, PFNGLUNIFORM1FPROC, (GLint location, GLfloat v),
                (location, v))
ZARN_COUNT_GLEW(uniformUploads, __glewUniform3f, PFNGLUNIFORM3FPROC,
                (GLint location, GLfloat x, GLfloat y, GLfloat z), (location, x, y, z))
ZARN_COUNT_GLEW(bufferUploads, __glewBufferData, PFNGLBUFFERDATAPROC,
                (GLenum target, GLsizeiptr size, const void* data, GLenum usage),
                (target, size, data, usage))
ZARN_COUNT_GLEW(bufferUploads, __glewBufferSubData, PFNGLBUFFERSUBDATAPROC,
                (GLenum target, GLintptr offset, GLsizeiptr size, const void* data),
                (target, offset, size, data))
ZARN_COUNT_GLEW(uniformUploads, __glewUniformMatrix4fv, PFNGLUNIFORMMATRIX4FVPROC,
                (GLint location, GLsizei count, GLboolean transpose, const GLfloat* v),
                (location, count, transpose, v))

template <typename Pointer> void route(Pointer& glew, Pointer& real, Pointer counting) {
    if (glew && glew != counting) {
        real = glew;
        glew = counting;
    }
}

} // namespace

void countGLCalls() {
#define ZARN_ROUTE(pointer) route(pointer, real_##pointer, &counting_##pointer)
    ZARN_ROUTE(__glewDrawArraysInstanced);
    ZARN_ROUTE(__glewDrawElementsInstanced);
    ZARN_ROUTE(__glewUseProgram);
    ZARN_ROUTE(__glewBindVertexArray);
    ZARN_ROUTE(__glewBindBuffer);
    ZARN_ROUTE(__glewBindFramebuffer);
    ZARN_ROUTE(__glewActiveTexture);
    ZARN_ROUTE(__glewUniform1i);
    ZARN_ROUTE(__glewUniform1f);
    ZARN_ROUTE(__glewUniform3f);
    ZARN_ROUTE(__glewBufferData);
    ZARN_ROUTE(__glewBufferSubData);
    ZARN_ROUTE(__glewUniformMatrix4fv);
#undef ZARN_ROUTE
}

} // namespace zarn::bench
