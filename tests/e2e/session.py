"""Just enough of a session manager, through Debian's libSM as desktops use it, to log one
client out and see each step: started with SESSION_MANAGER from env(), the client joins
("registered"), logout() asks it to save itself for a shutdown ("done 1"), die() ends it;
"closed" tells that it hung up. The steps are in self.said, in order."""
import ctypes
import select
import threading

SM, ICE = ctypes.CDLL("libSM.so.6"), ctypes.CDLL("libICE.so.6")
for name in ("SmsGenerateClientID", "IceComposeNetworkIdList", "IceAcceptConnection"):
    getattr(SM if name.startswith("Sms") else ICE, name).restype = ctypes.c_void_p
# Every callback here takes (connection, data, one int) at most; the rest of what libSM passes
# is left unread.
CALLBACK = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_int)
ANY_HOST = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_char_p)(lambda host: 1)
# A client that hangs up would make libICE's default handler end this process.
NO_EXIT = ctypes.CFUNCTYPE(None, ctypes.c_void_p)(lambda connection: None)


class SessionManager:
    def __init__(self):
        self.said, self.client, self.ice, self.todo = [], None, None, []
        replies = {  # in the order of libSM's callback table
            "register_client": lambda c: SM.SmsRegisterClientReply(
                ctypes.c_void_p(c), ctypes.c_void_p(SM.SmsGenerateClientID(ctypes.c_void_p(c)))),
            "interact_request": lambda c: SM.SmsInteract(ctypes.c_void_p(c)),
            "interact_done": None, "save_yourself_request": None,
            "save_yourself_phase2_request": lambda c: SM.SmsSaveYourselfPhase2(ctypes.c_void_p(c)),
            "save_yourself_done": None, "close_connection": None, "set_properties": None,
            "delete_properties": None,
            "get_properties": lambda c: SM.SmsReturnProperties(ctypes.c_void_p(c), 0, None)}
        words = {"register_client": "registered", "close_connection": "closed"}

        def callback(name):
            def handle(connection, data, number):
                if replies[name]:
                    replies[name](connection)
                if name in words or name == "save_yourself_done":
                    self.said.append(words.get(name, f"done {number}"))
                return 1
            return CALLBACK(handle)
        self.callbacks = [callback(name) for name in replies]

        def new_client(connection, data, mask, table, failure):
            self.client = connection
            ctypes.cast(mask, ctypes.POINTER(ctypes.c_ulong))[0] = (1 << len(replies)) - 1
            slots = ctypes.cast(table, ctypes.POINTER(ctypes.c_void_p))
            for i, function in enumerate(self.callbacks):
                slots[2 * i] = ctypes.cast(function, ctypes.c_void_p)
            return 1
        self.new_client = ctypes.CFUNCTYPE(ctypes.c_int, *[ctypes.c_void_p] * 5)(new_client)
        error = ctypes.create_string_buffer(256)
        ICE.IceSetIOErrorHandler(NO_EXIT)
        count, listeners = ctypes.c_int(), ctypes.c_void_p()
        if not (SM.SmsInitialize(b"Kestrova tests", b"1", self.new_client, None, ANY_HOST, 256, error)
                and ICE.IceListenForConnections(ctypes.byref(count), ctypes.byref(listeners), 256, error)):
            raise RuntimeError(error.value.decode())
        self.listeners = ctypes.cast(listeners, ctypes.POINTER(ctypes.c_void_p))[:count.value]
        for listener in self.listeners:
            ICE.IceSetHostBasedAuthProc(ctypes.c_void_p(listener), ANY_HOST)
        self.address = ctypes.string_at(ICE.IceComposeNetworkIdList(count, listeners)).decode()
        threading.Thread(target=self.serve, daemon=True).start()

    def env(self):
        return {"SESSION_MANAGER": self.address}

    def logout(self):  # save both ways, shutdown, any interaction, not fast
        self.todo.append(lambda: SM.SmsSaveYourself(ctypes.c_void_p(self.client), 2, 1, 2, 0))

    def die(self):
        self.todo.append(lambda: "closed" in self.said or SM.SmsDie(ctypes.c_void_p(self.client)))

    def serve(self):
        """libICE is not thread-safe: this thread alone touches it once started."""
        ports = {ICE.IceGetListenConnectionNumber(ctypes.c_void_p(l)): l for l in self.listeners}
        while True:
            while self.todo:
                self.todo.pop(0)()
            watched = list(ports) + ([ICE.IceConnectionNumber(self.ice)] if self.ice else [])
            for port in select.select(watched, [], [], 0.05)[0]:
                if port not in ports:
                    if ICE.IceProcessMessages(self.ice, None, None) == 1:  # a broken connection
                        self.ice = None
                        self.said += [] if "closed" in self.said else ["closed"]
                    continue
                status = ctypes.c_int()
                ice = ctypes.c_void_p(ICE.IceAcceptConnection(ctypes.c_void_p(ports[port]),
                                                             ctypes.byref(status)))
                while ice.value and ICE.IceConnectionStatus(ice) == 0:  # pending
                    ICE.IceProcessMessages(ice, None, None)
                if ice.value and ICE.IceConnectionStatus(ice) == 1:  # accepted
                    self.ice = ice
