#include "shell/LockIndicators.h"

#include <QGuiApplication>

#ifdef TESSIMO_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace tessimo {

#ifdef TESSIMO_HAVE_X11
namespace {

bool namedIndicator(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None) {
        return false;
    }
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return false;
    }
    return on == True;
}

} // namespace
#endif

LockState readLockState() {
    LockState state;
#ifdef TESSIMO_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (display != nullptr) {
        state.caps = namedIndicator(display, "Caps Lock");
        state.num = namedIndicator(display, "Num Lock");
        state.scroll = namedIndicator(display, "Scroll Lock");
    }
#endif
    return state;
}

} // namespace tessimo
