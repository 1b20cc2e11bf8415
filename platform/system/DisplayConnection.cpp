#include "platform/system/DisplayConnection.h"

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool XServerAnswers() {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

// The compositor's socket: WAYLAND_DISPLAY (a name in XDG_RUNTIME_DIR, or a whole path),
// "wayland-0" when unset, as the client library finds it.
std::string WaylandSocketPath() {
    std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty()) {
        name = "wayland-0";
    }
    if (name.front() == '/') {
        return name;
    }
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    return runtime.empty() ? std::string() : runtime + "/" + name;
}

bool CompositorAnswers() {
    if (!Environment("WAYLAND_SOCKET").empty()) {
        return true; // a connection handed over by the launcher
    }
    const std::string path = WaylandSocketPath();
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return false;
    }
    const bool answers =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(socket);
    return answers;
}

std::string XProblem() {
    const std::string display = Environment("DISPLAY");
    return display.empty() ? "DISPLAY is not set"
                           : "the X display \"" + display + "\" (DISPLAY) does not answer";
}

std::string WaylandProblem() {
    const std::string path = WaylandSocketPath();
    return path.empty() ? "XDG_RUNTIME_DIR is not set"
                        : "the Wayland compositor at \"" + path + "\" does not answer";
}

TDisplayCheck Missing(const std::string& what) {
    return {"zorbix: cannot open a window: " + what +
                "; run it in a desktop session, or choose a window platform with QT_QPA_PLATFORM",
            {}};
}

} // namespace

TDisplayCheck CheckDisplay() {
    const std::string platform = Environment("QT_QPA_PLATFORM");
    const std::string_view chosen(platform);
    if (chosen.starts_with("xcb")) {
        return XServerAnswers() ? TDisplayCheck{} : Missing(XProblem());
    }
    if (chosen.starts_with("wayland")) {
        return CompositorAnswers() ? TDisplayCheck{} : Missing(WaylandProblem());
    }
    if (!platform.empty()) {
        return {}; // a platform without a display server (offscreen, say)
    }
    // The toolkit chooses between the two; where only one answers, that one is named for it.
    const bool x = !Environment("DISPLAY").empty() && XServerAnswers();
    const bool wayland =
        !Environment("WAYLAND_DISPLAY").empty() || !Environment("WAYLAND_SOCKET").empty()
            ? CompositorAnswers()
            : false;
    if (x && wayland) {
        return {};
    }
    if (x) {
        return {{}, "xcb"};
    }
    if (wayland) {
        return {{}, "wayland"};
    }
    if (Environment("DISPLAY").empty() && Environment("WAYLAND_DISPLAY").empty()) {
        return Missing("neither DISPLAY nor WAYLAND_DISPLAY is set");
    }
    return Missing(Environment("DISPLAY").empty() ? WaylandProblem() : XProblem());
}
