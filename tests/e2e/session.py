"""The least of an X11 session manager, on Debian's libSM as desktops use it, to log one client
out. `said` lists what the client did: joined ("registered"), saved itself ("done 1" on success),
hung up ("closed"). No Debian package offers a session manager that a test can drive."""

import ctypes
import select
import threading
from ctypes import POINTER, byref, c_char_p, c_int, c_ulong, c_void_p

from support import wait_until

SM = ctypes.CDLL("libSM.so.6")
ICE = ctypes.CDLL("libICE.so.6")
SM.SmsGenerateClientID.restype = c_void_p
ICE.IceComposeNetworkIdList.restype = c_void_p
ICE.IceAcceptConnection.restype = c_void_p

SAVE_BOTH, INTERACT_ANY, ICE_PENDING, ICE_ACCEPTED, ICE_IO_ERROR = 2, 2, 0, 1, 1


def callback(*arguments):
    """A callback of libSM's table: it gets the connection and our data, then its own."""
    return ctypes.CFUNCTYPE(c_int, c_void_p, c_void_p, *arguments)


class Callbacks(ctypes.Structure):  # SmsCallbacks: each callback beside its data, in this order
    NAMES = (
        "register_client interact_request interact_done save_yourself_request "
        "save_yourself_phase2_request save_yourself_done close_connection set_properties "
        "delete_properties get_properties"
    ).split()
    _fields_ = [field for name in NAMES for field in ((name, c_void_p), (name + "_data", c_void_p))]


AnyHost = ctypes.CFUNCTYPE(c_int, c_char_p)
NewClient = ctypes.CFUNCTYPE(
    c_int, c_void_p, c_void_p, POINTER(c_ulong), POINTER(Callbacks), c_void_p
)
IoError = ctypes.CFUNCTYPE(None, c_void_p)


class SessionManager:
    def __init__(self):
        self.said, self.client, self.ice, self.todo = [], None, None, []
        self.answers = {  # kept here, so that libSM's pointers to them stay good
            "register_client": callback(c_char_p)(self._register),
            "interact_request": callback(c_int)(
                lambda conn, data, kind: SM.SmsInteract(c_void_p(conn))
            ),
            "save_yourself_phase2_request": callback()(
                lambda conn, data: SM.SmsSaveYourselfPhase2(c_void_p(conn))
            ),
            "save_yourself_done": callback(c_int)(self._saved),
            "close_connection": callback(c_int, c_void_p)(self._closed),
            "get_properties": callback()(
                lambda conn, data: SM.SmsReturnProperties(c_void_p(conn), 0, None)
            ),
        }
        self.nothing = callback()(lambda conn, data: 1)
        self.any_host, self.no_exit = AnyHost(lambda host: 1), IoError(lambda conn: None)
        self.new_client = NewClient(self._new_client)
        ICE.IceSetIOErrorHandler(self.no_exit)  # libICE's own ends the process at a hang-up
        error, count, listeners = ctypes.create_string_buffer(256), c_int(), c_void_p()
        vendor = b"Kestrova tests"
        ok = SM.SmsInitialize(vendor, b"1", self.new_client, None, self.any_host, 256, error)
        ok = ok and ICE.IceListenForConnections(byref(count), byref(listeners), 256, error)
        if not ok:
            raise RuntimeError(error.value.decode())
        listening = ctypes.cast(listeners, POINTER(c_void_p))[: count.value]
        self.ports = {
            ICE.IceGetListenConnectionNumber(c_void_p(one)): c_void_p(one) for one in listening
        }
        for listener in self.ports.values():
            ICE.IceSetHostBasedAuthProc(listener, self.any_host)
        address = ctypes.string_at(ICE.IceComposeNetworkIdList(count, listeners)).decode()
        self.env = {"SESSION_MANAGER": address}
        threading.Thread(target=self._serve, daemon=True).start()

    def _new_client(self, conn, data, mask, table, failure):
        self.client = c_void_p(conn)
        mask[0] = (1 << len(Callbacks.NAMES)) - 1
        for name in Callbacks.NAMES:  # libSM calls each; what it says of the others is left unread
            answer = self.answers.get(name, self.nothing)
            setattr(table[0], name, ctypes.cast(answer, c_void_p))
        return 1

    def _register(self, conn, data, previous_id):
        self.said.append("registered")
        return SM.SmsRegisterClientReply(
            c_void_p(conn), c_void_p(SM.SmsGenerateClientID(c_void_p(conn)))
        )

    def _saved(self, conn, data, success):
        self.said.append(f"done {success}")
        return 1

    def _closed(self, conn, data, count, reasons):
        self.said.append("closed")
        return 1

    def joined(self):
        wait_until("the copy joining the session", lambda: "registered" in self.said)

    def log_out(self):
        """Both kinds of save, for a shutdown, with any interaction, not in haste; returns when
        the copy says it saved itself."""
        self.todo.append(lambda: SM.SmsSaveYourself(self.client, SAVE_BOTH, 1, INTERACT_ANY, 0))
        wait_until("the copy saying it saved itself", lambda: "done 1" in self.said)

    def end(self):
        self.todo.append(lambda: "closed" in self.said or SM.SmsDie(self.client))

    def _serve(self):
        """libICE is not thread-safe: once started, only this thread touches it."""
        while True:
            while self.todo:
                self.todo.pop(0)()
            watched = list(self.ports)
            if self.ice:
                watched.append(ICE.IceConnectionNumber(self.ice))
            for ready in select.select(watched, [], [], 0.05)[0]:
                if ready in self.ports:
                    self._accept(self.ports[ready])
                elif ICE.IceProcessMessages(self.ice, None, None) == ICE_IO_ERROR:
                    self.ice = None
                    if "closed" not in self.said:
                        self.said.append("closed")

    def _accept(self, listener):
        ice = c_void_p(ICE.IceAcceptConnection(listener, byref(c_int())))
        while ice.value and ICE.IceConnectionStatus(ice) == ICE_PENDING:
            ICE.IceProcessMessages(ice, None, None)
        if ice.value and ICE.IceConnectionStatus(ice) == ICE_ACCEPTED:
            self.ice = ice
