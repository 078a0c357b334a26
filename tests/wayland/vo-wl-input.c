// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// A keyboard and a pointer for a wlroots compositor whose seat has none (the
// headless test desktop). It keeps both for its whole run, so that no window
// binds a new pointer in a race with a click, and runs one command per line of
// its input, answering "ok" or "error" once the compositor has taken it ("ok"
// first when the seat has the devices):
//   key [--pace MS] [--step MS] EVENT...   EVENT: CODE (press and release),
//       +CODE (press) or -CODE (release), CODE an evdev key code, under a "us"
//       keymap; --pace waits MS between events, --step stamps each event MS
//       after the one before, whatever the real pace.
//   click X Y                              the left button, at X Y on the output
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

struct desktop {
    struct wl_display* display;
    struct wl_seat* seat;
    struct wl_output* output;
    struct zwp_virtual_keyboard_manager_v1* keyboards;
    struct zwlr_virtual_pointer_manager_v1* pointers;
    int width, height;  // the output's current mode: the layout is one output at scale 1
    struct zwp_virtual_keyboard_v1* keyboard;
    struct xkb_state* keys;
    struct zwlr_virtual_pointer_v1* pointer;
};

static void outputMode(void* data, struct wl_output* output, uint32_t flags, int32_t width, int32_t height,
                       int32_t refresh) {
    (void)output, (void)refresh;
    struct desktop* d = data;
    if (flags & WL_OUTPUT_MODE_CURRENT)
        d->width = width, d->height = height;
}
static void outputGeometry(void* data, struct wl_output* output, int32_t x, int32_t y, int32_t widthMm,
                           int32_t heightMm, int32_t subpixel, const char* make, const char* model,
                           int32_t transform) {
    (void)data, (void)output, (void)x, (void)y, (void)widthMm, (void)heightMm, (void)subpixel;
    (void)make, (void)model, (void)transform;
}
// Bound at version 1: only these two events come.
static const struct wl_output_listener outputListener = {.geometry = outputGeometry, .mode = outputMode};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)version;
    struct desktop* d = data;
    if (!strcmp(interface, wl_seat_interface.name) && !d->seat) {
        d->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (!strcmp(interface, wl_output_interface.name) && !d->output) {
        d->output = wl_registry_bind(registry, name, &wl_output_interface, 1);
        wl_output_add_listener(d->output, &outputListener, d);
    } else if (!strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name)) {
        d->keyboards = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    } else if (!strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name)) {
        d->pointers = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
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

static int fail(const char* message) {
    fprintf(stderr, "vo-wl-input: %s\n", message);
    return 1;
}

// The state follows the keys, so that the modifiers sent with them are the
// ones a real keyboard would report.
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

static int typeKeys(struct desktop* d, int argc, char** argv) {
    int pace = 0, step = -1;
    for (; argc >= 2 && !strncmp(argv[0], "--", 2); argc -= 2, argv += 2)
        *(strcmp(argv[0], "--pace") ? &step : &pace) = atoi(argv[1]);
    const uint32_t start = nowMs();
    for (int i = 0, sent = 0; i < argc; ++i) {
        const char* event = argv[i];
        const int press = event[0] != '-', release = event[0] != '+';
        char* end = NULL;
        const long code = strtol(event + (event[0] == '+' || event[0] == '-'), &end, 10);
        if (*end || code <= 0 || code > KEY_MAX)
            return fail("a key code is an evdev number, optionally after + or -");
        for (int down = press; down >= !release; --down, ++sent) {
            if (sent && pace > 0) {
                wl_display_flush(d->display);
                struct timespec t = {pace / 1000, (long)(pace % 1000) * 1000000};
                while (nanosleep(&t, &t) == -1 && errno == EINTR) {
                }
            }
            const uint32_t time = step >= 0 ? start + (uint32_t)(step * sent) : nowMs();
            xkb_state_update_key(d->keys, (xkb_keycode_t)code + 8, down ? XKB_KEY_DOWN : XKB_KEY_UP);
            zwp_virtual_keyboard_v1_key(d->keyboard, time, (uint32_t)code,
                                        down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
            zwp_virtual_keyboard_v1_modifiers(d->keyboard, xkb_state_serialize_mods(d->keys, XKB_STATE_MODS_DEPRESSED),
                                              xkb_state_serialize_mods(d->keys, XKB_STATE_MODS_LATCHED),
                                              xkb_state_serialize_mods(d->keys, XKB_STATE_MODS_LOCKED),
                                              xkb_state_serialize_layout(d->keys, XKB_STATE_LAYOUT_EFFECTIVE));
        }
    }
    return argc ? 0 : fail("'key' needs key codes");
}

static int click(struct desktop* d, int argc, char** argv) {
    const int x = argc == 2 ? atoi(argv[0]) : -1, y = argc == 2 ? atoi(argv[1]) : -1;
    if (x < 0 || y < 0 || x >= d->width || y >= d->height)
        return fail("'click' takes X and Y on the output");
    // A motion that changes nothing gives a window that has opened under the
    // pointer no enter event, so the pointer always arrives from one pixel aside.
    for (int from = x > 0 ? x - 1 : x + 1, i = 0; i < 2; ++i, from = x) {
        zwlr_virtual_pointer_v1_motion_absolute(d->pointer, nowMs(), (uint32_t)from, (uint32_t)y,
                                                (uint32_t)d->width, (uint32_t)d->height);
        zwlr_virtual_pointer_v1_frame(d->pointer);
    }
    wl_display_roundtrip(d->display);
    for (int pressed = 1; pressed >= 0; --pressed) {
        zwlr_virtual_pointer_v1_button(d->pointer, nowMs(), BTN_LEFT,
                                       pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(d->pointer);
    }
    return 0;
}

int main(void) {
    struct desktop d = {.display = wl_display_connect(NULL)};
    if (!d.display)
        return fail("cannot connect to the Wayland display");
    struct wl_registry* registry = wl_display_get_registry(d.display);
    wl_registry_add_listener(registry, &registryListener, &d);
    wl_display_roundtrip(d.display);
    wl_display_roundtrip(d.display);  // the output's mode
    if (!d.seat || !d.output || !d.keyboards || !d.pointers)
        return fail("the compositor offers no seat, output, virtual keyboard or virtual pointer");
    d.keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(d.keyboards, d.seat);
    d.keys = uploadKeymap(d.keyboard);
    d.pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(d.pointers, d.seat);
    if (!d.keys)
        return fail("cannot build the evdev keymap");
    wl_display_roundtrip(d.display);  // the seat has its devices from here on

    printf("ok\n");
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
        int result = !strcmp(words[0], "key")     ? typeKeys(&d, count - 1, words + 1)
                     : !strcmp(words[0], "click") ? click(&d, count - 1, words + 1)
                                                  : fail("unknown command");
        // Answered only once the compositor has taken every request.
        result |= wl_display_roundtrip(d.display) < 0;
        printf("%s\n", result ? "error" : "ok");
        fflush(stdout);
    }
    free(line);
    // Everything given back, so that a leak checker sees none.
    xkb_state_unref(d.keys);
    zwp_virtual_keyboard_v1_destroy(d.keyboard);
    zwlr_virtual_pointer_v1_destroy(d.pointer);
    zwp_virtual_keyboard_manager_v1_destroy(d.keyboards);
    zwlr_virtual_pointer_manager_v1_destroy(d.pointers);
    wl_output_destroy(d.output);
    wl_seat_destroy(d.seat);
    wl_registry_destroy(registry);
    wl_display_disconnect(d.display);
    return 0;
}
