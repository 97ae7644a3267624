"""A small NMDC hub on 127.0.0.1 that relays between real clients and the bot.

It does what a real hub does for a handful of users and nothing more: the
login (lock, features, nick, hello), the nick, operator and info lists (with
everyone's IP for an operator), relays of `$MyINFO`, main chat and private
messages, `$UserIP` for operators, and kicks by an operator (`$Kick` or a
`!kick` chat line). Every command a connection sends is recorded under its
nick so that tests can assert on it.
"""

import re
import socket
import threading
import time

LOCK = b"$Lock EXTENDEDPROTOCOL_RELAY_HUB_LOCK Pk=RelayHub|$HubName Relay|"
SUPPORTS = b"$Supports NoHello NoGetINFO UserIP2|"
CLIENT_IP = b"127.0.0.1"
KICK_LINE = re.compile(rb"^<([^>]*)> !kick (\S+)(?: (.*))?$", re.S)


def _bytes(text):
    return text.encode("latin-1") if isinstance(text, str) else text


class _Connection:
    """One client's socket; sends are serialised because any thread may relay to it."""

    def __init__(self, sock):
        self.sock = sock
        self.nick = None
        self.logged_in = False
        self.my_info = None
        self.commands = []  # everything received before the nick is known
        self._send_lock = threading.Lock()

    def send(self, data):
        with self._send_lock:
            try:
                self.sock.sendall(data)
            except OSError:
                pass  # the reader notices the broken connection and cleans up

    def close(self):
        # shutdown wakes a reader or sender blocked on the socket; the close waits for a send in progress.
        try:
            self.sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        with self._send_lock:
            self.sock.close()


