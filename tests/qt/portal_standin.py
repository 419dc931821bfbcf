#!/usr/bin/python3
"""A stand-in for the desktop's GlobalShortcuts portal on a private session bus:
CreateSession and BindShortcuts answer through Request objects' Response
signals, every bind is written to the log (one "id trigger" line per shortcut,
then "bound") and answered with each shortcut's trigger (shortcut 1 given
another), and Activate(id) on the test's own interface emits Activated."""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

PORTAL = "org.freedesktop.portal.GlobalShortcuts"
PATH = "/org/freedesktop/portal/desktop"


class Request(dbus.service.Object):
    def __init__(self, bus, path):
        super().__init__(bus, path)

    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass

    @dbus.service.method("org.freedesktop.portal.Request")
    def Close(self):
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, PATH)
        self.bus, self.log, self.sessions = bus, log, []

    def request(self, sender, token, results):
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        req = Request(self.bus, path)
        # As the portal does: the reply first, the Response after it.
        GLib.idle_add(lambda: (req.Response(dbus.UInt32(0), results), req.remove_from_connection(), False)[-1])
        return dbus.ObjectPath(path)

    @dbus.service.method(PORTAL, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        session = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["session_handle_token"])
        self.sessions.append(session)
        return self.request(sender, options["handle_token"], {"session_handle": dbus.String(session)})

    @dbus.service.method(PORTAL, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender):
        with open(self.log, "a") as log:
            for sid, props in shortcuts:
                log.write("%s %s\n" % (sid, props.get("preferred_trigger", "")))
            log.write("bound\n")
        # Each as asked for, but the desktop gives the first key a trigger of its own.
        chosen = dbus.Array([dbus.Struct((sid, {"description": props["description"],
                                                 "trigger_description": "Meta+F10" if sid == "1"
                                                 else props.get("preferred_trigger", "")}),
                                         signature="sa{sv}") for sid, props in shortcuts], signature="(sa{sv})")
        return self.request(sender, options["handle_token"], {"shortcuts": chosen})

    @dbus.service.signal(PORTAL, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.method("org.velmora.Test", in_signature="s")
    def Activate(self, shortcut):
        self.Activated(dbus.ObjectPath(self.sessions[-1]), shortcut, dbus.UInt64(0), dbus.Dictionary({}, "sv"))

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == PORTAL and name == "version":
            return dbus.UInt32(1, variant_level=1)
        raise dbus.exceptions.DBusException("no such property", name="org.freedesktop.DBus.Error.InvalidArgs")


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus, sys.argv[1])
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
GLib.MainLoop().run()
