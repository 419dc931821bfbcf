// Waits for a window of that caption to be mapped and prints when the X server
// said so, as seconds since the epoch (the clock of bash's $EPOCHREALTIME):
//   x11_mapped CAPTION   prints "ready" once it watches, then "SECONDS"
// With no window manager (as under the benchmark's Xvfb) top-level windows are
// children of the root, so the root's substructure events show every mapping.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <cstdio>
#include <ctime>
#include <set>
#include <string>

namespace {

timespec now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t;
}

double msSince(timespec start) {
    const timespec t = now(CLOCK_MONOTONIC);
    return static_cast<double>(t.tv_sec - start.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec - start.tv_nsec) / 1e6;
}

std::string property(Display* display, Window window, Atom name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) != Success) {
        return {};
    }
    std::string text = data != nullptr && format == 8 ? std::string(reinterpret_cast<char*>(data), count) : "";
    if (data != nullptr) XFree(data);
    return text;
}

bool captioned(Display* display, Window window, const std::string& caption) {
    static const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    return property(display, window, netName) == caption || property(display, window, XA_WM_NAME) == caption;
}

int errorsIgnored(Display*, XErrorEvent*) { return 0; }  // a window may be gone before we ask about it

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CAPTION\n", argv[0]);
        return 2;
    }
    const std::string caption = argv[1];
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(errorsIgnored);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);

    // A window mapped before it had its caption is looked at again when its name changes.
    std::set<Window> mapped;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    const timespec start = now(CLOCK_MONOTONIC);
    while (msSince(start) < 30000) {
        if (XPending(display) == 0) {
            poll(&connection, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const timespec at = now(CLOCK_REALTIME);
        Window window = None;
        if (event.type == MapNotify) {
            window = event.xmap.window;
            mapped.insert(window);
            XSelectInput(display, window, PropertyChangeMask);
        } else if (event.type == PropertyNotify && mapped.count(event.xproperty.window) != 0) {
            window = event.xproperty.window;
        } else if (event.type == UnmapNotify) {
            mapped.erase(event.xunmap.window);
        }
        if (window != None && captioned(display, window, caption)) {
            std::printf("%lld.%06ld\n", static_cast<long long>(at.tv_sec), at.tv_nsec / 1000);
            return 0;
        }
    }
    std::fprintf(stderr, "no window \"%s\" mapped within 30 s\n", caption.c_str());
    return 1;
}
