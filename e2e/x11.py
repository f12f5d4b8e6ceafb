"""What the suite needs beyond xdotool: a window manager's close (WM_DELETE_WINDOW) and the
clipboard, through the libX11 xdotool itself needs, and pictures from Xvfb's -fbdir framebuffer file."""

import contextlib
import ctypes
import ctypes.util
import struct
import time
import zlib

_ulong, _long, _int, _ptr = ctypes.c_ulong, ctypes.c_long, ctypes.c_int, ctypes.c_void_p


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", _int), ("serial", _ulong), ("send_event", _int), ("display", _ptr),
                ("window", _ulong), ("message_type", _ulong), ("format", _int), ("l", _long * 5)]


class _Selection(ctypes.Structure):  # a SelectionRequest's fields; a SelectionNotify's lack `owner`
    _fields_ = [("type", _int), ("serial", _ulong), ("send_event", _int), ("display", _ptr), ("owner", _ulong),
                ("requestor", _ulong), ("selection", _ulong), ("target", _ulong), ("property", _ulong),
                ("time", _ulong)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("xselection", _Selection), ("pad", _long * 24)]


def _libx11():
    """libX11, with the types of the calls made here."""
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    event, out = ctypes.POINTER(_Event), ctypes.POINTER
    for name, result, arguments in (
            ("XOpenDisplay", _ptr, [ctypes.c_char_p]), ("XInternAtom", _ulong, [_ptr, ctypes.c_char_p, _int]),
            ("XDefaultRootWindow", _ulong, [_ptr]),
            ("XCreateSimpleWindow", _ulong, [_ptr, _ulong] + [_int] * 5 + [_ulong] * 2),
            ("XSendEvent", _int, [_ptr, _ulong, _int, _long, event]), ("XNextEvent", _int, [_ptr, event]),
            ("XConvertSelection", _int, [_ptr, _ulong, _ulong, _ulong, _ulong, _ulong]),
            ("XGetWindowProperty", _int, [_ptr, _ulong, _ulong, _long, _long, _int, _ulong, out(_ulong), out(_int),
                                          out(_ulong), out(_ulong), out(ctypes.c_void_p)]),
            ("XSetSelectionOwner", _int, [_ptr, _ulong, _ulong, _ulong]),
            ("XChangeProperty", _int, [_ptr, _ulong, _ulong, _ulong, _int, _int, ctypes.c_char_p, _int]),
            ("XSync", _int, [_ptr, _int]), ("XPending", _int, [_ptr]), ("XFlush", _int, [_ptr]),
            ("XCloseDisplay", _int, [_ptr]), ("XFree", _int, [_ptr])):
        getattr(x, name).restype, getattr(x, name).argtypes = result, arguments
    return x


@contextlib.contextmanager
def _opened(display):
    """libX11 and a connection to `display` (":5"), closed after."""
    x = _libx11()
    d = x.XOpenDisplay(display.encode())
    if not d:
        raise RuntimeError(f"cannot open display {display}")
    try:
        yield x, d
    finally:
        x.XCloseDisplay(d)


