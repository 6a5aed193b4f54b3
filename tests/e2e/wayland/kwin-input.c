// Drives KWin's pointer and keyboard for the tests through its fake-input protocol, which KWin offers to a
// program whose desktop file grants it (X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input). Reads one command a
// line on standard input and answers each with "done" once KWin has taken it:
//   move X Y | click X Y [right] | key NAME | quit
// X and Y are in logical pixels of the layout; NAME is one of the keys below.
#include "fake-input-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input *input;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

static int key_code(const char *name)
{
    static const struct
    {
        const char *name;
        int code;
    } keys[] = {{"Escape", KEY_ESC}, {"Return", KEY_ENTER},     {"space", KEY_SPACE}, {"Left", KEY_LEFT},
                {"Up", KEY_UP},      {"Right", KEY_RIGHT},      {"Down", KEY_DOWN},   {"F7", KEY_F7},
                {"F12", KEY_F12},    {"Shift_L", KEY_LEFTSHIFT}};
    for (size_t i = 0; i < sizeof keys / sizeof keys[0]; ++i)
        if (strcmp(keys[i].name, name) == 0) return keys[i].code;
    return -1;
}

int main(void)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) return 1;
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!input) {
        fprintf(stderr, "KWin offers no fake input to this program\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(input, "Tintwell tests", "drives the pointer and keys in a test");
    wl_display_roundtrip(display);
    printf("ready\n");
    fflush(stdout);
    char line[128], word[16], extra[16];
    double x, y;
    while (fgets(line, sizeof line, stdin)) {
        extra[0] = 0;
        if (sscanf(line, "%15s", word) != 1 || strcmp(word, "quit") == 0) break;
        if ((strcmp(word, "move") == 0 || strcmp(word, "click") == 0) &&
            sscanf(line, "%*s %lf %lf %15s", &x, &y, extra) >= 2) {
            org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_double(x), wl_fixed_from_double(y));
            if (strcmp(word, "click") == 0) {
                const uint32_t button = strcmp(extra, "right") == 0 ? BTN_RIGHT : BTN_LEFT;
                org_kde_kwin_fake_input_button(input, button, WL_POINTER_BUTTON_STATE_PRESSED);
                org_kde_kwin_fake_input_button(input, button, WL_POINTER_BUTTON_STATE_RELEASED);
            }
        } else if (strcmp(word, "key") == 0 && sscanf(line, "%*s %15s", extra) == 1 && key_code(extra) >= 0) {
            org_kde_kwin_fake_input_keyboard_key(input, (uint32_t)key_code(extra), WL_KEYBOARD_KEY_STATE_PRESSED);
            org_kde_kwin_fake_input_keyboard_key(input, (uint32_t)key_code(extra), WL_KEYBOARD_KEY_STATE_RELEASED);
        } else {
            printf("error %s", line);
            fflush(stdout);
            continue;
        }
        wl_display_roundtrip(display);
        printf("done\n");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
