// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// A keyboard and a mouse for a wlroots compositor whose seat has none (the
// headless test desktop): keys arrive as the evdev codes given, under a real
// "us" evdev keymap, with the modifiers they set; the pointer moves to absolute
// positions in the output layout and clicks there.
//
// With a command on its command line it runs that one; without, it keeps its
// keyboard and pointer and runs one command per line of its input, answering
// "ok" or "error" on its output when the compositor has taken it (and "ok"
// first, once the seat has the keyboard and pointer). A seat that
// gains and loses its devices with every command would make each window bind
// a new pointer in a race with the click that follows.
//
//   vo-wl-input key [--pace MS] [--step MS] EVENT...
//       EVENT is CODE (press and release), +CODE (press) or -CODE (release),
//       CODE an evdev key code (30 = A, 28 = Enter, 1 = Escape, 42 = left Shift).
//       --pace MS waits MS milliseconds between events; --step MS stamps each
//       event MS milliseconds after the one before, whatever the real pace.
//   vo-wl-input move X Y
//   vo-wl-input click X Y        moves there first, then clicks the left button
#define _GNU_SOURCE
#include <errno.h>
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

struct globals {
    struct wl_seat* seat;
    struct wl_output* output;
    struct zwp_virtual_keyboard_manager_v1* keyboards;
    struct zwlr_virtual_pointer_manager_v1* pointers;
    int outputWidth, outputHeight;  // the current mode: the layout is one output at scale 1
};

static void outputGeometry(void* data, struct wl_output* output, int32_t x, int32_t y, int32_t widthMm,
                           int32_t heightMm, int32_t subpixel, const char* make, const char* model,
                           int32_t transform) {
    (void)data, (void)output, (void)x, (void)y, (void)widthMm, (void)heightMm, (void)subpixel;
    (void)make, (void)model, (void)transform;
}

static void outputMode(void* data, struct wl_output* output, uint32_t flags, int32_t width, int32_t height,
                       int32_t refresh) {
    (void)output, (void)refresh;
    struct globals* g = data;
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        g->outputWidth = width;
        g->outputHeight = height;
    }
}

static void outputDone(void* data, struct wl_output* output) { (void)data, (void)output; }
static void outputScale(void* data, struct wl_output* output, int32_t factor) { (void)data, (void)output, (void)factor; }

// Bound at version 1: the name and description events never come.
static const struct wl_output_listener outputListener = {
    .geometry = outputGeometry, .mode = outputMode, .done = outputDone, .scale = outputScale};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)version;
    struct globals* g = data;
    if (!strcmp(interface, wl_seat_interface.name) && !g->seat) {
        g->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (!strcmp(interface, wl_output_interface.name) && !g->output) {
        g->output = wl_registry_bind(registry, name, &wl_output_interface, 1);
        wl_output_add_listener(g->output, &outputListener, g);
    } else if (!strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name)) {
        g->keyboards = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    } else if (!strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name)) {
        g->pointers = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    }
}

static void globalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener registryListener = {.global = global, .global_remove = globalRemove};

static uint32_t nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void sleepMs(int ms) {
    struct timespec t = {ms / 1000, (long)(ms % 1000) * 1000000};
    while (nanosleep(&t, &t) == -1 && errno == EINTR) {
    }
}

static int fail(const char* message) {
    fprintf(stderr, "vo-wl-input: %s\n", message);
    return 1;
}

// Uploads the "us" evdev keymap; the state follows the keys so that the
// modifiers sent with them are the ones a real keyboard would report.
static struct xkb_state* uploadKeymap(struct zwp_virtual_keyboard_v1* keyboard) {
    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const struct xkb_rule_names names = {.rules = "evdev", .model = "pc105", .layout = "us"};
    struct xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : NULL;
    const int fd = text ? memfd_create("vo-wl-input-keymap", MFD_CLOEXEC) : -1;
    struct xkb_state* state = NULL;
    if (fd >= 0) {
        const size_t size = strlen(text) + 1;  // the compositor expects the terminating NUL
        if (write(fd, text, size) == (ssize_t)size) {
            zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
            state = xkb_state_new(keymap);
        }
        close(fd);
    }
    free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return state;
}

// The devices, made once and kept for every command.
struct devices {
    struct wl_display* display;
    const struct globals* g;
    struct zwp_virtual_keyboard_v1* keyboard;
    struct xkb_state* keys;
    struct zwlr_virtual_pointer_v1* pointer;
};

