// A session manager just big enough to log one client out, as a desktop does at logout:
//   kestrova_session_manager COMMAND [ARG...]
// starts COMMAND with SESSION_MANAGER pointing here and says "started PID", then "registered"
// once the client has joined the session. Lines on standard input drive a logout: "logout" asks
// the client to save itself for a shutdown, which it answers with "done SUCCESS"; "die" then
// ends the session for it. "closed" tells that the client hung up, "exited CODE" that it ended,
// and this one with it.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

SmsConn client = nullptr;
IceConn clientIce = nullptr;

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// The default handler ends the process when a client hangs up; a hang-up is news here.
void IgnoreIoError(IceConn) {}

Bool AnyHost(char*) { return True; }

Status RegisterClient(SmsConn conn, SmPointer, char* previousId) {
  std::free(previousId);
  char* id = SmsGenerateClientID(conn);
  const Status status = SmsRegisterClientReply(conn, id);
  std::free(id);
  Say("registered");
  return status;
}

void InteractRequest(SmsConn conn, SmPointer, int) { SmsInteract(conn); }
void InteractDone(SmsConn, SmPointer, Bool) {}
void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void SaveYourselfPhase2Request(SmsConn conn, SmPointer) { SmsSaveYourselfPhase2(conn); }
void SaveYourselfDone(SmsConn, SmPointer, Bool success) {
  Say(std::string("done ") + (success ? "1" : "0"));
}

// The client has gone, by its word or by a broken connection.
void HangUp() {
  Say("closed");
  if (client) SmsCleanUp(client);
  if (clientIce) IceCloseConnection(clientIce);
  client = nullptr;
  clientIce = nullptr;
}

void CloseConnection(SmsConn, SmPointer, int count, char** reasons) {
  SmFreeReasons(count, reasons);
  HangUp();
}

void SetProperties(SmsConn, SmPointer, int count, SmProp** props) {
  for (int i = 0; i < count; ++i) SmFreeProperty(props[i]);
  std::free(props);
}

void DeleteProperties(SmsConn, SmPointer, int count, char** names) {
  for (int i = 0; i < count; ++i) std::free(names[i]);
  std::free(names);
}

void GetProperties(SmsConn conn, SmPointer) { SmsReturnProperties(conn, 0, nullptr); }

Status NewClient(SmsConn conn, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**) {
  client = conn;
  *callbacks = {};
  callbacks->register_client.callback = RegisterClient;
  callbacks->interact_request.callback = InteractRequest;
  callbacks->interact_done.callback = InteractDone;
  callbacks->save_yourself_request.callback = SaveYourselfRequest;
  callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
  callbacks->save_yourself_done.callback = SaveYourselfDone;
  callbacks->close_connection.callback = CloseConnection;
  callbacks->set_properties.callback = SetProperties;
  callbacks->delete_properties.callback = DeleteProperties;
  callbacks->get_properties.callback = GetProperties;
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
          SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
          SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
  return 1;
}

[[noreturn]] void Die(const char* why) {
  std::fprintf(stderr, "kestrova_session_manager: %s\n", why);
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) Die("usage: kestrova_session_manager COMMAND [ARG...]");
  char error[256] = "";
  IceSetIOErrorHandler(IgnoreIoError);
  if (!SmsInitialize("Kestrova tests", "1", NewClient, nullptr, AnyHost, sizeof error, error)) {
    Die(error);
  }
  int count = 0;
  IceListenObj* listeners = nullptr;
  if (!IceListenForConnections(&count, &listeners, sizeof error, error)) Die(error);
  for (int i = 0; i < count; ++i) IceSetHostBasedAuthProc(listeners[i], AnyHost);
  char* address = IceComposeNetworkIdList(count, listeners);
  setenv("SESSION_MANAGER", address, 1);
  std::free(address);

  const pid_t child = fork();
  if (child < 0) Die("cannot fork");
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  signal(SIGPIPE, SIG_IGN);
  Say("started " + std::to_string(child));

  bool stdinOpen = true, loggingOut = false;
  for (;;) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      Say("exited " +
          std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)));
      return 0;
    }
    std::vector<pollfd> fds;
    for (int i = 0; i < count; ++i)
      fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
    if (clientIce) fds.push_back({IceConnectionNumber(clientIce), POLLIN, 0});
    if (stdinOpen) fds.push_back({STDIN_FILENO, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), 100) <= 0) continue;

    for (int i = 0; i < count; ++i) {
      if (!(fds[i].revents & POLLIN)) continue;
      IceAcceptStatus accepted;
      IceConn ice = IceAcceptConnection(listeners[i], &accepted);
      if (!ice || accepted != IceAcceptSuccess) continue;
      // The connection set-up is a short exchange of its own.
      IceConnectStatus state;
      while ((state = IceConnectionStatus(ice)) == IceConnectPending) {
        if (IceProcessMessages(ice, nullptr, nullptr) == IceProcessMessagesIOError) break;
      }
      if (state == IceConnectAccepted) {
        clientIce = ice;
      } else {
        IceCloseConnection(ice);
      }
    }
    for (const pollfd& fd : fds) {
      if (!fd.revents) continue;
      if (clientIce && fd.fd == IceConnectionNumber(clientIce)) {
        if (IceProcessMessages(clientIce, nullptr, nullptr) == IceProcessMessagesIOError &&
            clientIce) {
          HangUp();
        }
      } else if (fd.fd == STDIN_FILENO) {
        char line[64];
        const ssize_t got = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (got <= 0) {
          stdinOpen = false;
          continue;
        }
        line[got] = '\0';
        if (std::strncmp(line, "logout", 6) == 0 && !loggingOut) {
          if (!client) Die("logout asked before a client joined");
          loggingOut = true;
          SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleAny, False);
        } else if (std::strncmp(line, "die", 3) == 0 && client) {
          SmsDie(client);
        }
      }
    }
  }
}
