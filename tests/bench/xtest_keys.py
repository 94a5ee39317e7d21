"""Key presses with a precise time stamp: the X server's XTest extension called in-process
through ctypes, so the moment a key goes down is known to well under a millisecond (starting
xdotool for it would blur the moment by the few milliseconds a process start takes).

    keys = XTestKeys(display)     # ":2"
    at = keys.down("y")           # keysym name; returns time.monotonic() once the server has it
    keys.up("y")
    keys.close()

The keys go to the X window that has the focus, as xdotool's do; harness.Input.route_keyboard
puts the focus on the Windows foreground window first.
"""
import ctypes
import time

_XLIB_NAME = "libX11.so.6"
_XTEST_NAME = "libXtst.so.6"
_NO_SYMBOL = 0


class XTestKeys:
    def __init__(self, display):
        try:
            self._xlib = ctypes.CDLL(_XLIB_NAME)
            self._xtest = ctypes.CDLL(_XTEST_NAME)
        except OSError as error:
            raise RuntimeError("the X libraries for timed key presses are missing (%s); xdotool brings them"
                               % error) from None
        self._xlib.XOpenDisplay.restype = ctypes.c_void_p
        self._xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._xlib.XStringToKeysym.restype = ctypes.c_ulong
        self._xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self._xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
        self._xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self._xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self._xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self._display = self._xlib.XOpenDisplay(display.encode())
        if not self._display:
            raise RuntimeError("cannot open the X display %s" % display)

    def _keycode(self, keysym_name):
        keysym = self._xlib.XStringToKeysym(keysym_name.encode())
        keycode = self._xlib.XKeysymToKeycode(self._display, keysym) if keysym != _NO_SYMBOL else 0
        if not keycode:
            raise ValueError("no key for the keysym %r" % keysym_name)
        return keycode

    def _send(self, keysym_name, pressed):
        keycode = self._keycode(keysym_name)
        self._xtest.XTestFakeKeyEvent(self._display, keycode, 1 if pressed else 0, 0)
        # XSync returns once the server has handled the event, so the stamp follows the event.
        self._xlib.XSync(self._display, 0)
        return time.monotonic()

    def down(self, keysym_name):
        return self._send(keysym_name, True)

    def up(self, keysym_name):
        return self._send(keysym_name, False)

    def close(self):
        if self._display:
            self._xlib.XCloseDisplay(self._display)
            self._display = None
