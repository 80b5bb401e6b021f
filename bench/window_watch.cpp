// Watches an X display from the outside, so that the clock and a peer program are timed the
// same way, by what the X server sees rather than by what either program says of itself.
//
//   window-watch map -- PROGRAM [ARGS...]
//       Starts the program and prints the milliseconds from just before its exec to the mapping
//       of its first top-level window, then ends it.
//   window-watch changes SECONDS -- PROGRAM [ARGS...]
//       Starts the program, waits until its window is mapped and has settled, then for SECONDS
//       prints, for each wall-clock second in which the pixels on screen changed, how many
//       milliseconds after the start of that second they first changed. Then ends it.
//
// The display must be one that nothing else draws on (a private Xvfb).

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
};

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "window-watch: %s\n", why.c_str());
    std::exit(2);
}

double nowMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

Display connect() {
    Display d;
    d.connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(d.connection))
        fail("cannot open the display");
    d.root = xcb_setup_roots_iterator(xcb_get_setup(d.connection)).data->root;
    // Top-level windows are children of the root: their mapping is reported to it.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(d.connection, d.root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(d.connection);
    return d;
}

pid_t launch(char** argv) {
    const pid_t pid = fork();
    if (pid < 0)
        fail("cannot fork");
    if (pid == 0) {
        // What the program logs is not measured; both programs write it to nowhere.
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        dup2(nowhere, STDERR_FILENO);
        execvp(argv[0], argv);
        _exit(127);
    }
    return pid;
}

void end(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// Waits at most timeoutMs for an event; nothing when none came.
Reply<xcb_generic_event_t> eventWithin(const Display& d, int timeoutMs) {
    Reply<xcb_generic_event_t> event(xcb_poll_for_event(d.connection), &std::free);
    if (event)
        return event;
    pollfd fd{xcb_get_file_descriptor(d.connection), POLLIN, 0};
    poll(&fd, 1, timeoutMs);
    if (xcb_connection_has_error(d.connection))
        fail("the display connection was lost");
    return Reply<xcb_generic_event_t>(xcb_poll_for_event(d.connection), &std::free);
}

// Waits for a top-level window of the program that is not an override-redirect popup to be
// mapped; fails when the program ends first.
xcb_window_t waitForMappedWindow(const Display& d, pid_t pid) {
    for (;;) {
        const Reply<xcb_generic_event_t> event = eventWithin(d, 100);
        if (!event) {
            if (waitpid(pid, nullptr, WNOHANG) == pid)
                fail("the program ended before it mapped a window");
            continue;
        }
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
            continue;
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
        if (map->event == d.root && !map->override_redirect)
            return map->window;
    }
}

int timeMapping(char** argv) {
    const Display d = connect();
    const double start = nowMs(CLOCK_MONOTONIC);
    const pid_t pid = launch(argv);
    waitForMappedWindow(d, pid);
    std::printf("%.2f\n", nowMs(CLOCK_MONOTONIC) - start);
    end(pid);
    xcb_disconnect(d.connection);
    return 0;
}

// A fingerprint of the pixels inside the window's rectangle, read back from the server.
uint64_t screenHash(const Display& d, xcb_window_t window) {
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(d.connection, xcb_get_geometry(d.connection, window), nullptr),
        &std::free);
    if (!geometry)
        return 0;
    const Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(d.connection,
                            xcb_get_image(d.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          geometry->width, geometry->height, ~0u),
                            nullptr),
        &std::free);
    if (!image)
        return 0;
    const uint8_t* bytes = xcb_get_image_data(image.get());
    const int length = xcb_get_image_data_length(image.get());
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (int i = 0; i < length; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

void watchDamage(const Display& d) {
    const xcb_query_extension_reply_t* damage =
        xcb_get_extension_data(d.connection, &xcb_damage_id);
    if (damage == nullptr || !damage->present)
        fail("the display has no DAMAGE extension");
    free(xcb_damage_query_version_reply(d.connection, xcb_damage_query_version(d.connection, 1, 1),
                                        nullptr));
    // Damage on the root covers every window on it, the program's child windows included.
    xcb_damage_create(d.connection, xcb_generate_id(d.connection), d.root,
                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(d.connection);
}

// Drains the damage reports that have already arrived.
void drainEvents(const Display& d) {
    while (Reply<xcb_generic_event_t>(xcb_poll_for_event(d.connection), &std::free)) {
    }
}

int timeChanges(int seconds, char** argv) {
    const Display d = connect();
    const pid_t pid = launch(argv);
    const xcb_window_t window = waitForMappedWindow(d, pid);
    watchDamage(d);
    sleep(2); // the first paints after mapping are not ticks
    drainEvents(d);
    uint64_t shown = screenHash(d, window);
    long lastSecond = -1;
    const double stop = nowMs(CLOCK_REALTIME) + seconds * 1000.0;
    for (;;) {
        const bool damaged = eventWithin(d, 1000) != nullptr;
        const double at = nowMs(CLOCK_REALTIME);
        if (at >= stop)
            break;
        if (!damaged)
            continue;
        drainEvents(d);
        const uint64_t hash = screenHash(d, window);
        if (hash == shown)
            continue;
        shown = hash;
        const auto second = static_cast<long>(at / 1000.0);
        if (second != lastSecond)
            std::printf("%.3f\n", at - static_cast<double>(second) * 1000.0);
        std::fflush(stdout);
        lastSecond = second;
    }
    end(pid);
    xcb_disconnect(d.connection);
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: window-watch map -- PROGRAM [ARGS...]\n"
                         "       window-watch changes SECONDS -- PROGRAM [ARGS...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "map" && args[1] == "--")
        return timeMapping(argv + 3);
    if (args.size() >= 4 && args[0] == "changes" && args[2] == "--")
        return timeChanges(std::atoi(args[1].c_str()), argv + 4);
    return usage();
}
