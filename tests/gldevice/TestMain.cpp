// Runs the device tests inside a QApplication: on the xcb platform when a display exists (the
// OpenGL device needs one), otherwise offscreen, where the OpenGL tests skip.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <link.h>

namespace {

int KeepDriverLoaded(dl_phdr_info* module, std::size_t, void*) {
    if (module->dlpi_name != nullptr && std::strstr(module->dlpi_name, "_dri.so") != nullptr) {
        dlopen(module->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    // The OpenGL driver leaves a few bytes behind and is unloaded when the application closes
    // its display, before the leak checker runs; kept loaded, its leaks can be named and
    // matched by the suppression list.
    dl_iterate_phdr(KeepDriverLoaded, nullptr);
    return result;
}
