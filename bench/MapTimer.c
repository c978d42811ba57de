/* Starts a program and prints, in milliseconds, how long it took until its
 * first top-level window was mapped on the X server (the MapNotify seen on
 * the root window), then after a pause for the first paint the program's
 * peak resident memory (VmHWM, KiB) and the window's size then, and ends
 * the program.
 *
 *   map-timer SETTLE-MS PROGRAM [ARGS...]   prints "map_ms RSS_KIB WIDTH HEIGHT"
 *
 * Needs a bare X server without a window manager (Xvfb): windows are
 * mapped directly on the root window. */
#define _DEFAULT_SOURCE
#include <X11/Xlib.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1e6;
}

static long PeakRss(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* file = fopen(path, "r");
    if (file == NULL)
        return -1;
    char line[256];
    long kib = -1;
    while (fgets(line, sizeof line, file) != NULL)
        if (strncmp(line, "VmHWM:", 6) == 0)
            kib = strtol(line + 6, NULL, 10);
    fclose(file);
    return kib;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: map-timer SETTLE-MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const long settleMs = strtol(argv[1], NULL, 10);
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "map-timer: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapped = -1;
    Window window = None;
    const int fd = ConnectionNumber(display);
    while (mapped < 0 && Now() - start < 30000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            /* Qt's own helper windows are never mapped; tooltips and menus
             * are override-redirect. */
            if (event.type == MapNotify && !event.xmap.override_redirect && mapped < 0) {
                mapped = Now() - start;
                window = event.xmap.window;
            }
        }
        if (mapped >= 0 || waitpid(pid, NULL, WNOHANG) == pid)
            break;
        fd_set read;
        FD_ZERO(&read);
        FD_SET(fd, &read);
        struct timeval wait = {0, 20000};
        select(fd + 1, &read, NULL, NULL, &wait);
    }
    if (mapped < 0) {
        fprintf(stderr, "map-timer: no window was mapped\n");
        kill(pid, SIGKILL);
        return 1;
    }
    usleep((useconds_t)settleMs * 1000);
    const long rss = PeakRss(pid);
    XWindowAttributes attributes;
    int width = 0, height = 0;
    if (XGetWindowAttributes(display, window, &attributes)) {
        width = attributes.width;
        height = attributes.height;
    }
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    printf("%.1f %ld %d %d\n", mapped, rss, width, height);
    return 0;
}
