// Starts a program and reports how long it took until its first top-level window was mapped and viewable,
// timed from the X server's map events rather than by polling:
//   bench_firstmap <timeout seconds> <program> [arguments...]
// Prints "pid=<pid> startup_ms=<milliseconds> cpu_ms=<milliseconds>" once the window is viewable, cpu_ms being
// the CPU time the program's threads had used by then (which a busy machine does not inflate). Then waits for
// the program to end and exits with its status. Exits with 2 if no window appeared in time (the program is then
// terminated), with 3 if the program ended first, and with 4 if the X server cannot be used.
//
// Every window a client creates starts as a child of the root window, so watching the root's substructure
// shows them all being created; a window manager then reparents each top-level into a frame and maps both.
// The client's window counts when it carries the program's _NET_WM_PID and the server calls it viewable
// (it and all its ancestors are mapped); that is checked at every map event seen on the root or on one of
// the windows created on it, and the time taken is that at which the event was read.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> owned(T *reply)
{
    return Reply<T>(reply, &std::free);
}

using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

class FirstMapWatch
{
public:
    explicit FirstMapWatch(xcb_connection_t *connection) : m_connection(connection)
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const char name[] = "_NET_WM_PID";
        const auto atom =
            owned(xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr));
        m_pidAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // Subscribes before the program starts, so that no window of it can be missed.
    bool watchRoot()
    {
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        const auto error = owned(xcb_request_check(
            m_connection, xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask)));
        return !error && m_pidAtom != XCB_ATOM_NONE;
    }

    void setProgram(pid_t pid) { m_pid = pid; }
    pid_t program() const { return m_pid; }

    // Handles one event; true once a window of the program is viewable.
    bool handle(const xcb_generic_event_t &event)
    {
        switch (event.response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const auto &created = reinterpret_cast<const xcb_create_notify_event_t &>(event);
            if (created.parent == m_root)
                follow(created.window);
            return false;
        }
        case XCB_MAP_NOTIFY:
            return anyProgramWindowViewable();
        default:
            return false;
        }
    }

private:
    // Its map events reach us wherever the window manager moves it.
    void follow(xcb_window_t window)
    {
        m_created.push_back(window);
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }

    bool anyProgramWindowViewable() const
    {
        for (const xcb_window_t window : m_created) {
            if (belongsToProgram(window) && isViewable(window))
                return true;
        }
        return false;
    }

    bool belongsToProgram(xcb_window_t window) const
    {
        const auto reply = owned(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4)
            return false;
        const uint32_t pid = *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
        return pid == static_cast<uint32_t>(m_pid);
    }

    bool isViewable(xcb_window_t window) const
    {
        const auto reply = owned(
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
    pid_t m_pid = 0;
    std::vector<xcb_window_t> m_created;
};

// The time on a CPU of every thread of the process, from the scheduler's own nanosecond account.
double cpuMilliseconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *directory = opendir(tasks.c_str());
    if (!directory)
        return -1;
    double nanoseconds = 0;
    while (const dirent *entry = readdir(directory)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu)
            nanoseconds += onCpu;
    }
    closedir(directory);
    return nanoseconds / 1e6;
}

int waitForProgram(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

bool programEnded(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

enum class Outcome { Shown, Ended, TimedOut, Lost };

// Reads the X events until a window of the program is viewable; `shown` is when that event was read.
Outcome waitForFirstMap(xcb_connection_t *connection, FirstMapWatch &watch, Clock::time_point deadline,
                        Clock::time_point &shown)
{
    pollfd readable = {xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        // A short poll also notices the program ending before it shows anything.
        if (poll(&readable, 1, 50) < 0 && errno != EINTR)
            return Outcome::Lost;
        while (const auto event = owned(xcb_poll_for_event(connection))) {
            shown = Clock::now();
            if (watch.handle(*event))
                return Outcome::Shown;
        }
        if (xcb_connection_has_error(connection))
            return Outcome::Lost;
        if (programEnded(watch.program()))
            return Outcome::Ended;
        if (Clock::now() > deadline)
            return Outcome::TimedOut;
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <timeout seconds> <program> [arguments...]\n", argv[0]);
        return 4;
    }
    const auto timeout = std::chrono::milliseconds(static_cast<long>(std::atof(argv[1]) * 1000));

    Connection connection(xcb_connect(nullptr, nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get())) {
        std::fprintf(stderr, "bench_firstmap: cannot connect to the X server\n");
        return 4;
    }
    FirstMapWatch watch(connection.get());
    if (!watch.watchRoot()) {
        std::fprintf(stderr, "bench_firstmap: cannot watch the root window\n");
        return 4;
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("bench_firstmap: fork");
        return 4;
    }
    if (pid == 0) {
        close(xcb_get_file_descriptor(connection.get()));
        execvp(argv[2], argv + 2);
        std::perror("bench_firstmap: exec");
        _exit(127);
    }
    watch.setProgram(pid);

    Clock::time_point shown;
    switch (waitForFirstMap(connection.get(), watch, start + timeout, shown)) {
    case Outcome::Shown: {
        const double cpuMs = cpuMilliseconds(pid);
        const double ms = std::chrono::duration<double, std::milli>(shown - start).count();
        std::printf("pid=%d startup_ms=%.2f cpu_ms=%.2f\n", static_cast<int>(pid), ms, cpuMs);
        std::fflush(stdout);
        connection.reset();
        return waitForProgram(pid);
    }
    case Outcome::Ended:
        std::fprintf(stderr, "bench_firstmap: the program ended before showing a window\n");
        return 3;
    case Outcome::TimedOut:
        std::fprintf(stderr, "bench_firstmap: no window within %s s\n", argv[1]);
        kill(pid, SIGTERM);
        waitForProgram(pid);
        return 2;
    case Outcome::Lost:
        break;
    }
    std::fprintf(stderr, "bench_firstmap: lost the X server\n");
    kill(pid, SIGTERM);
    waitForProgram(pid);
    return 4;
}
