// Makes display colour profiles and publishes them on the X root window as a desktop's colour manager does.
// Usage: display_profile write p3|adobe|large|garbage|cut FILE   writes that profile
//        display_profile publish PROPERTY FILE                 sets PROPERTY (_ICC_PROFILE, _ICC_PROFILE_1, ...)
//                                                              on the root window to the file's bytes
//        display_profile withdraw PROPERTY                     deletes it
#include "MadeProfiles.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

int Usage()
{
    std::fputs(
        "usage: display_profile write p3|adobe|large|garbage|cut FILE | publish PROPERTY FILE | withdraw PROPERTY\n",
        stderr);
    return 2;
}

// Sets or, without bytes, deletes the root window's property; the X server keeps it after we are gone.
int Publish(const std::string &name, const std::string *bytes)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fputs("display_profile: no X display\n", stderr);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, false, uint16_t(name.size()), name.data()), nullptr);
    if (bytes)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_CARDINAL, 8, uint32_t(bytes->size()),
                            bytes->data());
    else
        xcb_delete_property(c, root, atom->atom);
    std::free(atom);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // all requests done
    xcb_disconnect(c);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    using made_profiles::Kind;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "write" && argc == 4) {
        const std::map<std::string, Kind> kinds{{"p3", Kind::WideV2},
                                                {"adobe", Kind::Sampled},
                                                {"large", Kind::Large},
                                                {"garbage", Kind::Garbage},
                                                {"cut", Kind::Truncated}};
        const auto kind = kinds.find(argv[2]);
        if (kind == kinds.end()) return Usage();
        const std::string bytes = made_profiles::Make(kind->second);
        std::ofstream(argv[3], std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return 0;
    }
    if (command == "publish" && argc == 4) {
        std::ifstream file(argv[3], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        return file ? Publish(argv[2], &bytes) : Usage();
    }
    if (command == "withdraw" && argc == 3) return Publish(argv[2], nullptr);
    return Usage();
}
