// Starts a program under the X server of $DISPLAY and times, from just before its exec, the
// mapping of its first top-level window and the first drawing into that window (the X
// server's damage report: the program's first paint reaching the screen). Prints
//   map <ms> paint <ms>
// then ends the program (SIGTERM, then SIGKILL) and waits for it.
//   bench-start-watch [--timeout seconds] program [arguments]
// The program finds the moment of its exec in ZRK_TRACE_EXEC_MS (the monotonic clock, ms),
// for its start-up trace; with WATCH_VERBOSE=1 every window event is printed as it comes.
// Watching the root window costs the same for every program watched, and nothing is polled:
// the figures are the X server's own event order.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

double nowMs() {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

// Windows made by Qt for its own use may come and go: an X error about them is no fault.
int ignoreErrors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

void endChild(pid_t child) {
    kill(child, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(child, NULL, WNOHANG) == child) return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
}

}  // namespace

int main(int argc, char** argv) {
    double timeout = 20.0;
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "--timeout") == 0) {
        timeout = atof(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: bench-start-watch [--timeout seconds] program [arguments]\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const bool verbose = getenv("WATCH_VERBOSE") && *getenv("WATCH_VERBOSE") == '1';
    const double start = nowMs();
    char execMs[64];
    snprintf(execMs, sizeof execMs, "%.3f", start);
    setenv("ZRK_TRACE_EXEC_MS", execMs, 1);
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        close(ConnectionNumber(dpy));
        execvp(argv[first], argv + first);
        fprintf(stderr, "cannot start %s: %s\n", argv[first], strerror(errno));
        _exit(127);
    }

    Window shown = None;
    double mapMs = -1, paintMs = -1;
    const int fd = ConnectionNumber(dpy);
    while (paintMs < 0) {
        while (!XPending(dpy)) {
            const double left = timeout * 1e3 - (nowMs() - start);
            if (left <= 0 || waitpid(child, NULL, WNOHANG) == child) {
                fprintf(stderr, "no window shown\n");
                endChild(child);
                return 1;
            }
            fd_set in;
            FD_ZERO(&in);
            FD_SET(fd, &in);
            struct timeval tv = {0, 50000};
            select(fd + 1, &in, NULL, NULL, &tv);
        }
        XEvent e;
        XNextEvent(dpy, &e);
        const double t = nowMs() - start;
        if (verbose) {
            const Window w = e.type == CreateNotify ? e.xcreatewindow.window
                             : e.type == MapNotify  ? e.xmap.window
                             : e.type == damageEvent + XDamageNotify
                                 ? reinterpret_cast<const XDamageNotifyEvent*>(&e)->drawable
                                 : None;
            char* name = nullptr;
            if (w != None) XFetchName(dpy, w, &name);
            fprintf(stderr, "watch %8.2f ms  event %d  window 0x%lx \"%s\"\n", t, e.type, w,
                    name ? name : "");
            if (name) XFree(name);
        }
        if (e.type == CreateNotify && !e.xcreatewindow.override_redirect) {
            // Watched from its creation, so that no drawing can come before the watch.
            XDamageCreate(dpy, e.xcreatewindow.window, XDamageReportRawRectangles);
        } else if (e.type == MapNotify && !e.xmap.override_redirect) {
            // A second window before the first paint (a message box) would make the figures
            // those of another window than the one meant.
            if (shown != None)
                fprintf(stderr, "another window mapped at %.2f ms\n", t);
            else {
                shown = e.xmap.window;
                mapMs = t;
            }
        } else if (e.type == damageEvent + XDamageNotify) {
            const auto* d = reinterpret_cast<const XDamageNotifyEvent*>(&e);
            if (shown != None && d->drawable == shown) paintMs = t;
        }
    }
    printf("map %.2f paint %.2f\n", mapMs, paintMs);
    fflush(stdout);
    endChild(child);
    XCloseDisplay(dpy);
    return 0;
}
