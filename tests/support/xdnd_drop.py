#!/usr/bin/env python3
"""Drops files on the X window under a screen point, as a desktop file manager
does: the XDND protocol, offering the files as text/uri-list.

    xdnd_drop.py X Y /path/one [/path/two ...]

Exits 0 when the target accepted and finished the drop, 1 otherwise.
"""
import sys
import time
import urllib.parse

from Xlib import X, display, protocol


def atom(d, name):
    return d.intern_atom(name)


def aware_window(d, x, y):
    """The topmost window under the point that takes XDND drops."""
    root = d.screen().root
    aware = atom(d, "XdndAware")
    window, found = root, None
    while True:
        if window.get_full_property(aware, X.AnyPropertyType):
            found = window
        coords = window.translate_coords(root, x, y)
        child = coords.child
        if not child:
            return found
        window = child


def send(d, target, kind, data):
    event = protocol.event.ClientMessage(window=target, client_type=atom(d, kind),
                                         data=(32, data))
    target.send_event(event, event_mask=0)
    d.flush()


def main():
    x, y = int(sys.argv[1]), int(sys.argv[2])
    uris = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in sys.argv[3:])
    d = display.Display()
    root = d.screen().root
    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    root.warp_pointer(x, y)
    d.sync()
    target = aware_window(d, x, y)
    if target is None:
        print("no window takes drops there")
        return 1
    uri_list = atom(d, "text/uri-list")
    selection = atom(d, "XdndSelection")
    source.set_selection_owner(selection, X.CurrentTime)
    send(d, target, "XdndEnter", [source.id, 5 << 24, uri_list, 0, 0])
    send(d, target, "XdndPosition",
         [source.id, 0, (x << 16) | y, X.CurrentTime, atom(d, "XdndActionCopy")])

    dropped = accepted = False
    deadline = time.time() + 20
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.01)
            continue
        event = d.next_event()
        if event.type == X.ClientMessage:
            kind = d.get_atom_name(event.client_type)
            values = event.data[1]
            if kind == "XdndStatus" and not dropped:
                accepted = bool(values[1] & 1)
                if not accepted:
                    print("the window refused the drop")
                    send(d, target, "XdndLeave", [source.id, 0, 0, 0, 0])
                    return 1
                send(d, target, "XdndDrop", [source.id, 0, X.CurrentTime, 0, 0])
                dropped = True
            elif kind == "XdndFinished":
                return 0
        elif event.type == X.SelectionRequest:
            requestor = event.requestor
            prop = event.property or event.target
            requestor.change_property(prop, event.target, 8, uris.encode())
            notify = protocol.event.SelectionNotify(time=event.time, requestor=requestor,
                                                    selection=event.selection,
                                                    target=event.target, property=prop)
            requestor.send_event(notify)
            d.flush()
    print("no answer from the window")
    return 1


if __name__ == "__main__":
    sys.exit(main())
