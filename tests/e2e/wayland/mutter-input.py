#!/usr/bin/python3
# Drives GNOME's pointer and keyboard for the tests through Mutter's remote-desktop D-Bus API, in one session
# held for the whole run (absolute pointer positions need a screen-cast stream of the monitor linked to it).
# Reads one command a line on standard input and answers each with "done" (or "error ...") on standard output:
#   move X Y | click X Y [BUTTON] | key KEYSYM_NAME | quit
# X and Y are in the monitor's logical pixels; BUTTON is left (default) or right.
import sys
import time

import dbus

KEYSYMS = {'Escape': 0xff1b, 'Return': 0xff0d, 'space': 0x20, 'Left': 0xff51, 'Up': 0xff52, 'Right': 0xff53,
           'Down': 0xff54, 'F7': 0xffc4, 'F12': 0xffc9, 'Shift_L': 0xffe1}
BUTTONS = {'left': 0x110, 'right': 0x111}


def start_session(bus):
    desktop = bus.get_object('org.gnome.Mutter.RemoteDesktop', '/org/gnome/Mutter/RemoteDesktop')
    session_path = desktop.CreateSession(dbus_interface='org.gnome.Mutter.RemoteDesktop', timeout=5)
    session = dbus.Interface(bus.get_object('org.gnome.Mutter.RemoteDesktop', session_path),
                             'org.gnome.Mutter.RemoteDesktop.Session')
    session_id = bus.get_object('org.gnome.Mutter.RemoteDesktop', session_path).Get(
        'org.gnome.Mutter.RemoteDesktop.Session', 'SessionId', dbus_interface='org.freedesktop.DBus.Properties',
        timeout=5)
    cast = bus.get_object('org.gnome.Mutter.ScreenCast', '/org/gnome/Mutter/ScreenCast')
    cast_path = cast.CreateSession({'remote-desktop-session-id': session_id},
                                   dbus_interface='org.gnome.Mutter.ScreenCast', timeout=5)
    stream = bus.get_object('org.gnome.Mutter.ScreenCast', cast_path).RecordMonitor(
        '', {'cursor-mode': dbus.UInt32(0)}, dbus_interface='org.gnome.Mutter.ScreenCast.Session', timeout=5)
    session.Start(timeout=5)
    return session, stream


def main():
    bus = dbus.SessionBus()
    # The shell answers late while it starts: the session is asked for again. A shell that has not answered in
    # ten tries has stalled; the desktop session then starts it afresh.
    for attempt in range(10):
        try:
            session, stream = start_session(bus)
            break
        except dbus.exceptions.DBusException:
            if attempt == 9:
                raise
            time.sleep(0.5)
    print('ready', flush=True)
    for line in sys.stdin:
        words = line.split()
        try:
            if not words or words[0] == 'quit':
                break
            if words[0] in ('move', 'click'):
                session.NotifyPointerMotionAbsolute(stream, float(words[1]), float(words[2]))
            if words[0] == 'click':
                button = BUTTONS[words[3] if len(words) > 3 else 'left']
                session.NotifyPointerButton(button, True)
                session.NotifyPointerButton(button, False)
            if words[0] == 'key':
                keysym = KEYSYMS[words[1]]
                session.NotifyKeyboardKeysym(dbus.UInt32(keysym), True)
                session.NotifyKeyboardKeysym(dbus.UInt32(keysym), False)
            print('done', flush=True)
        except Exception as error:  # the test reads the answer and fails with it
            print('error', error, flush=True)
    session.Stop()


main()
