/* Plays logind on a bus of host-bench's own, so that a run can be put to sleep and woken many times
 * quickly: each wake makes every display load its scene again in a new web view.
 *
 *   logind-stand-in BUS-ADDRESS
 *
 * Owns org.freedesktop.login1 there, prints "ready", then for each line "sleep" or "wake" on stdin emits
 * PrepareForSleep(true) or (false), flushes it to the bus and prints "sent".
 */
#include <gio/gio.h>
#include <stdio.h>
#include <string.h>

static GDBusConnection *connect_to(const char *address) {
    GDBusConnectionFlags flags =
        G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION;
    /* The socket's file comes a moment before the daemon listens on it. */
    for (int attempt = 0; attempt < 100; attempt++) {
        GDBusConnection *bus = g_dbus_connection_new_for_address_sync(address, flags, NULL, NULL, NULL);
        if (bus)
            return bus;
        g_usleep(50000);
    }
    return NULL;
}

static gboolean own_name(GDBusConnection *bus) {
    GVariant *reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
        g_variant_new("(su)", "org.freedesktop.login1", 4u /* do not queue */), G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NONE, -1, NULL, NULL);
    if (!reply)
        return FALSE;
    guint32 answer = 0;
    g_variant_get(reply, "(u)", &answer);
    g_variant_unref(reply);
    return answer == 1; /* primary owner */
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: logind-stand-in BUS-ADDRESS\n");
        return 2;
    }
    GDBusConnection *bus = connect_to(argv[1]);
    if (!bus || !own_name(bus)) {
        fprintf(stderr, "logind-stand-in: cannot own org.freedesktop.login1 on %s\n", argv[1]);
        return 1;
    }
    setvbuf(stdout, NULL, _IOLBF, 0);
    printf("ready\n");
    char line[64];
    while (fgets(line, sizeof line, stdin)) {
        gboolean sleeping = strncmp(line, "sleep", 5) == 0;
        g_dbus_connection_emit_signal(bus, NULL, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                      "PrepareForSleep", g_variant_new("(b)", sleeping), NULL);
        g_dbus_connection_flush_sync(bus, NULL, NULL);
        printf("sent\n");
    }
    g_object_unref(bus);
    return 0;
}
