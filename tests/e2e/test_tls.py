"""TLS hubs (nmdcs://): trust on first use of the hub's certificate, a changed
certificate refused until ":trust", and the ways a TLS connection fails."""

import hashlib
import os
import re
import shutil
import ssl
import subprocess
import tempfile
import unittest

from harness import DEADLINE, PLAIN_LOCK, BotTestCase, HubPeer, read_ini

ONE_MINUTE = 60000


def make_certificate(directory, name):
    """A self-signed EC certificate and its key, as hubs make them."""
    cert, key = (os.path.join(directory, f"{name}.{kind}.pem") for kind in ("cert", "key"))
    subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                    "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", f"/CN={name}"],
                   check=True, capture_output=True)
    with open(cert) as pem:
        der = ssl.PEM_cert_to_DER_cert(pem.read())
    fingerprint = hashlib.sha256(der).hexdigest().upper()
    return cert, key, ":".join(fingerprint[i:i + 2] for i in range(0, len(fingerprint), 2))


class TlsTestCase(BotTestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="varnek-tls-")
        cls.first = make_certificate(cls.directory, "first")
        cls.second = make_certificate(cls.directory, "second")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    def start_tls_bot(self, trusted=None, **kwargs):
        """A bot whose address is the scripted hub's as nmdcs://; trusted, when
        given, is the fingerprint that its Varnek.ini already holds for it."""
        def prepare(directory):
            if trusted:
                with open(os.path.join(directory, "Varnek.ini"), "ab") as ini:
                    ini.write(f"[Certificates]\r\n127.0.0.1:{self.hub.port}={trusted}\r\n".encode())
        return self.start_bot(extra={"Dns": f"nmdcs://127.0.0.1:{self.hub.port}"}, prepare=prepare, **kwargs)

    def accept_tls(self, certificate):
        """Accepts the bot and takes it through the handshake with this certificate."""
        cert, key, _ = certificate
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        self.hub.server.settimeout(DEADLINE)
        connection, _ = self.hub.server.accept()
        connection.settimeout(DEADLINE)
        peer = HubPeer(context.wrap_socket(connection, server_side=True))
        self.hub.peers.append(peer)
        return peer

    def log_in_over(self, peer):
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        peer.send("$Hello Guard|")
        peer.expect(rb"\$MyINFO \$ALL Guard [^|]*\|")

    def stored_fingerprint(self, bot):
        match = re.search(rf"\[Certificates\]\r\n127\.0\.0\.1:{self.hub.port}=([0-9A-F:]+)\r\n", read_ini(bot.directory))
        return match.group(1) if match else None


class Trust(TlsTestCase):
    def test_the_first_certificate_is_stored_and_the_same_one_logs_in_again(self):
        bot = self.start_tls_bot()
        self.log_in_over(self.accept_tls(self.first))
        fingerprint = self.first[2]
        bot.wait_line(rf"^status\t.*Trusting the certificate of the hub 127\.0\.0\.1:{self.hub.port} "
                      rf"on first use: {fingerprint}$")
        self.assertEqual(self.stored_fingerprint(bot), fingerprint)

        bot.type_line(":reconnect")
        self.log_in_over(self.accept_tls(self.first))
        self.assertEqual(sum("on first use" in line for line in bot.lines), 1)
        self.assertFalse(any("question" in line for line in bot.errors))

    def test_a_changed_certificate_is_refused_until_the_operator_trusts_it(self):
        old, new = self.first[2], self.second[2]
        bot = self.start_tls_bot(trusted=old)
        impostor = self.accept_tls(self.second)
        # The hub greets at once; nothing of it may be read, let alone answered.
        # The bot may have closed the connection before the greeting is out.
        try:
            impostor.send(PLAIN_LOCK)
        except (ssl.SSLError, OSError):
            pass
        bot.wait_line(r"^chat\t.*\*\*\* Error: the hub's certificate has changed$")
        bot.wait_line(rf"^status\t.*The certificate of the hub 127\.0\.0\.1:{self.hub.port} has changed: "
                      rf"trusted {old}, offered now {new}$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        bot.wait_error(r"question: The certificate of the hub .* has changed.* -> No")
        bot.wait_error(r'type ":trust"')
        impostor.wait_closed()
        self.assertNotIn(b"$Key", impostor.received)
        self.assertEqual(self.stored_fingerprint(bot), old)

        bot.type_line(":trust")
        bot.wait_line(rf"^reply\ttrusted the new certificate of 127\.0\.0\.1:{self.hub.port}: {new}$")
        self.log_in_over(self.accept_tls(self.second))
        self.assertEqual(self.stored_fingerprint(bot), new)

        bot.type_line(":trust")
        bot.wait_error(r"no hub certificate has been refused")


class Failures(TlsTestCase):
    def test_a_plain_hub_on_a_tls_address_is_a_clean_connection_error(self):
        bot = self.start_tls_bot()
        plain = self.hub.accept()
        plain.send(PLAIN_LOCK)
        bot.wait_line(r"^chat\t.*\*\*\* Error: \d+$")
        bot.wait_line(rf"^status\t.*Connection to 127\.0\.0\.1:{self.hub.port} failed: .*handshake.* \(error \d+\)$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        plain.wait_closed()
        self.assertNotIn(b"$Key", plain.received)
        self.assertTrue(bot.running())
        self.assertIsNone(self.stored_fingerprint(bot))

    def test_a_handshake_that_stalls_meets_the_login_time_limit(self):
        bot = self.start_tls_bot(stepped=True)
        silent = self.hub.accept()
        silent.expect(rb"^\x16\x03")  # the bot's TLS hello, never answered
        bot.step_clock(ONE_MINUTE)
        bot.wait_line(r"^chat\t.*\*\*\* Error: 10060$")
        bot.wait_line(rf"^status\t.*Connection to 127\.0\.0\.1:{self.hub.port} failed: "
                      r"the TLS handshake did not finish within 60 seconds \(error 10060\)$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        silent.wait_closed()


if __name__ == "__main__":
    unittest.main()
