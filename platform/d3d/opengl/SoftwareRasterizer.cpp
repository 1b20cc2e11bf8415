#include "platform/d3d/opengl/SoftwareRasterizer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace {
// Mesa's rasterisers for the central processor, by the names they report ("llvmpipe (LLVM
// 15.0.6, 256 bits)", "softpipe", "Software Rasterizer" or "swrast" for the classic one);
// lower case.
constexpr std::array<std::string_view, 4> SoftwareRendererNames{"llvmpipe", "softpipe",
                                                                "software rasterizer", "swrast"};
} // namespace

bool NamesSoftwareRasterizer(std::string_view renderer) {
    std::string lower(renderer);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(SoftwareRendererNames.begin(), SoftwareRendererNames.end(),
                       [&lower](std::string_view name) { return lower.find(name) != lower.npos; });
}
