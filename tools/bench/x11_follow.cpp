// How closely a window follows the pointer: moves the pointer by XTest and
// times each move to the window's ConfigureNotify at the new place.
//   x11_follow CAPTION lag MOVES    one move at a random 80-300 ms interval, then
//                                   waits for the window; prints each lag in ms,
//                                   "missed" where none came within 500 ms
//   x11_follow CAPTION sweep SECONDS RATE   moves the pointer RATE times a second
// The window is found by caption among the root's children (no window manager).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::string name(Display* display, Window window) {
    static const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    for (const Atom atom : {netName, static_cast<Atom>(XA_WM_NAME)}) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, atom, 0, 1024, False, AnyPropertyType, &type, &format, &count, &after,
                               &data) == Success &&
            data != nullptr) {
            std::string text = format == 8 ? std::string(reinterpret_cast<char*>(data), count) : "";
            XFree(data);
            if (!text.empty()) return text;
        }
    }
    return {};
}

Window findMapped(Display* display, const std::string& caption) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = None;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) return None;
    for (unsigned i = 0; i < count && found == None; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display, children[i], &a) != 0 && a.map_state == IsViewable &&
            name(display, children[i]) == caption) {
            found = children[i];
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

void sleepMs(double ms) {
    const timespec t{static_cast<time_t>(ms / 1000), static_cast<long>(static_cast<long long>(ms * 1e6) % 1000000000)};
    nanosleep(&t, nullptr);
}

int errorsIgnored(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || (std::string(argv[2]) == "sweep" && argc != 5)) {
        std::fprintf(stderr, "usage: %s CAPTION lag MOVES | CAPTION sweep SECONDS RATE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    XSetErrorHandler(errorsIgnored);
    const Window window = findMapped(display, argv[1]);
    if (window == None) {
        std::fprintf(stderr, "no window captioned %s\n", argv[1]);
        return 1;
    }
    const int height = DisplayHeight(display, DefaultScreen(display));
    const int width = DisplayWidth(display, DefaultScreen(display));
    std::mt19937 random(12345);
    const std::string mode = argv[2];
    if (mode == "sweep") {
        const double seconds = std::atof(argv[3]);
        const double rate = std::max(1.0, std::atof(argv[4]));
        const double start = nowMs();
        for (int i = 0; nowMs() - start < seconds * 1000; ++i) {
            XTestFakeMotionEvent(display, -1, width / 3, 100 + (i * 7) % (height - 200), CurrentTime);
            XFlush(display);
            const double next = start + (i + 1) * 1000.0 / rate;
            if (next > nowMs()) sleepMs(next - nowMs());
        }
        XCloseDisplay(display);
        return 0;
    }
    XSelectInput(display, window, StructureNotifyMask);
    XSync(display, False);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    const int moves = std::atoi(argv[3]);
    std::uniform_int_distribution<int> pause(80, 300);
    int y = height / 2;
    for (int i = 0; i < moves; ++i) {
        sleepMs(pause(random));
        // Far enough each time that the strip must move; the strip stays whole, so keep off the edges.
        y = y < height / 2 ? y + height / 4 + i % 37 : y - height / 4 - i % 41;
        while (XPending(display) > 0) {
            XEvent stale;
            XNextEvent(display, &stale);
        }
        const double sent = nowMs();
        XTestFakeMotionEvent(display, -1, width / 3, y, CurrentTime);
        XFlush(display);
        bool seen = false;
        while (!seen && nowMs() - sent < 500) {
            if (XPending(display) == 0) {
                poll(&connection, 1, 5);
                continue;
            }
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ConfigureNotify) {
                const int centre = event.xconfigure.y + event.xconfigure.height / 2;
                if (std::abs(centre - y) <= 1) seen = true;
            }
        }
        if (seen) {
            std::printf("%.2f\n", nowMs() - sent);
        } else {
            std::printf("missed\n");
        }
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