def request_close(display, window):
    """Asks `window` on `display` to close as a window manager's close button does."""
    with _opened(display) as (x, d):
        event = _Event()
        event.xclient.type, event.xclient.window, event.xclient.format = 33, window, 32  # ClientMessage
        event.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
        event.xclient.l[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
        if not x.XSendEvent(d, window, 0, 0, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        x.XSync(d, 0)


def screenshot_png(xwd, rect=None):
    """PNG bytes of the rectangle (x, y, width, height) of Xvfb's 24-bit framebuffer file."""
    data = xwd.read_bytes()
    head = struct.unpack(">25I", data[:100])
    size, screen_w, screen_h, stride, ncolors = head[0], head[4], head[5], head[12], head[19]
    if head[11] != 32 or head[7] != 0:
        raise RuntimeError("only 24-bit little-endian screens are supported")
    x, y, width, height = rect or (0, 0, screen_w, screen_h)
    x, y = max(0, x), max(0, y)
    width, height = min(width, screen_w - x), min(height, screen_h - y)
    start = size + 12 * ncolors
    rows = bytearray()
    for row in range(y, y + height):
        pixels = data[start + row * stride + 4 * x:start + row * stride + 4 * (x + width)]
        rgb = bytearray(3 * width)
        rgb[0::3], rgb[1::3], rgb[2::3] = pixels[2::4], pixels[1::4], pixels[0::4]
        rows += b"\x00" + rgb

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def clipboard_text(display, timeout=5.0):
    """The CLIPBOARD selection on `display` as UTF-8 text, as a program that pastes asks for it."""
    with _opened(display) as (x, d):
        window = x.XCreateSimpleWindow(d, x.XDefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0)
        into = x.XInternAtom(d, b"KAVRIN_E2E", 0)
        x.XConvertSelection(d, x.XInternAtom(d, b"CLIPBOARD", 0), x.XInternAtom(d, b"UTF8_STRING", 0), into,
                            window, 0)
        x.XFlush(d)
        event, deadline = _Event(), time.monotonic() + timeout
        while event.xclient.type != 31:  # SelectionNotify
            if time.monotonic() > deadline:
                raise TimeoutError("nothing answered for the clipboard")
            if x.XPending(d):
                x.XNextEvent(d, ctypes.byref(event))
            else:
                time.sleep(0.02)
        kind, size, count, after, data = _ulong(), _int(), _ulong(), _ulong(), ctypes.c_void_p()
        x.XGetWindowProperty(d, window, into, 0, 1 << 20, 0, 0, ctypes.byref(kind), ctypes.byref(size),
                             ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
        if not data.value:
            return ""
        text = ctypes.string_at(data.value, count.value).decode("utf-8", errors="replace")
        x.XFree(data)
        return text


def drop_files(display, window, uris, x, y, timeout=10.0):
    """Drags `uris` ("file:///...") from another program onto `window` at the screen's (x, y) and drops
    them there, as XDND (version 5) carries a drag from a file manager. True when the drop was taken."""
    with _opened(display) as (lib, d):
        def atom(name):
            return lib.XInternAtom(d, name.encode(), 0)

        source = lib.XCreateSimpleWindow(d, lib.XDefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0)
        selection, uri_list = atom("XdndSelection"), atom("text/uri-list")
        lib.XSetSelectionOwner(d, selection, source, 0)

        def send(kind, *data):
            event = _Event()
            event.xclient.type, event.xclient.window, event.xclient.format = 33, window, 32
            event.xclient.message_type = atom(kind)
            for i, value in enumerate((source, *data)):
                event.xclient.l[i] = value
            lib.XSendEvent(d, window, 0, 0, ctypes.byref(event))
            lib.XFlush(d)

        def answer(request):  # the target asks for the files while it decides
            data = "".join(f"{uri}\r\n" for uri in uris).encode() if request.target == uri_list else None
            if data is not None:
                lib.XChangeProperty(d, request.requestor, request.property, request.target, 8, 0, data, len(data))
            notify = _Event()
            notify.xselection.type = 31  # SelectionNotify
            (notify.xselection.owner, notify.xselection.requestor, notify.xselection.selection,
             notify.xselection.target, notify.xselection.property, notify.xselection.time) = (
                request.requestor, request.selection, request.target,
                request.property if data is not None else 0, request.time, 0)
            lib.XSendEvent(d, request.requestor, 0, 0, ctypes.byref(notify))
            lib.XFlush(d)

        def wait_for(kind):
            event, deadline = _Event(), time.monotonic() + timeout
            while time.monotonic() < deadline:
                if not lib.XPending(d):
                    time.sleep(0.02)
                    continue
                lib.XNextEvent(d, ctypes.byref(event))
                if event.xclient.type == 30:  # SelectionRequest
                    answer(event.xselection)
                elif event.xclient.type == 33 and event.xclient.message_type == atom(kind):
                    return event.xclient
            raise TimeoutError(f"no {kind} from the drop target")

        send("XdndEnter", 5 << 24, uri_list)
        send("XdndPosition", 0, (x << 16) | y, 0, atom("XdndActionCopy"))
        accepted = wait_for("XdndStatus").l[1] & 1
        if not accepted:
            send("XdndLeave")
            return False
        send("XdndDrop", 0, 0)
        return bool(wait_for("XdndFinished").l[1] & 1)
