"""The least of a session manager, on Debian's libSM as desktops use it, to log one client out; self.said has
each step: it joins ("registered"), logout() has it save itself ("done 1"), die() ends it, it hangs up ("closed")."""
import ctypes, select, threading  # noqa: E401

SM, ICE, P, INT = ctypes.CDLL("libSM.so.6"), ctypes.CDLL("libICE.so.6"), ctypes.c_void_p, ctypes.c_int
SM.SmsGenerateClientID.restype = ICE.IceComposeNetworkIdList.restype = ICE.IceAcceptConnection.restype = P
# The answers and words of libSM's ten callbacks, by their place in its table. Each is called here as
# (connection, data, one int); what else libSM passes is left unread.
ANSWERS = {0: lambda c: SM.SmsRegisterClientReply(P(c), P(SM.SmsGenerateClientID(P(c)))), 1: lambda c: SM.SmsInteract(
    P(c)), 4: lambda c: SM.SmsSaveYourselfPhase2(P(c)), 9: lambda c: SM.SmsReturnProperties(P(c), 0, None)}
WORDS = {0: "registered", 5: "done {}", 6: "closed"}
ANY_HOST = ctypes.CFUNCTYPE(INT, ctypes.c_char_p)(lambda host: 1)
NO_EXIT = ctypes.CFUNCTYPE(None, P)(lambda connection: None)  # libICE's own ends the process at a hang-up


class SessionManager:
    def __init__(self):
        self.said, self.ice, self.todo = [], None, []

        def tell(i, connection, number):
            ANSWERS.get(i, bool)(connection)
            return i not in WORDS or self.said.append(WORDS[i].format(number)) or 1

        def new_client(connection, data, mask, table, failure):
            self.client, ctypes.cast(mask, ctypes.POINTER(ctypes.c_ulong))[0] = connection, (1 << 10) - 1
            for i, function in enumerate(self.callbacks):
                ctypes.cast(table, ctypes.POINTER(P))[2 * i] = ctypes.cast(function, P)
            return 1
        self.callbacks = [ctypes.CFUNCTYPE(INT, P, P, INT)(lambda c, d, n, i=i: tell(i, c, n)) for i in range(10)]
        self.new_client = ctypes.CFUNCTYPE(INT, P, P, P, P, P)(new_client)
        error, count, listeners = ctypes.create_string_buffer(256), INT(), P()
        ICE.IceSetIOErrorHandler(NO_EXIT)
        if not (SM.SmsInitialize(b"Kestrova tests", b"1", self.new_client, None, ANY_HOST, 256, error) and
                ICE.IceListenForConnections(ctypes.byref(count), ctypes.byref(listeners), 256, error)):
            raise RuntimeError(error.value.decode())
        self.ports = {ICE.IceGetListenConnectionNumber(P(listener)): P(listener)
                      for listener in ctypes.cast(listeners, ctypes.POINTER(P))[:count.value]}
        [ICE.IceSetHostBasedAuthProc(listener, ANY_HOST) for listener in self.ports.values()]
        self.env = {"SESSION_MANAGER": ctypes.string_at(ICE.IceComposeNetworkIdList(count, listeners)).decode()}
        threading.Thread(target=self.serve, daemon=True).start()

    # Both kinds of save, for a shutdown, any interaction, not fast; then the end.
    def logout(self): self.todo.append(lambda: SM.SmsSaveYourself(P(self.client), 2, 1, 2, 0))
    def die(self): self.todo.append(lambda: "closed" in self.said or SM.SmsDie(P(self.client)))

    def serve(self):  # libICE is not thread-safe: once started, only this thread touches it
        while True:
            while self.todo:
                self.todo.pop(0)()
            watched = [*self.ports, *([ICE.IceConnectionNumber(self.ice)] if self.ice else [])]
            for port in select.select(watched, [], [], 0.05)[0]:
                if port not in self.ports and ICE.IceProcessMessages(self.ice, None, None) == 1:  # broken
                    self.ice, self.said = None, self.said + ["closed"] * ("closed" not in self.said)
                elif port in self.ports:  # a client, after a short exchange of its own
                    ice = P(ICE.IceAcceptConnection(self.ports[port], ctypes.byref(INT())))
                    while ice.value and ICE.IceConnectionStatus(ice) == 0:  # pending
                        ICE.IceProcessMessages(ice, None, None)
                    self.ice = ice if ice.value and ICE.IceConnectionStatus(ice) == 1 else self.ice  # accepted
