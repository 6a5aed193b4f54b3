// Which window system the program's session runs on.
#pragma once

// Whether the session runs on Wayland, where the program can neither read the screen itself nor rely on being
// minimised; a program running through XWayland counts too.
bool isWaylandSession();
