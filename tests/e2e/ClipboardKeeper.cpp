// A minimal clipboard manager for the end-to-end test, as desktops run one: it owns the
// CLIPBOARD_MANAGER selection, and when a program that is ending asks it to save the clipboard
// (SAVE_TARGETS), it reads the text from that program, tells it it is done, and from then on owns
// the clipboard itself and hands the text to whoever asks. It reports on standard output:
//
//   ready          it owns CLIPBOARD_MANAGER
//   saved N        it took N bytes over from the program that asked

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <string>

namespace {

struct TAtoms {
    Atom Clipboard, Manager, SaveTargets, Targets, Utf8, Incoming;
};

// Reads the clipboard's text as UTF8_STRING from its owner into text, answering nothing else
// meanwhile; false when the owner gave none.
bool FetchClipboard(Display* dpy, Window self, const TAtoms& a, std::string& text) {
    XConvertSelection(dpy, a.Clipboard, a.Utf8, a.Incoming, self, CurrentTime);
    XFlush(dpy);
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type != SelectionNotify || event.xselection.selection != a.Clipboard) {
            continue;
        }
        if (event.xselection.property == None) {
            return false;
        }
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy, self, a.Incoming, 0, 1L << 28, True, AnyPropertyType, &type, &format,
                               &items, &after, &data) != Success) {
            return false;
        }
        text.assign(reinterpret_cast<const char*>(data), items);
        XFree(data);
        return true;
    }
}

void Answer(Display* dpy, const XSelectionRequestEvent& request, Atom property) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = property;
    reply.xselection.time = request.time;
    XSendEvent(dpy, request.requestor, False, 0, &reply);
    XFlush(dpy);
}

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::printf("error no display\n");
        return 2;
    }
    const Window self = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    const TAtoms a{XInternAtom(dpy, "CLIPBOARD", False),    XInternAtom(dpy, "CLIPBOARD_MANAGER", False),
                   XInternAtom(dpy, "SAVE_TARGETS", False), XInternAtom(dpy, "TARGETS", False),
                   XInternAtom(dpy, "UTF8_STRING", False),  XInternAtom(dpy, "VARNEL_KEEPER", False)};
    XSetSelectionOwner(dpy, a.Manager, self, CurrentTime);
    if (XGetSelectionOwner(dpy, a.Manager) != self) {
        std::printf("error another clipboard manager runs\n");
        return 2;
    }
    std::printf("ready\n");
    std::string kept;
    bool keeping = false;
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type != SelectionRequest) {
            continue;
        }
        const XSelectionRequestEvent& request = event.xselectionrequest;
        const Atom property = request.property != None ? request.property : request.target;
        if (request.selection == a.Manager && request.target == a.SaveTargets) {
            std::string text;
            const bool fetched = FetchClipboard(dpy, self, a, text);
            Answer(dpy, request, fetched ? property : None);
            if (fetched) {
                kept = text;
                keeping = true;
                XSetSelectionOwner(dpy, a.Clipboard, self, CurrentTime);
                std::printf("saved %zu\n", kept.size());
            }
        } else if (request.selection == a.Clipboard && keeping && request.target == a.Targets) {
            const Atom offered[] = {a.Targets, a.Utf8, XA_STRING};
            XChangeProperty(dpy, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered), 3);
            Answer(dpy, request, property);
        } else if (request.selection == a.Clipboard && keeping &&
                   (request.target == a.Utf8 || request.target == XA_STRING)) {
            XChangeProperty(dpy, request.requestor, property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(kept.data()),
                            static_cast<int>(kept.size()));
            Answer(dpy, request, property);
        } else {
            Answer(dpy, request, None);
        }
    }
}