class RelayHub:
    """Start with start(), stop with stop(); the state that tests read is guarded by one condition."""

    def __init__(self, operators=("Guard",)):
        self.operators = {_bytes(nick) for nick in operators}
        self._server = socket.socket()
        self._server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._server.bind(("127.0.0.1", 0))
        self._server.listen(8)
        self.port = self._server.getsockname()[1]
        self._changed = threading.Condition()
        # Commands are handled one at a time, as a single-threaded hub does: a
        # user's $MyINFO and $UserIP reach the operators before any kick that
        # answers them, and nothing about a user follows his $Quit.
        self._handling = threading.RLock()
        self._users = {}  # nick -> logged-in _Connection
        self._connections = []
        self._received = {}  # nick -> every command that nick's connections sent, in order
        self._events = []  # (kind, nick, detail) in the order the hub saw them
        self._running = False

    # ---- life cycle -------------------------------------------------------

    def start(self):
        self._running = True
        threading.Thread(target=self._accept_loop, daemon=True).start()
        return self.port

    def stop(self):
        self._running = False
        try:
            self._server.shutdown(socket.SHUT_RDWR)  # wakes the blocked accept()
        except OSError:
            pass
        self._server.close()
        with self._changed:
            connections = list(self._connections)
        for connection in connections:
            connection.close()

    # ---- what tests ask ---------------------------------------------------

    def nicks(self):
        with self._changed:
            return sorted(self._users)

    def received(self, nick):
        """Every command (without its "|") that the connections of this nick sent."""
        with self._changed:
            return list(self._received.get(_bytes(nick), []))

    def my_info(self, nick):
        """The last `$MyINFO` this nick sent, as sent (without the "|")."""
        with self._changed:
            user = self._users.get(_bytes(nick))
            return user.my_info if user else None

    def events(self):
        with self._changed:
            return list(self._events)

    def wait_for(self, predicate, what, deadline=20):
        """Waits until predicate() is true (checked on every change of the hub's state)."""
        end = time.monotonic() + deadline
        with self._changed:
            while not predicate():
                remaining = end - time.monotonic()
                if remaining <= 0:
                    raise AssertionError(f"relay hub: {what} did not happen within {deadline} s; "
                                         f"users {sorted(self._users)}, events {self._events[-20:]!r}")
                self._changed.wait(min(remaining, 0.5))

    def wait_command(self, nick, pattern, deadline=20):
        """Waits for a command from nick that matches the regex (bytes); returns the command."""
        nick = _bytes(nick)
        regex = re.compile(_bytes(pattern), re.S)
        found = []

        def seen():
            found[:] = [c for c in self._received.get(nick, []) if regex.search(c)]
            return bool(found)

        self.wait_for(seen, f"a command from {nick!r} matching {pattern!r}", deadline)
        return found[0]

    def wait_user(self, nick, deadline=20):
        """Waits until nick is logged in and has sent its `$MyINFO`; returns that `$MyINFO`."""
        nick = _bytes(nick)
        self.wait_for(lambda: nick in self._users and self._users[nick].my_info is not None,
                      f"{nick!r} logging in with a $MyINFO", deadline)
        return self.my_info(nick)

    def wait_gone(self, nick, deadline=20):
        nick = _bytes(nick)
        self.wait_for(lambda: nick not in self._users, f"{nick!r} leaving", deadline)

    # ---- connections ------------------------------------------------------

    def _accept_loop(self):
        while self._running:
            try:
                sock, _ = self._server.accept()
            except OSError:
                return
            connection = _Connection(sock)
            with self._changed:
                self._connections.append(connection)
            connection.send(LOCK)
            threading.Thread(target=self._read_loop, args=(connection,), daemon=True).start()

    def _read_loop(self, connection):
        pending = b""
        while True:
            try:
                chunk = connection.sock.recv(65536)
            except OSError:
                chunk = b""
            if not chunk:
                break
            pending += chunk
            *commands, pending = pending.split(b"|")
            with self._handling:
                for command in commands:
                    if command:
                        self._handle(connection, command)
        with self._handling:
            self._drop(connection, "disconnect")

    def _record(self, connection, command):
        with self._changed:
            if connection.nick is None:
                connection.commands.append(command)
            else:
                self._received.setdefault(connection.nick, []).append(command)
            self._changed.notify_all()

    def _handle(self, connection, command):
        self._record(connection, command)
        name, _, parameter = command.partition(b" ")
        handler = {
            b"$Supports": self._on_supports,
            b"$ValidateNick": self._on_validate_nick,
            b"$GetNickList": self._on_nick_list_request,
            b"$MyINFO": self._on_my_info,
            b"$To:": self._on_private_message,
            b"$Kick": self._on_kick,
        }.get(name)
        if handler:
            handler(connection, parameter)
        elif command.startswith(b"<"):
            self._on_chat(connection, command)
        # $Key is not checked; anything else is recorded and otherwise ignored.

    def _on_supports(self, connection, _):
        connection.send(SUPPORTS)

    def _on_validate_nick(self, connection, nick):
        with self._changed:
            if connection.nick is not None or not nick or nick in self._users:
                refused = True
            else:
                refused = False
                connection.nick = nick
                connection.logged_in = True
                self._users[nick] = connection
                self._received.setdefault(nick, []).extend(connection.commands)
                connection.commands = []
                self._events.append(("login", nick, b""))
                self._changed.notify_all()
        if refused:
            connection.send(b"$ValidateDenide " + nick + b"|")
            return
        connection.send(b"$Hello " + nick + b"|")
        if nick in self.operators:
            self._broadcast(self._op_list())

    def _on_nick_list_request(self, connection, _):
        # Answered on $GetNickList only: clients send $Version just before it,
        # and a second copy of the lists would announce every user twice.
        if not connection.logged_in:
            return
        with self._changed:
            nicks = b"".join(n + b"$$" for n in self._users)
            infos = b"".join(u.my_info + b"|" for u in self._users.values() if u.my_info)
            ips = b"".join(n + b" " + CLIENT_IP + b"$$" for n in self._users)
        reply = b"$NickList " + nicks + b"|" + self._op_list() + infos
        if connection.nick in self.operators:
            reply += b"$UserIP " + ips + b"|"
        connection.send(reply)

    def _on_my_info(self, connection, parameter):
        # An honest hub relays only a user's own information.
        if not connection.logged_in or not parameter.startswith(b"$ALL " + connection.nick + b" "):
            return
        with self._changed:
            connection.my_info = b"$MyINFO " + parameter
            self._changed.notify_all()
        self._broadcast(connection.my_info + b"|")
        self._to_operators(b"$UserIP " + connection.nick + b" " + CLIENT_IP + b"|")

    def _on_chat(self, connection, line):
        if not connection.logged_in or not line.startswith(b"<" + connection.nick + b"> "):
            return
        kick = KICK_LINE.match(line)
        if kick and connection.nick in self.operators:
            self._kick(connection.nick, kick.group(2), kick.group(3) or b"")
            return
        self._broadcast(line + b"|")

    def _on_private_message(self, connection, parameter):
        # "$To: recipient From: sender $<sender> text"
        match = re.match(rb"(\S+) From: (\S+) \$", parameter, re.S)
        if not connection.logged_in or not match or match.group(2) != connection.nick:
            return
        with self._changed:
            recipient = self._users.get(match.group(1))
        if recipient:
            recipient.send(b"$To: " + parameter + b"|")

    def _on_kick(self, connection, nick):
        if connection.logged_in and connection.nick in self.operators:
            self._kick(connection.nick, nick, b"")

    def _kick(self, operator, nick, reason):
        with self._changed:
            victim = self._users.get(nick)
            self._events.append(("kick", nick, operator + b": " + reason))
            self._changed.notify_all()
        if victim:
            self._drop(victim, "kick")

    def _drop(self, connection, why):
        """Closes a connection once; a logged-in user's departure is announced to everyone."""
        with self._changed:
            if connection not in self._connections:
                return
            self._connections.remove(connection)
            announce = connection.logged_in and self._users.get(connection.nick) is connection
            connection.logged_in = False  # what it sent after its kick is not relayed
        connection.close()
        if not announce:
            return
        # Everyone hears the $Quit before a test can see the user gone.
        self._broadcast(b"$Quit " + connection.nick + b"|", skip=connection)
        with self._changed:
            del self._users[connection.nick]
            self._events.append(("quit", connection.nick, why.encode()))
            self._changed.notify_all()

    # ---- sending ----------------------------------------------------------

    def _op_list(self):
        with self._changed:
            ops = b"".join(n + b"$$" for n in self._users if n in self.operators)
        return b"$OpList " + ops + b"|"

    def _broadcast(self, data, skip=None):
        with self._changed:
            users = [user for user in self._users.values() if user is not skip]
        for user in users:
            user.send(data)

    def _to_operators(self, data):
        with self._changed:
            ops = [u for n, u in self._users.items() if n in self.operators]
        for op in ops:
            op.send(data)
