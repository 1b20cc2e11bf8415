// Which OpenGL renderers count as drawing on the central processor: Mesa's software
// rasterisers in every form they report themselves, and nothing that merely mentions LLVM.

#include "platform/d3d/opengl/SoftwareRasterizer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(SoftwareRasterizerTest, TellsSoftwareRenderersFromHardware) {
    const std::vector<std::pair<const char*, bool>> renderers{
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"LLVMPIPE (LLVM 11.0.1, 128 bits)", true},
        {"softpipe", true},
        {"Software Rasterizer", true},
        {"Mesa X11 swrast", true},
        {"zink Vulkan 1.3(llvmpipe (LLVM 15.0.6, 256 bits) (MESA_LLVMPIPE))", true},
        {"AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"NVIDIA GeForce RTX 3080/PCIe/SSE2", false},
        {"virgl (Intel(R) Iris(R) Xe Graphics (ADL GT2))", false},
        {"", false},
    };
    for (const auto& [renderer, software] : renderers) {
        EXPECT_EQ(NamesSoftwareRasterizer(renderer), software) << renderer;
    }
}
