#include "WindowHints.h"

#include <QGuiApplication>
#include <QWindow>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>

namespace {

// The few X protocol calls needed, taken from the X connection library that Qt's desktop
// platform has already loaded: nothing is loaded, and nothing happens, on any other platform.
struct Cookie {
    unsigned int sequence;
};
struct AtomReply {
    std::uint8_t responseType;
    std::uint8_t pad0;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint32_t atom;
};
using InternAtomFn = Cookie (*)(xcb_connection_t*, std::uint8_t, std::uint16_t, const char*);
using InternAtomReplyFn = AtomReply* (*)(xcb_connection_t*, Cookie, void**);
using ChangePropertyFn = Cookie (*)(xcb_connection_t*, std::uint8_t, std::uint32_t, std::uint32_t, std::uint32_t,
    std::uint8_t, std::uint32_t, const void*);
using FlushFn = int (*)(xcb_connection_t*);

constexpr std::uint8_t PropModeAppend = 2;
constexpr std::uint32_t AtomTypeAtom = 4;

struct Xcb {
    InternAtomFn internAtom{nullptr};
    InternAtomReplyFn internAtomReply{nullptr};
    ChangePropertyFn changeProperty{nullptr};
    FlushFn flush{nullptr};
    bool Usable() const { return internAtom && internAtomReply && changeProperty && flush; }
};

const Xcb& Library()
{
    static const Xcb xcb = [] {
        Xcb x;
        void* handle = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        if (!handle)
            return x;
        x.internAtom = reinterpret_cast<InternAtomFn>(dlsym(handle, "xcb_intern_atom"));
        x.internAtomReply = reinterpret_cast<InternAtomReplyFn>(dlsym(handle, "xcb_intern_atom_reply"));
        x.changeProperty = reinterpret_cast<ChangePropertyFn>(dlsym(handle, "xcb_change_property"));
        x.flush = reinterpret_cast<FlushFn>(dlsym(handle, "xcb_flush"));
        return x;
    }();
    return xcb;
}

std::uint32_t Atom(const Xcb& xcb, xcb_connection_t* connection, const char* name, std::uint16_t length)
{
    AtomReply* reply = xcb.internAtomReply(connection, xcb.internAtom(connection, 0, length, name), nullptr);
    if (!reply)
        return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

namespace WindowHints {

void SkipTaskbar(QWindow* window)
{
    if (!window || !qGuiApp)
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    const Xcb& xcb = Library();
    if (!xcb.Usable())
        return;
    xcb_connection_t* connection = x11->connection();
    static const std::uint32_t state = Atom(xcb, connection, "_NET_WM_STATE", 13);
    static const std::array<std::uint32_t, 2> hints{Atom(xcb, connection, "_NET_WM_STATE_SKIP_TASKBAR", 26),
        Atom(xcb, connection, "_NET_WM_STATE_SKIP_PAGER", 24)};
    if (!state || !hints[0] || !hints[1])
        return;
    xcb.changeProperty(connection, PropModeAppend, static_cast<std::uint32_t>(window->winId()), state, AtomTypeAtom, 32,
        static_cast<std::uint32_t>(hints.size()), hints.data());
    xcb.flush(connection);
}

} // namespace WindowHints
