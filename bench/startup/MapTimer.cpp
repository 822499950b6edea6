// Starts one program on the X server of $DISPLAY and prints the milliseconds from its exec to the
// first ordinary top-level window being mapped, then ends the program. Nothing in the program is
// changed or asked to help: the timer watches the root window's children, as a window manager would.
// Usage: map_timer TIMEOUT_MS PROGRAM [ARGS...]; exit status 1 when no window came in time.
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const double timeoutMs = std::atof(argv[1]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "map_timer: no X server at $DISPLAY\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so the selection is in force before the program starts.
    if (std::unique_ptr<xcb_generic_error_t, decltype(&free)> err{
            xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask)), &free}) {
        std::fprintf(stderr, "map_timer: cannot watch the root window\n");
        return 2;
    }

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        close(xcb_get_file_descriptor(c));
        dup2(2, 1); // the timer's output is the time alone
        execvp(argv[2], argv + 2);
        std::perror("map_timer: exec");
        _exit(127);
    }

    double mapped = -1;
    bool exited = false;
    while (mapped < 0) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY && !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect
                && mapped < 0)
                mapped = nowMs() - start;
            free(e);
        }
        if (mapped >= 0) break;
        if (xcb_connection_has_error(c)) break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            exited = true;
            break;
        }
        const double left = timeoutMs - (nowMs() - start);
        if (left <= 0) break;
        pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, left < 5 ? int(left) + 1 : 5);
    }
    if (!exited) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    xcb_disconnect(c);
    if (mapped < 0) {
        std::fprintf(stderr, "map_timer: %s showed no window\n", argv[2]);
        return 1;
    }
    std::printf("%.1f\n", mapped);
    return 0;
}
