// Starts a program and reports, in milliseconds from just before it was started, when its first
// top-level window was mapped and when something was first drawn into it. It watches the X
// server's own events (structure notifications on the root window and DAMAGE on each new
// top-level window), so it costs the measured program nothing while it waits. It also reads the
// processor time the program had used by then (all its threads), which a busy machine skews less.
//   first_frame <program> [arguments...]
// prints "<mapped ms> <painted ms> <processor ms when mapped> <processor ms when painted>".
// The program is ended (SIGTERM) as soon as both are known; exit status 2 on a 10 s time-out.

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

xcb_extension_t damageExtension = {"DAMAGE", 0};

struct DamageQueryVersion {
    uint8_t major, minor;
    uint16_t length;
    uint32_t clientMajor, clientMinor;
};

struct DamageCreate {
    uint8_t major, minor;
    uint16_t length;
    uint32_t damage, drawable;
    uint8_t level, pad[3];
};

constexpr uint8_t kDamageNonEmpty = 3;  // one event when the window first gets any damage

template <typename Request>
unsigned send(xcb_connection_t* c, Request& request, uint8_t minorOpcode, bool isVoid)
{
    const xcb_protocol_request_t info = {2, &damageExtension, minorOpcode, uint8_t(isVoid)};
    iovec parts[4];
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    parts[3].iov_base = nullptr;
    parts[3].iov_len = -parts[2].iov_len & 3;
    return xcb_send_request(c, 0, parts + 2, &info);
}

double millisecondsSince(const timespec& start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start.tv_sec) * 1e3 + double(now.tv_nsec - start.tv_nsec) / 1e6;
}

// Time on a processor so far, summed over the process's threads (Linux schedstat, nanoseconds).
double processorMs(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/task", int(pid));
    DIR* tasks = opendir(path);
    if (!tasks)
        return -1;
    double total = 0;
    while (const dirent* task = readdir(tasks)) {
        if (task->d_name[0] == '.')
            continue;
        char file[300];
        std::snprintf(file, sizeof file, "/proc/%d/task/%s/schedstat", int(pid), task->d_name);
        if (FILE* f = std::fopen(file, "r")) {
            unsigned long long ns = 0;
            if (std::fscanf(f, "%llu", &ns) == 1)
                total += double(ns) / 1e6;
            std::fclose(f);
        }
    }
    closedir(tasks);
    return total;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [arguments...]\n", argv[0]);
        return 64;
    }
    // A server still closing the previous run's connections may refuse a new one for a moment.
    xcb_connection_t* c = nullptr;
    int error = 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        c = xcb_connect(nullptr, nullptr);
        error = xcb_connection_has_error(c);
        if (!error)
            break;
        xcb_disconnect(c);
        usleep(20000);
    }
    if (error) {
        std::fprintf(stderr, "first_frame: cannot open the display (error %d)\n", error);
        return 69;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);

    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &damageExtension);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "first_frame: the X server has no DAMAGE extension\n");
        return 69;
    }
    DamageQueryVersion version = {0, 0, 0, 1, 1};
    std::free(xcb_wait_for_reply(c, send(c, version, 0, false), nullptr));

    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror("first_frame: exec");
        _exit(127);
    }

    xcb_window_t mapped = XCB_NONE;
    double mappedMs = -1, paintedMs = -1, mappedCpu = -1, paintedCpu = -1;
    pollfd fd = {xcb_get_file_descriptor(c), POLLIN, 0};
    while (paintedMs < 0) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            if (millisecondsSince(start) > 10000 || waitpid(child, nullptr, WNOHANG) == child)
                break;
            poll(&fd, 1, 100);
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
            DamageCreate create = {0, 0, 0, xcb_generate_id(c), e->window, kDamageNonEmpty, {0, 0, 0}};
            send(c, create, 1, true);
            xcb_flush(c);
        } else if (type == XCB_MAP_NOTIFY && mapped == XCB_NONE) {
            mapped = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            mappedMs = millisecondsSince(start);
            mappedCpu = processorMs(child);
        } else if (type == damage->first_event && mapped != XCB_NONE) {
            // DamageNotify: the drawable follows the code, level and sequence number.
            uint32_t drawable;
            std::memcpy(&drawable, reinterpret_cast<const uint8_t*>(event) + 4, sizeof drawable);
            if (drawable == mapped) {
                paintedMs = millisecondsSince(start);
                kill(child, SIGSTOP);  // what it does next is not part of the first frame
                paintedCpu = processorMs(child);
            }
        }
        std::free(event);
    }
    kill(child, SIGTERM);
    kill(child, SIGCONT);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);
    if (paintedMs < 0) {
        std::fprintf(stderr, "first_frame: no painted window within 10 s\n");
        return 2;
    }
    std::printf("%.1f %.1f %.1f %.1f\n", mappedMs, paintedMs, mappedCpu, paintedCpu);
    return 0;
}
