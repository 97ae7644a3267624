#include "qt/QtTransport.h"

#include <sys/socket.h>

#include <QCryptographicHash>
#include <QEvent>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <cerrno>
#include <cstring>

namespace varnek {
namespace {

constexpr qint64 kReadBufferBytes = qint64{64} * 1024;

}  // namespace

QtTransport::QtTransport(QObject* parent) : QObject(parent) {
  Attach(plain_);
}

QtTransport::~QtTransport() = default;

void QtTransport::Attach(QTcpSocket& socket) {
  connect(&socket, &QTcpSocket::stateChanged, this, &QtTransport::OnStateChanged);
  connect(&socket, &QTcpSocket::connected, this, &QtTransport::OnConnected);
  connect(&socket, &QTcpSocket::readyRead, this, &QtTransport::OnReadyRead);
  connect(&socket, &QTcpSocket::disconnected, this, &QtTransport::OnDisconnected);
  connect(&socket, &QTcpSocket::errorOccurred, this, &QtTransport::OnError);
  // A login flood arrives faster than it is handled. Unbounded, the socket
  // would take everything the kernel holds in one read (megabytes), and that
  // read's copies would stay in the peak memory; in bounded reads the kernel
  // keeps the rest until the bot is ready for it.
  socket.setReadBufferSize(kReadBufferBytes);
}

// Made only when a TLS hub is met, so that a plain hub never loads the TLS
// library.
QSslSocket& QtTransport::SecureSocket() {
  if (!secure_) {
    secure_ = std::make_unique<QSslSocket>();
    Attach(*secure_);
    connect(secure_.get(), &QSslSocket::encrypted, this, &QtTransport::OnEncrypted);
    QSslConfiguration configuration = secure_->sslConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    // Hub certificates are mostly self-signed: the program trusts a hub by
    // its certificate's fingerprint, not by a chain of authorities.
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    secure_->setSslConfiguration(configuration);
  }
  return *secure_;
}

void QtTransport::Open(const std::string& host, std::uint16_t port, Encryption encryption) {
  closing_ = false;
  brokenBy_ = 0;
  ++attempt_;
  const QString hostName = QString::fromStdString(host);
  if (encryption == Encryption::None) {
    socket_ = &plain_;
    holdingReads_ = false;
    socket_->connectToHost(hostName, port);
    return;
  }
  if (!QSslSocket::supportsSsl()) {
    FailLater("TLS is not available: the OpenSSL library (libssl3) was not found");
    return;
  }
  socket_ = &SecureSocket();
  holdingReads_ = true;
  static_cast<QSslSocket*>(socket_)->connectToHostEncrypted(hostName, port);
}

void QtTransport::FailLater(const std::string& reason) {
  const unsigned attempt = attempt_;
  QMetaObject::invokeMethod(
      this,
      [this, attempt, reason] {
        if (attempt == attempt_ && events_ != nullptr) {
          events_->OnSocketError(SocketErrorKind::Connect, ErrorCode(QAbstractSocket::SslInternalError), reason);
        }
      },
      Qt::QueuedConnection);
}

void QtTransport::Close() {
  closing_ = true;
  ++attempt_;
  if (socket_ != &plain_ && socket_->state() == QAbstractSocket::ConnectedState) {
    // The end of the handshake may still wait in the socket; a hub refused
    // for its certificate then sees the handshake end before the close.
    socket_->flush();
  }
  socket_->abort();
  closing_ = false;
}

void QtTransport::Write(std::string_view bytes) {
  if (socket_->state() == QAbstractSocket::ConnectedState) {
    // QTcpSocket queues what the kernel does not take at once and writes it
    // in order as the socket drains (a TLS socket until its handshake ends).
    socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
}

void QtTransport::OnStateChanged(QAbstractSocket::SocketState state) {
  if (sender() != socket_) {
    return;
  }
  if (state == QAbstractSocket::ConnectingState && events_ != nullptr && !closing_) {
    events_->OnSocketConnecting();
  }
}

void QtTransport::OnConnected() {
  if (sender() != socket_) {
    return;
  }
  // Options take effect only on a socket that exists, so they are set here.
  // Commands are small and the hub waits for each answer: send at once.
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  // A hub that vanished without a word (a half-open connection) is noticed.
  socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
  // Qt reports a reset by the hub as the same "remote host closed" as a
  // plain close. The kernel still holds the reset's error when it wakes the
  // socket up, until Qt's read takes it; watching the socket's notifiers
  // catches it first, so a reset can be told from a close.
  for (QSocketNotifier* notifier : socket_->findChildren<QSocketNotifier*>()) {
    notifier->installEventFilter(this);
  }
  if (events_ != nullptr && !closing_) {
    events_->OnSocketConnected();
  }
}

bool QtTransport::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::SockAct) {
    int error = 0;
    socklen_t length = sizeof error;
    const auto socket = static_cast<int>(static_cast<QSocketNotifier*>(watched)->socket());
    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error != 0) {
      brokenBy_ = error;
    }
  }
  return QObject::eventFilter(watched, event);
}

