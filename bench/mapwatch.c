/* mapwatch: starts a program and reports how long it took until its first window was mapped on the X
 * display, as a person would first see it.
 *
 *   mapwatch [-n NAME] [-t TIMEOUT_MS] [-m AFTER_MS] -- PROGRAM [ARG...]
 *
 * The root window's substructure is watched before the program starts, so no map can be missed. A
 * reparenting window manager (openbox) maps the program's window inside its own frame, and only the
 * frame's map reaches the root; so the program's own top-level windows are caught as they are created
 * and watched themselves, and a map of a root child is also accepted when a matching window lies in its
 * tree. With -n, only a window whose WM_NAME contains NAME counts. With -m, AFTER_MS milliseconds after
 * the map the program's peak resident memory so far (VmHWM) is read: under Wine the process started is,
 * after its exec's, the Windows program itself. The program is killed then: what comes after is measured
 * by other means.
 *
 * Output, one line: "mapped <milliseconds> window 0x<id>" (with -m: " peak_kib <KiB>"), or "timeout"
 * (exit 1). */
#define _POSIX_C_SOURCE 200809L

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* The process's peak resident set in KiB, or -1 when it cannot be read. */
static long peak_kib(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *status = fopen(path, "r");
    if (status == NULL) return -1;
    char line[256];
    long kib = -1;
    while (fgets(line, sizeof line, status) != NULL) {
        if (sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
    }
    fclose(status);
    return kib;
}

static void sleep_ms(int ms) {
    struct timespec span = {ms / 1000, (long)(ms % 1000) * 1000000L};
    while (nanosleep(&span, &span) != 0) {
    }
}

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* A BadWindow from a window that vanished between the event and our question is no failure. */
static int ignore_errors(Display *display, XErrorEvent *error) {
    (void)display;
    (void)error;
    return 0;
}

static int name_matches(Display *display, Window window, const char *wanted) {
    if (wanted == NULL) return 1;
    char *name = NULL;
    int found = XFetchName(display, window, &name) && name != NULL && strstr(name, wanted) != NULL;
    if (name != NULL) XFree(name);
    return found;
}

/* Whether `window` or a window below it (frame, then client: two levels suffice for openbox) matches. */
static int tree_matches(Display *display, Window window, const char *wanted, int depth) {
    if (name_matches(display, window, wanted)) return 1;
    if (depth == 0) return 0;
    Window root, parent, *children = NULL;
    unsigned int count = 0;
    int found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            found = tree_matches(display, children[i], wanted, depth - 1);
        }
    }
    if (children != NULL) XFree(children);
    return found;
}

int main(int argc, char **argv) {
    const char *wanted = NULL;
    int timeout_ms = 30000;
    int after_ms = -1;
    int first = 1;
    for (; first < argc; ++first) {
        if (strcmp(argv[first], "-n") == 0 && first + 1 < argc) {
            wanted = argv[++first];
        } else if (strcmp(argv[first], "-t") == 0 && first + 1 < argc) {
            timeout_ms = atoi(argv[++first]);
        } else if (strcmp(argv[first], "-m") == 0 && first + 1 < argc) {
            after_ms = atoi(argv[++first]);
        } else if (strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        } else {
            break;
        }
    }
    if (first >= argc) {
        fprintf(stderr, "usage: mapwatch [-n NAME] [-t TIMEOUT_MS] [-m AFTER_MS] -- PROGRAM [ARG...]\n");
        return 2;
    }

    Display *display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "mapwatch: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    /* The selection must be in force at the server before the program can map anything. */
    XSync(display, False);

    const double start = now_ms();
    pid_t child = fork();
    if (child < 0) {
        perror("mapwatch: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        perror("mapwatch: exec");
        _exit(127);
    }

    const int fd = ConnectionNumber(display);
    Window mapped = 0;
    double elapsed = 0;
    while (mapped == 0) {
        while (mapped == 0 && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                XSelectInput(display, event.xcreatewindow.window, StructureNotifyMask);
            } else if (event.type == MapNotify) {
                Window window = event.xmap.window;
                int depth = event.xmap.event == root ? 2 : 0;
                if (tree_matches(display, window, wanted, depth)) {
                    elapsed = now_ms() - start;
                    mapped = window;
                }
            }
        }
        if (mapped != 0) break;
        int left = (int)(timeout_ms - (now_ms() - start));
        if (left <= 0) break;
        struct pollfd wait = {fd, POLLIN, 0};
        poll(&wait, 1, left);
    }

    long peak = -1;
    if (mapped != 0 && after_ms >= 0) {
        sleep_ms(after_ms);
        peak = peak_kib(child);
    }
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    if (mapped == 0) {
        printf("timeout\n");
        return 1;
    }
    printf("mapped %.1f window 0x%lx", elapsed, (unsigned long)mapped);
    if (after_ms >= 0) printf(" peak_kib %ld", peak);
    printf("\n");
    return 0;
}
