#pragma once
// What a texture or vertex buffer shares with the device that made it. Resources may outlive
// their device (the game keeps its textures to the end of the process), so they never call
// OpenGL themselves: a dying resource leaves its object names here, and the device deletes
// them the next time its context is current. Once the device is gone its context has taken
// every object with it and the names are simply forgotten.

#include "platform/d3d/opengl/GLFunctions.h"

#include <functional>
#include <memory>
#include <vector>

struct TGLResourceLink {
    bool DeviceAlive = true;
    // Set by the device: draws what it holds back before a resource's content changes, since
    // those draws must see the content they were made with.
    std::function<void()> BeforeContentChange;

    void ContentChanging() {
        if (DeviceAlive && BeforeContentChange) {
            BeforeContentChange();
        }
    }
    std::vector<GLuint> DeadTextures;
    std::vector<GLuint> DeadBuffers;

    void ForgetTexture(GLuint name) {
        if (DeviceAlive && name != 0) {
            DeadTextures.push_back(name);
        }
    }
    void ForgetBuffer(GLuint name) {
        if (DeviceAlive && name != 0) {
            DeadBuffers.push_back(name);
        }
    }
    // Deletes what dying resources left behind; the device's context must be current.
    void DeleteDead(TGLFunctions& gl) {
        if (!DeadTextures.empty()) {
            gl.glDeleteTextures(static_cast<GLsizei>(DeadTextures.size()), DeadTextures.data());
            DeadTextures.clear();
        }
        if (!DeadBuffers.empty()) {
            gl.glDeleteBuffers(static_cast<GLsizei>(DeadBuffers.size()), DeadBuffers.data());
            DeadBuffers.clear();
        }
    }
};

using TGLResourceLinkRef = std::shared_ptr<TGLResourceLink>;
