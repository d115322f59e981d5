#include "GioNetworkLocations.hpp"

#include <gio/gio.h>
#include <strings.h>

#include <memory>

namespace quarnel {
namespace {

template <typename T>
struct GObjectUnref {
    void operator()(T* object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref<T>>;

struct GFree {
    void operator()(void* memory) const { g_free(memory); }
};
using GChars = std::unique_ptr<char, GFree>;

struct VariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// GIO takes the host of a file: URI for nothing and would name a file of this machine's.
bool IsFileUri(const std::string& uri) { return strncasecmp(uri.c_str(), "file:", 5) == 0; }

std::optional<std::string> GvfsPath(const std::string& uri) {
    const GObjectPtr<GFile> file(g_file_new_for_uri(uri.c_str()));
    const GChars path(g_file_get_path(file.get()));
    if (!path) return std::nullopt;
    return std::string(path.get());
}

// kio-fuse mounts what it is asked for, through KIO and the logins KDE keeps; D-Bus starts it
// where it is installed and not running yet, as KIO itself does.
std::optional<std::string> KioFusePath(const std::string& uri) {
    GError* failure = nullptr;
    const GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &failure));
    const std::unique_ptr<GError, ErrorFree> busFailure(failure);
    if (!bus) return std::nullopt;
    failure = nullptr;
    const std::unique_ptr<GVariant, VariantUnref> reply(g_dbus_connection_call_sync(
        bus.get(), "org.kde.KIOFuse", "/org/kde/KIOFuse", "org.kde.KIOFuse.VFS", "mountUrl",
        g_variant_new("(s)", uri.c_str()), G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, -1,
        nullptr, &failure));
    const std::unique_ptr<GError, ErrorFree> callFailure(failure);
    if (!reply) return std::nullopt;
    const gchar* path = nullptr;
    g_variant_get(reply.get(), "(&s)", &path);
    if (path == nullptr || path[0] != '/') return std::nullopt;
    return std::string(path);
}

}  // namespace

std::optional<std::string> GioNetworkLocations::LocalPathOf(const std::string& uri) {
    if (IsFileUri(uri)) return std::nullopt;
    if (auto path = GvfsPath(uri)) return path;
    return KioFusePath(uri);
}

}  // namespace quarnel
