// OpenGL 3.3 core entry points, loaded through SDL's proc-address call.
//
// Internal to the platform layer. Functions live in platform::gl with the
// "gl" prefix dropped (gl::Viewport for glViewport), so they never clash with
// the symbols of the system's GL library. Load() is called by the application
// object once a context is current; Available() tells whether GL may be called.
#pragma once

#include <GL/glcorearb.h>

namespace platform::gl {

#define ZANDROVIA_GL_FUNCTIONS(X)                                             \
    X(PFNGLGETERRORPROC, GetError)                                            \
    X(PFNGLGETSTRINGPROC, GetString)                                          \
    X(PFNGLGETINTEGERVPROC, GetIntegerv)                                      \
    X(PFNGLVIEWPORTPROC, Viewport)                                            \
    X(PFNGLSCISSORPROC, Scissor)                                              \
    X(PFNGLENABLEPROC, Enable)                                                \
    X(PFNGLDISABLEPROC, Disable)                                              \
    X(PFNGLCLEARPROC, Clear)                                                  \
    X(PFNGLCLEARCOLORPROC, ClearColor)                                        \
    X(PFNGLCOLORMASKPROC, ColorMask)                                          \
    X(PFNGLBLENDFUNCPROC, BlendFunc)                                          \
    X(PFNGLBLENDFUNCSEPARATEPROC, BlendFuncSeparate)                          \
    X(PFNGLGENTEXTURESPROC, GenTextures)                                      \
    X(PFNGLDELETETEXTURESPROC, DeleteTextures)                                \
    X(PFNGLBINDTEXTUREPROC, BindTexture)                                      \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                  \
    X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                        \
    X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                                  \
    X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                  \
    X(PFNGLGENERATEMIPMAPPROC, GenerateMipmap)                                \
    X(PFNGLPIXELSTOREIPROC, PixelStorei)                                      \
    X(PFNGLREADPIXELSPROC, ReadPixels)                                        \
    X(PFNGLFINISHPROC, Finish)                                                \
    X(PFNGLFLUSHPROC, Flush)                                                  \
    X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                              \
    X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                        \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                              \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)                    \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)                \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                        \
    X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                  \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                        \
    X(PFNGLBUFFERDATAPROC, BufferData)                                        \
    X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                                  \
    X(PFNGLMAPBUFFERRANGEPROC, MapBufferRange)                                \
    X(PFNGLUNMAPBUFFERPROC, UnmapBuffer)                                      \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                              \
    X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                        \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                              \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                      \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)              \
    X(PFNGLCREATESHADERPROC, CreateShader)                                    \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                                    \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                                  \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                                      \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                            \
    X(PFNGLDELETESHADERPROC, DeleteShader)                                    \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                  \
    X(PFNGLATTACHSHADERPROC, AttachShader)                                    \
    X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                        \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                                      \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                    \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                          \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                        \
    X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                  \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                        \
    X(PFNGLUNIFORM1IPROC, Uniform1i)                                          \
    X(PFNGLUNIFORM2FPROC, Uniform2f)                                          \
    X(PFNGLUNIFORM3FPROC, Uniform3f)                                          \
    X(PFNGLUNIFORM4FPROC, Uniform4f)                                          \
    X(PFNGLDRAWELEMENTSPROC, DrawElements)                                    \
    X(PFNGLDRAWELEMENTSBASEVERTEXPROC, DrawElementsBaseVertex)                \
    X(PFNGLDRAWARRAYSPROC, DrawArrays)

#define ZANDROVIA_GL_DECLARE(type, name) extern type name;
ZANDROVIA_GL_FUNCTIONS(ZANDROVIA_GL_DECLARE)
#undef ZANDROVIA_GL_DECLARE

// Loads every entry point; false (with the missing name in *missing) when one is absent.
bool Load(const char** missing = nullptr);
// Whether a context is made and the entry points are loaded.
bool Available();
// Counts the contexts loaded so far, so GL objects can tell whether they
// belong to the current one.
unsigned Generation();
// Called by the application object when it destroys its context: GL objects
// that outlive it are then forgotten instead of deleted.
void ContextLost();

}  // namespace platform::gl
