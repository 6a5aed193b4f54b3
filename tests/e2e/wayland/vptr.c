/* A pointer device for a wlroots compositor, through its virtual-pointer protocol, for tests that click.
 *   vptr hold SECONDS        keeps a pointer in the seat: a headless seat without one gives clients no wl_pointer
 *   vptr click X Y W H       moves to (X, Y) of a W x H layout and clicks the left button
 *   vptr move X Y W H        only moves there
 * The protocol is small enough to describe here by hand rather than generate its code.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>

enum { MOTION_ABSOLUTE = 1, BUTTON = 2, FRAME = 4, DESTROY = 8 };
enum { BUTTON_LEFT = 0x110, PRESSED = 1, RELEASED = 0 };

/* zwlr_virtual_pointer_v1, version 1: the requests in opcode order. */
static const struct wl_interface pointer_interface;
static const struct wl_interface *untyped[6];
static const struct wl_message pointer_requests[] = {
    {"motion", "uff", untyped},   {"motion_absolute", "uuuuu", untyped},
    {"button", "uuu", untyped},   {"axis", "uuf", untyped},
    {"frame", "", untyped},       {"axis_source", "u", untyped},
    {"axis_stop", "uu", untyped}, {"axis_discrete", "uufi", untyped},
    {"destroy", "", untyped},
};
static const struct wl_interface pointer_interface = {"zwlr_virtual_pointer_v1", 1, 9, pointer_requests, 0, NULL};
static const struct wl_interface *create_types[] = {&wl_seat_interface, &pointer_interface};
static const struct wl_message manager_requests[] = {{"create_virtual_pointer", "?on", create_types}};
static const struct wl_interface manager_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, manager_requests, 0, NULL};

static struct wl_proxy *manager;
static struct wl_seat *seat;

static void announce(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    (void)data, (void)version;
    if (strcmp(interface, manager_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &manager_interface, 1);
    else if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
}

static void withdraw(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static uint32_t now_ms(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(int argc, char **argv)
{
    const int hold = argc == 3 && strcmp(argv[1], "hold") == 0;
    const int click = argc == 6 && strcmp(argv[1], "click") == 0;
    const int move = argc == 6 && strcmp(argv[1], "move") == 0;
    if (!hold && !click && !move) {
        fprintf(stderr, "usage: vptr hold SECONDS | vptr click X Y W H | vptr move X Y W H\n");
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "vptr: no Wayland display\n");
        return 1;
    }
    static const struct wl_registry_listener listener = {announce, withdraw};
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (!manager || !seat) {
        fprintf(stderr, "vptr: the compositor has no virtual pointers\n");
        return 1;
    }
    struct wl_proxy *pointer = wl_proxy_marshal_constructor(manager, 0, &pointer_interface, seat, NULL);
    wl_display_roundtrip(display);
    if (hold) {
        sleep((unsigned)atoi(argv[2]));
    } else {
        wl_proxy_marshal(pointer, MOTION_ABSOLUTE, now_ms(), atoi(argv[2]), atoi(argv[3]), atoi(argv[4]),
                         atoi(argv[5]));
        wl_proxy_marshal(pointer, FRAME);
        if (click) {
            wl_proxy_marshal(pointer, BUTTON, now_ms(), BUTTON_LEFT, PRESSED);
            wl_proxy_marshal(pointer, FRAME);
            wl_proxy_marshal(pointer, BUTTON, now_ms(), BUTTON_LEFT, RELEASED);
            wl_proxy_marshal(pointer, FRAME);
        }
    }
    wl_proxy_marshal(pointer, DESTROY);
    wl_proxy_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