static int typeKeys(struct devices* d, int argc, char** argv) {
    int pace = 0, step = -1;
    for (; argc >= 2 && argv[0][0] == '-' && argv[0][1] == '-'; argc -= 2, argv += 2) {
        if (!strcmp(argv[0], "--pace"))
            pace = atoi(argv[1]);
        else if (!strcmp(argv[0], "--step"))
            step = atoi(argv[1]);
        else
            return fail("unknown option of 'key'");
    }
    if (argc == 0)
        return fail("'key' needs key codes");
    const uint32_t start = nowMs();
    int sent = 0;
    for (int i = 0; i < argc; ++i) {
        const char* event = argv[i];
        const int press = event[0] != '-', release = event[0] != '+';
        char* end = NULL;
        const long code = strtol(event + (event[0] == '+' || event[0] == '-'), &end, 10);
        if (*end || code <= 0 || code > KEY_MAX)
            return fail("a key code is an evdev number, optionally after + or -");
        for (int down = press; down >= !release; --down) {
            if (sent && pace > 0) {
                wl_display_flush(d->display);
                sleepMs(pace);
            }
            const uint32_t time = step >= 0 ? start + (uint32_t)(step * sent) : nowMs();
            xkb_state_update_key(d->keys, (xkb_keycode_t)code + 8, down ? XKB_KEY_DOWN : XKB_KEY_UP);
            zwp_virtual_keyboard_v1_key(d->keyboard, time, (uint32_t)code,
                                        down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
            zwp_virtual_keyboard_v1_modifiers(d->keyboard, xkb_state_serialize_mods(d->keys, XKB_STATE_MODS_DEPRESSED),
                                              xkb_state_serialize_mods(d->keys, XKB_STATE_MODS_LATCHED),
                                              xkb_state_serialize_mods(d->keys, XKB_STATE_MODS_LOCKED),
                                              xkb_state_serialize_layout(d->keys, XKB_STATE_LAYOUT_EFFECTIVE));
            ++sent;
        }
    }
    return 0;
}

static void moveTo(const struct devices* d, int x, int y) {
    zwlr_virtual_pointer_v1_motion_absolute(d->pointer, nowMs(), (uint32_t)x, (uint32_t)y,
                                            (uint32_t)d->g->outputWidth, (uint32_t)d->g->outputHeight);
    zwlr_virtual_pointer_v1_frame(d->pointer);
}

static void button(const struct devices* d, uint32_t state) {
    zwlr_virtual_pointer_v1_button(d->pointer, nowMs(), BTN_LEFT, state);
    zwlr_virtual_pointer_v1_frame(d->pointer);
}

static int pointerCommand(struct devices* d, int click, int argc, char** argv) {
    if (argc != 2)
        return fail("'move' and 'click' take X and Y");
    const int x = atoi(argv[0]), y = atoi(argv[1]);
    if (x < 0 || y < 0 || x >= d->g->outputWidth || y >= d->g->outputHeight)
        return fail("the position lies outside the output");
    // A motion that changes nothing gives a window that has opened under the
    // pointer no enter event, so the pointer always arrives from one pixel aside.
    moveTo(d, x > 0 ? x - 1 : x + 1, y);
    moveTo(d, x, y);
    if (click) {
        wl_display_roundtrip(d->display);
        button(d, WL_POINTER_BUTTON_STATE_PRESSED);
        button(d, WL_POINTER_BUTTON_STATE_RELEASED);
    }
    return 0;
}

static int runCommand(struct devices* d, int argc, char** argv) {
    int result;
    if (argc >= 1 && !strcmp(argv[0], "key"))
        result = typeKeys(d, argc - 1, argv + 1);
    else if (argc >= 1 && (!strcmp(argv[0], "move") || !strcmp(argv[0], "click")))
        result = pointerCommand(d, !strcmp(argv[0], "click"), argc - 1, argv + 1);
    else
        result = fail("unknown command");
    // Answered only once the compositor has taken every request.
    return wl_display_roundtrip(d->display) < 0 ? 1 : result;
}

int main(int argc, char** argv) {
    struct devices d = {.display = wl_display_connect(NULL)};
    if (!d.display)
        return fail("cannot connect to the Wayland display");
    struct globals g = {0};
    d.g = &g;
    struct wl_registry* registry = wl_display_get_registry(d.display);
    wl_registry_add_listener(registry, &registryListener, &g);
    wl_display_roundtrip(d.display);
    wl_display_roundtrip(d.display);  // the output's mode
    if (!g.seat || !g.output || !g.keyboards || !g.pointers)
        return fail("the compositor offers no seat, output, virtual keyboard or virtual pointer");
    d.keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(g.keyboards, g.seat);
    d.keys = uploadKeymap(d.keyboard);
    d.pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g.pointers, g.seat);
    if (!d.keys)
        return fail("cannot build the evdev keymap");
    wl_display_roundtrip(d.display);  // the seat has its devices from here on


    int result = 0;
    if (argc > 1) {
        result = runCommand(&d, argc - 1, argv + 1);
    } else {
        printf("ok\n");  // ready
        fflush(stdout);
        char* line = NULL;
        size_t capacity = 0;
        while (getline(&line, &capacity, stdin) > 0) {
            char* words[256];
            int count = 0;
            for (char* word = strtok(line, " \t\n"); word && count < 256; word = strtok(NULL, " \t\n"))
                words[count++] = word;
            if (count == 0)
                continue;
            result = runCommand(&d, count, words);
            printf("%s\n", result ? "error" : "ok");
            fflush(stdout);
        }
        free(line);
    }
    // Everything given back, so that a leak checker sees none.
    xkb_state_unref(d.keys);
    zwp_virtual_keyboard_v1_destroy(d.keyboard);
    zwlr_virtual_pointer_v1_destroy(d.pointer);
    zwp_virtual_keyboard_manager_v1_destroy(g.keyboards);
    zwlr_virtual_pointer_manager_v1_destroy(g.pointers);
    wl_output_destroy(g.output);
    wl_seat_destroy(g.seat);
    wl_registry_destroy(registry);
    wl_display_disconnect(d.display);
    return result;
}
