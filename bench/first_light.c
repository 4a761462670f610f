/* Watches an X screen for its first non-black pixel, for the start-up race (first_pixels.py).
 *
 *   first_light DISPLAY TIMEOUT_MS
 *
 * Prints "ready" once connected, then grabs the whole root window every POLL_MS through shared
 * memory (XGetImage when the server has no MIT-SHM) and, at the first grab holding a pixel that is
 * not black, prints lit_ms (CLOCK_MONOTONIC, the clock of Python's time.monotonic()), the number
 * of lit pixels, the grabs made and the longest gap between two grabs, and exits 0.  Exits 1 when
 * nothing lit up before the timeout, 2 when the display can't be used. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>

enum { POLL_MS = 5 };

static double now_ms(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

static void sleep_until(double deadline_ms) {
    const double left = deadline_ms - now_ms();
    if (left <= 0) return;
    struct timespec pause = {(time_t)(left / 1000), (long)((left - (time_t)(left / 1000) * 1000) * 1e6)};
    nanosleep(&pause, NULL);
}

/* Pixels whose colour bits are not all zero; the depth's unused bits are masked off. */
static long lit_pixels(XImage* image) {
    const unsigned long colour_bits = image->red_mask | image->green_mask | image->blue_mask;
    long lit = 0;
    if (image->bits_per_pixel == 32) {
        /* The usual 24-bit screen: read the words directly, XGetPixel would dominate the poll. */
        for (int y = 0; y < image->height; ++y) {
            const unsigned int* row = (const unsigned int*)(image->data + (size_t)y * image->bytes_per_line);
            for (int x = 0; x < image->width; ++x) lit += (row[x] & colour_bits) != 0;
        }
        return lit;
    }
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            if (XGetPixel(image, x, y) & colour_bits) ++lit;
    return lit;
}

/* A grab of the whole root window, into shared memory when the server allows it. */
struct Grabber {
    Display* display;
    Window root;
    int width, height;
    XImage* shared;
    XShmSegmentInfo segment;
};

static int open_shared(struct Grabber* grabber) {
    const int screen = DefaultScreen(grabber->display);
    if (!XShmQueryExtension(grabber->display)) return 0;
    grabber->shared = XShmCreateImage(grabber->display, DefaultVisual(grabber->display, screen),
                                      DefaultDepth(grabber->display, screen), ZPixmap, NULL,
                                      &grabber->segment, grabber->width, grabber->height);
    if (!grabber->shared) return 0;
    grabber->segment.shmid =
        shmget(IPC_PRIVATE, (size_t)grabber->shared->bytes_per_line * grabber->height, IPC_CREAT | 0600);
    if (grabber->segment.shmid < 0) return 0;
    grabber->segment.shmaddr = grabber->shared->data = shmat(grabber->segment.shmid, NULL, 0);
    grabber->segment.readOnly = False;
    const int attached = XShmAttach(grabber->display, &grabber->segment);
    XSync(grabber->display, False);
    /* Marked for removal now, so that no segment outlives the program however it ends. */
    shmctl(grabber->segment.shmid, IPC_RMID, NULL);
    return attached;
}

/* Lit pixels of one grab, or -1 when the grab failed. */
static long grab(struct Grabber* grabber) {
    if (grabber->shared) {
        if (!XShmGetImage(grabber->display, grabber->root, grabber->shared, 0, 0, AllPlanes)) return -1;
        return lit_pixels(grabber->shared);
    }
    XImage* image =
        XGetImage(grabber->display, grabber->root, 0, 0, grabber->width, grabber->height, AllPlanes, ZPixmap);
    if (!image) return -1;
    const long lit = lit_pixels(image);
    XDestroyImage(image);
    return lit;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: first_light DISPLAY TIMEOUT_MS\n");
        return 2;
    }
    struct Grabber grabber = {0};
    grabber.display = XOpenDisplay(argv[1]);
    if (!grabber.display) {
        fprintf(stderr, "first_light: cannot open display %s\n", argv[1]);
        return 2;
    }
    const int screen = DefaultScreen(grabber.display);
    grabber.root = RootWindow(grabber.display, screen);
    grabber.width = DisplayWidth(grabber.display, screen);
    grabber.height = DisplayHeight(grabber.display, screen);
    const int shared = open_shared(&grabber);
    if (!shared) grabber.shared = NULL;
    printf("ready shm=%d\n", shared);
    fflush(stdout);

    const double deadline = now_ms() + atof(argv[2]);
    double previous = now_ms(), longest_gap = 0;
    long grabs = 0;
    for (double next = previous; now_ms() < deadline; next += POLL_MS) {
        sleep_until(next);
        const double taken = now_ms();
        const long lit = grab(&grabber);
        ++grabs;
        if (taken - previous > longest_gap) longest_gap = taken - previous;
        previous = taken;
        if (lit > 0) {
            printf("lit_ms=%.3f\nlit_pixels=%ld\ngrabs=%ld\nlongest_gap_ms=%.1f\n", taken, lit, grabs,
                   longest_gap);
            return 0;
        }
        if (now_ms() > next + POLL_MS) next = now_ms(); /* a slow grab: don't try to catch up */
    }
    printf("grabs=%ld\nlongest_gap_ms=%.1f\n", grabs, longest_gap);
    return 1;
}
