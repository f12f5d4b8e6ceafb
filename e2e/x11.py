"""What the suite needs from the X server beyond xdotool, through libX11.

xdotool can neither ask a window to close the way a window manager does
(WM_DELETE_WINDOW), nor read the clipboard, nor take a picture; ctypes and
the libX11 that xdotool itself needs do, without another package.
"""

import ctypes
import ctypes.util
import struct
import time
import zlib

_c_ulong = ctypes.c_ulong
_c_void_p = ctypes.c_void_p
_c_int = ctypes.c_int

_CLIENT_MESSAGE = 33
_SELECTION_NOTIFY = 31
_Z_PIXMAP = 2
_ALL_PLANES = 0xFFFFFFFF


class _ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", _c_int),
        ("serial", _c_ulong),
        ("send_event", _c_int),
        ("display", _c_void_p),
        ("window", _c_ulong),
        ("message_type", _c_ulong),
        ("format", _c_int),
        ("l", ctypes.c_long * 5),
    ]


class _SelectionNotify(ctypes.Structure):
    _fields_ = [
        ("type", _c_int),
        ("serial", _c_ulong),
        ("send_event", _c_int),
        ("display", _c_void_p),
        ("requestor", _c_ulong),
        ("selection", _c_ulong),
        ("target", _c_ulong),
        ("property", _c_ulong),
        ("time", _c_ulong),
    ]


class _Event(ctypes.Union):
    _fields_ = [
        ("type", _c_int),
        ("xclient", _ClientMessage),
        ("xselection", _SelectionNotify),
        ("pad", ctypes.c_long * 24),
    ]


class _Image(ctypes.Structure):
    # The leading fields of XImage, as far as the pixels need.
    _fields_ = [
        ("width", _c_int),
        ("height", _c_int),
        ("xoffset", _c_int),
        ("format", _c_int),
        ("data", _c_void_p),
        ("byte_order", _c_int),
        ("bitmap_unit", _c_int),
        ("bitmap_bit_order", _c_int),
        ("bitmap_pad", _c_int),
        ("depth", _c_int),
        ("bytes_per_line", _c_int),
        ("bits_per_pixel", _c_int),
        ("red_mask", _c_ulong),
        ("green_mask", _c_ulong),
        ("blue_mask", _c_ulong),
    ]


def _load():
    lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = _c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XCloseDisplay.argtypes = [_c_void_p]
    lib.XFlush.argtypes = [_c_void_p]
    lib.XSync.argtypes = [_c_void_p, _c_int]
    lib.XPending.argtypes = [_c_void_p]
    lib.XInternAtom.restype = _c_ulong
    lib.XInternAtom.argtypes = [_c_void_p, ctypes.c_char_p, _c_int]
    lib.XDefaultRootWindow.restype = _c_ulong
    lib.XDefaultRootWindow.argtypes = [_c_void_p]
    lib.XCreateSimpleWindow.restype = _c_ulong
    lib.XCreateSimpleWindow.argtypes = [_c_void_p, _c_ulong, _c_int, _c_int, ctypes.c_uint,
                                        ctypes.c_uint, ctypes.c_uint, _c_ulong, _c_ulong]
    lib.XDestroyWindow.argtypes = [_c_void_p, _c_ulong]
    lib.XSendEvent.argtypes = [_c_void_p, _c_ulong, _c_int, ctypes.c_long, ctypes.POINTER(_Event)]
    lib.XSetSelectionOwner.argtypes = [_c_void_p, _c_ulong, _c_ulong, _c_ulong]
    lib.XGetSelectionOwner.restype = _c_ulong
    lib.XGetSelectionOwner.argtypes = [_c_void_p, _c_ulong]
    lib.XConvertSelection.argtypes = [_c_void_p, _c_ulong, _c_ulong, _c_ulong, _c_ulong, _c_ulong]
    lib.XNextEvent.argtypes = [_c_void_p, ctypes.POINTER(_Event)]
    lib.XGetWindowProperty.argtypes = [
        _c_void_p, _c_ulong, _c_ulong, ctypes.c_long, ctypes.c_long, _c_int, _c_ulong,
        ctypes.POINTER(_c_ulong), ctypes.POINTER(_c_int), ctypes.POINTER(_c_ulong),
        ctypes.POINTER(_c_ulong), ctypes.POINTER(_c_void_p)]
    lib.XGetImage.restype = ctypes.POINTER(_Image)
    lib.XGetImage.argtypes = [_c_void_p, _c_ulong, _c_int, _c_int, ctypes.c_uint, ctypes.c_uint,
                              _c_ulong, _c_int]
    lib.XFree.argtypes = [_c_void_p]
    return lib