// The certificate goes to the program after this signal has been handled:
// the program may close the connection or ask the operator, which must not
// happen inside the socket's own handshake. Until it has spoken, the hub's
// bytes wait in the socket.
void QtTransport::OnEncrypted() {
  if (sender() != socket_) {
    return;
  }
  const QSslCertificate certificate = static_cast<QSslSocket*>(socket_)->peerCertificate();
  const std::string fingerprint = certificate.isNull() ? std::string() : Fingerprint(certificate.toDer());
  const unsigned attempt = attempt_;
  QMetaObject::invokeMethod(
      this, [this, attempt, fingerprint] { ReportEncrypted(attempt, fingerprint); }, Qt::QueuedConnection);
}

void QtTransport::ReportEncrypted(unsigned attempt, const std::string& fingerprint) {
  if (attempt != attempt_ || events_ == nullptr) {
    return;  // closed or opened anew meanwhile
  }
  holdingReads_ = false;
  events_->OnSocketEncrypted(fingerprint);
  if (attempt == attempt_) {
    DeliverReads();
  }
}

std::string QtTransport::Fingerprint(const QByteArray& der) {
  return QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':').toUpper().toStdString();
}

void QtTransport::OnReadyRead() {
  if (sender() == socket_) {
    DeliverReads();
  }
}

void QtTransport::DeliverReads() {
  if (holdingReads_ || socket_->bytesAvailable() == 0) {
    return;
  }
  QByteArray nested;
  QByteArray& bytes = delivering_ ? nested : readBuffer_;
  // resize() keeps the memory of a longer earlier read.
  bytes.resize(socket_->bytesAvailable());
  const qint64 count = socket_->read(bytes.data(), bytes.size());
  if (count <= 0 || events_ == nullptr || closing_) {
    return;
  }
  if (delivering_) {
    events_->OnSocketRead(std::string_view(bytes.constData(), static_cast<std::size_t>(count)));
    return;
  }
  delivering_ = true;
  const auto done = qScopeGuard([this] {
    delivering_ = false;
    // A read far larger than usual gives its memory back.
    constexpr qsizetype kKeptBytes = qsizetype{1} << 20;
    if (readBuffer_.capacity() > kKeptBytes) {
      readBuffer_ = QByteArray();
    }
  });
  events_->OnSocketRead(std::string_view(bytes.constData(), static_cast<std::size_t>(count)));
}

void QtTransport::OnDisconnected() {
  if (sender() != socket_) {
    return;
  }
  if (events_ != nullptr && !closing_) {
    events_->OnSocketDisconnected();
  }
}

void QtTransport::OnError(QAbstractSocket::SocketError error) {
  if (sender() != socket_ || events_ == nullptr || closing_) {
    return;
  }
  if (error == QAbstractSocket::RemoteHostClosedError) {
    // A plain close by the hub is a disconnect, reported by the disconnected
    // signal that follows; a reset or a dead peer is an error.
    if (brokenBy_ != 0) {
      // The program's one thread is the only caller of strerror.
      events_->OnSocketError(SocketErrorKind::Receive, SystemErrorCode(brokenBy_),
                             std::strerror(brokenBy_));  // NOLINT(concurrency-mt-unsafe)
    }
    return;
  }
  // Qt's words for the error carry the system's reason ("Connection refused",
  // "Host not found", "Network unreachable").
  const QByteArray reason = socket_->errorString().toUtf8();
  events_->OnSocketError(ErrorKind(error), ErrorCode(error),
                         std::string_view(reason.constData(), static_cast<std::size_t>(reason.size())));
}

int QtTransport::SystemErrorCode(int error) {
  switch (error) {
    case ECONNRESET:
      return 10054;  // WSAECONNRESET
    case ETIMEDOUT:
      return 10060;  // WSAETIMEDOUT: keepalive found the hub gone
    case EHOSTUNREACH:
      return 10065;  // WSAEHOSTUNREACH
    case ENETUNREACH:
      return 10051;  // WSAENETUNREACH
    default:
      return 10004;  // WSAEINTR: anything else
  }
}

int QtTransport::ErrorCode(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return 10061;  // WSAECONNREFUSED
    case QAbstractSocket::RemoteHostClosedError:
      return 10054;  // WSAECONNRESET
    case QAbstractSocket::HostNotFoundError:
      return 11001;  // WSAHOST_NOT_FOUND
    case QAbstractSocket::SocketAccessError:
      return 10013;  // WSAEACCES
    case QAbstractSocket::SocketResourceError:
      return 10055;  // WSAENOBUFS
    case QAbstractSocket::SocketTimeoutError:
      return 10060;  // WSAETIMEDOUT
    case QAbstractSocket::DatagramTooLargeError:
      return 10040;  // WSAEMSGSIZE
    case QAbstractSocket::NetworkError:
      return 10050;  // WSAENETDOWN
    case QAbstractSocket::AddressInUseError:
      return 10048;  // WSAEADDRINUSE
    case QAbstractSocket::SocketAddressNotAvailableError:
      return 10049;  // WSAEADDRNOTAVAIL
    case QAbstractSocket::UnsupportedSocketOperationError:
      return 10045;  // WSAEOPNOTSUPP
    case QAbstractSocket::TemporaryError:
      return 10035;  // WSAEWOULDBLOCK
    default:
      return 10004;  // WSAEINTR: anything Qt cannot name
  }
}

SocketErrorKind QtTransport::ErrorKind(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::HostNotFoundError:
      return SocketErrorKind::Lookup;
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::NetworkError:
      return SocketErrorKind::Connect;
    default:
      return SocketErrorKind::General;
  }
}

}  // namespace varnek
