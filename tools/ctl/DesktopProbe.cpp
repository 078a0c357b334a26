// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "DesktopProbe.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(VELKORONDRIX_CTL_DESKTOP_PROBES)
#include <X11/Xlib.h>
#include <dbus/dbus.h>
#include <fontconfig/fontconfig.h>
#endif

namespace ctl {

namespace {

bool variableSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

#if defined(VELKORONDRIX_CTL_DESKTOP_PROBES)
// Qt shows its tray icon through a status-notifier host when the session bus
// has a watcher with a host registered, and through the X11 tray otherwise.
bool statusNotifierHost() {
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    dbus_error_free(&error);
    if (!bus)
        return false;
    bool host = false;
    DBusMessage* call = dbus_message_new_method_call("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                                                     "org.freedesktop.DBus.Properties", "Get");
    const char* interface = "org.kde.StatusNotifierWatcher";
    const char* property = "IsStatusNotifierHostRegistered";
    if (call && dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &property,
                                         DBUS_TYPE_INVALID)) {
        dbus_error_init(&error);
        DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, 2000, &error);
        DBusMessageIter iter, variant;
        if (reply && dbus_message_iter_init(reply, &iter) && dbus_message_iter_get_arg_type(&iter) == DBUS_TYPE_VARIANT) {
            dbus_message_iter_recurse(&iter, &variant);
            dbus_bool_t value = false;
            if (dbus_message_iter_get_arg_type(&variant) == DBUS_TYPE_BOOLEAN)
                dbus_message_iter_get_basic(&variant, &value);
            host = value;
        }
        if (reply)
            dbus_message_unref(reply);
        dbus_error_free(&error);
    }
    if (call)
        dbus_message_unref(call);
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return host;
}

bool x11Tray() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.c_str(), False);
    const bool owned = XGetSelectionOwner(display, selection) != None;
    XCloseDisplay(display);
    return owned;
}
#endif

}  // namespace

Session currentSession() {
    Session session;
    session.x11Display = variableSet("DISPLAY");
    session.waylandDisplay = variableSet("WAYLAND_DISPLAY");
    const char* type = std::getenv("XDG_SESSION_TYPE");
    if (session.waylandDisplay || (type && std::strcmp(type, "wayland") == 0))
        session.type = SessionType::Wayland;
    else if (session.x11Display)
        session.type = SessionType::X11;
    return session;
}

bool systemTrayAvailable(const Session& session) {
#if defined(VELKORONDRIX_CTL_DESKTOP_PROBES)
    if (variableSet("DBUS_SESSION_BUS_ADDRESS") && statusNotifierHost())
        return true;
    // A Wayland client has the status-notifier host alone.
    return session.type == SessionType::X11 && x11Tray();
#else
    (void)session;
    return true;  // the Windows taskbar's notification area is always there
#endif
}

std::string chineseFont() {
#if defined(VELKORONDRIX_CTL_DESKTOP_PROBES)
    if (!FcInit())
        return {};
    std::string family;
    FcPattern* pattern = FcPatternCreate();
    FcLangSet* languages = FcLangSetCreate();
    FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddLangSet(pattern, FC_LANG, languages);
    FcObjectSet* fields = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, fields);
    FcChar8* name = nullptr;
    if (fonts && fonts->nfont > 0 && FcPatternGetString(fonts->fonts[0], FC_FAMILY, 0, &name) == FcResultMatch)
        family = reinterpret_cast<const char*>(name);
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(fields);
    FcLangSetDestroy(languages);
    FcPatternDestroy(pattern);
    // The tool asks once: fontconfig's configuration goes with the answer.
    FcFini();
    return family;
#else
    return "the system's";  // every Windows has Chinese fonts
#endif
}

}  // namespace ctl