class Display:
    """One connection to the X server named by `name` (":5")."""

    def __init__(self, name):
        self._x = _load()
        self._d = self._x.XOpenDisplay(name.encode())
        if not self._d:
            raise RuntimeError(f"cannot open display {name}")

    def close(self):
        if self._d:
            self._x.XCloseDisplay(self._d)
            self._d = None

    def _atom(self, name):
        return self._x.XInternAtom(self._d, name.encode(), 0)

    def request_close(self, window):
        """Asks `window` to close as a window manager's close button does."""
        event = _Event()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = self._atom("WM_PROTOCOLS")
        event.xclient.format = 32
        event.xclient.l[0] = self._atom("WM_DELETE_WINDOW")
        event.xclient.l[1] = 0  # CurrentTime
        if not self._x.XSendEvent(self._d, window, 0, 0, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        self._x.XSync(self._d, 0)

    def clear_clipboard(self):
        """Leaves the clipboard without an owner, so a later copy is seen."""
        self._x.XSetSelectionOwner(self._d, self._atom("CLIPBOARD"), 0, 0)
        self._x.XSync(self._d, 0)

    def read_clipboard(self, timeout=5.0):
        """The clipboard's text, or None when nobody holds it."""
        clipboard = self._atom("CLIPBOARD")
        if not self._x.XGetSelectionOwner(self._d, clipboard):
            return None
        root = self._x.XDefaultRootWindow(self._d)
        window = self._x.XCreateSimpleWindow(self._d, root, 0, 0, 1, 1, 0, 0, 0)
        try:
            prop = self._atom("KAVRIN_E2E_CLIPBOARD")
            self._x.XConvertSelection(self._d, clipboard, self._atom("UTF8_STRING"), prop, window, 0)
            self._x.XFlush(self._d)
            event = _Event()
            deadline = time.monotonic() + timeout
            while True:
                if self._x.XPending(self._d):
                    self._x.XNextEvent(self._d, ctypes.byref(event))
                    if event.type == _SELECTION_NOTIFY:
                        break
                elif time.monotonic() > deadline:
                    raise RuntimeError("the clipboard owner did not answer")
                else:
                    time.sleep(0.02)
            if event.xselection.property == 0:
                return None
            kind, fmt, count, after = _c_ulong(), _c_int(), _c_ulong(), _c_ulong()
            data = _c_void_p()
            self._x.XGetWindowProperty(self._d, window, prop, 0, 1 << 20, 1, 0, ctypes.byref(kind),
                                       ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                                       ctypes.byref(data))
            if not data:
                return None
            try:
                return ctypes.string_at(data, count.value).decode("utf-8")
            finally:
                self._x.XFree(data)
        finally:
            self._x.XDestroyWindow(self._d, window)

    def screenshot_png(self, x, y, width, height):
        """The screen's pixels in the rectangle, as PNG bytes."""
        root = self._x.XDefaultRootWindow(self._d)
        image_p = self._x.XGetImage(self._d, root, x, y, width, height, _ALL_PLANES, _Z_PIXMAP)
        if not image_p:
            raise RuntimeError("XGetImage failed")
        image = image_p.contents
        if image.bits_per_pixel != 32 or image.red_mask != 0xFF0000 or image.byte_order != 0:
            raise RuntimeError("only 24-bit little-endian screens are supported")
        width, height, stride = image.width, image.height, image.bytes_per_line
        raw = ctypes.string_at(image.data, stride * height)
        self._x.XFree(image.data)
        self._x.XFree(image_p)
        rows = bytearray()
        for row in range(height):
            pixels = raw[row * stride:row * stride + 4 * width]
            rgb = bytearray(3 * width)
            rgb[0::3] = pixels[2::4]
            rgb[1::3] = pixels[1::4]
            rgb[2::3] = pixels[0::4]
            rows += b"\x00" + rgb
        return _png(width, height, bytes(rows))


def _png(width, height, filtered_rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(filtered_rows, 9)) + chunk(b"IEND", b""))
