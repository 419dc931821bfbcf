// What filter.sh looks at and does beside the program, on its own X connection:
//   velmora_ramps get          each CRTC's ramps: "<crtc> <size>", then the red,
//                              green and blue entries, a line each
//   velmora_ramps set R G B    every CRTC's ramps the identity times R, G, B, as
//                              a night-light tool writes them
//   velmora_ramps screen off|on  the first CRTC dark, or showing its output's
//                              first mode again, as when a monitor goes or comes
//   velmora_ramps reason       why the platform's colour filter cannot be had
//                              here; an empty line when it can
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/qt/platform.h"

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;
template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::vector<xcb_randr_crtc_t> crtcs(xcb_connection_t* c) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Reply<xcb_randr_get_screen_resources_current_reply_t> res(
        xcb_randr_get_screen_resources_current_reply(c, xcb_randr_get_screen_resources_current(c, root), nullptr),
        &std::free);
    if (!res) return {};
    const xcb_randr_crtc_t* first = xcb_randr_get_screen_resources_current_crtcs(res.get());
    return {first, first + xcb_randr_get_screen_resources_current_crtcs_length(res.get())};
}

void print(const std::uint16_t* values, int n) {
    for (int i = 0; i < n; ++i) std::printf(i == 0 ? "%u" : " %u", values[i]);
    std::printf("\n");
}

int get(xcb_connection_t* c) {
    for (const xcb_randr_crtc_t crtc : crtcs(c)) {
        const Reply<xcb_randr_get_crtc_gamma_reply_t> g(
            xcb_randr_get_crtc_gamma_reply(c, xcb_randr_get_crtc_gamma(c, crtc), nullptr), &std::free);
        if (!g) return 1;
        std::printf("%u %u\n", crtc, g->size);
        print(xcb_randr_get_crtc_gamma_red(g.get()), xcb_randr_get_crtc_gamma_red_length(g.get()));
        print(xcb_randr_get_crtc_gamma_green(g.get()), xcb_randr_get_crtc_gamma_green_length(g.get()));
        print(xcb_randr_get_crtc_gamma_blue(g.get()), xcb_randr_get_crtc_gamma_blue_length(g.get()));
    }
    return 0;
}

int set(xcb_connection_t* c, const double gains[3]) {
    for (const xcb_randr_crtc_t crtc : crtcs(c)) {
        const Reply<xcb_randr_get_crtc_gamma_size_reply_t> size(
            xcb_randr_get_crtc_gamma_size_reply(c, xcb_randr_get_crtc_gamma_size(c, crtc), nullptr), &std::free);
        if (!size || size->size < 2) continue;
        std::vector<std::uint16_t> ramps[3];
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < size->size; ++i) {
                ramps[k].push_back(static_cast<std::uint16_t>(std::lround(65535.0 * i / (size->size - 1) * gains[k])));
            }
        }
        const auto cookie =
            xcb_randr_set_crtc_gamma_checked(c, crtc, size->size, ramps[0].data(), ramps[1].data(), ramps[2].data());
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            std::free(error);
            return 1;
        }
    }
    return 0;
}

int screen(xcb_connection_t* c, bool on) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Reply<xcb_randr_get_screen_resources_current_reply_t> res(
        xcb_randr_get_screen_resources_current_reply(c, xcb_randr_get_screen_resources_current(c, root), nullptr),
        &std::free);
    if (!res || res->num_crtcs == 0 || res->num_outputs == 0 || res->num_modes == 0) return 1;
    const xcb_randr_crtc_t crtc = xcb_randr_get_screen_resources_current_crtcs(res.get())[0];
    xcb_randr_output_t output = xcb_randr_get_screen_resources_current_outputs(res.get())[0];
    const xcb_randr_mode_t mode = on ? xcb_randr_get_screen_resources_current_modes(res.get())[0].id : XCB_NONE;
    const Reply<xcb_randr_set_crtc_config_reply_t> done(
        xcb_randr_set_crtc_config_reply(
            c,
            xcb_randr_set_crtc_config(c, crtc, XCB_CURRENT_TIME, res->config_timestamp, 0, 0, mode,
                                      XCB_RANDR_ROTATION_ROTATE_0, on ? 1 : 0, &output),
            nullptr),
        &std::free);
    return done && done->status == XCB_RANDR_SET_CONFIG_SUCCESS ? 0 : 1;
}

int reason(int argc, char** argv) {
    const QApplication app(argc, argv);
    const velmora::platform::qt::QtPlatform platform;
    std::printf("%s\n", platform.filter.unavailableReason().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "reason") == 0) return reason(argc, argv);
    const Connection c(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(c.get()) != 0) {
        std::fputs("velmora_ramps: no X server\n", stderr);
        return 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "get") == 0) return get(c.get());
    if (argc == 5 && std::strcmp(argv[1], "set") == 0) {
        const double gains[3] = {std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4])};
        return set(c.get(), gains);
    }
    if (argc == 3 && std::strcmp(argv[1], "screen") == 0) return screen(c.get(), std::strcmp(argv[2], "on") == 0);
    std::fputs("usage: velmora_ramps get | set R G B | screen off|on | reason\n", stderr);
    return 2;
}
