#include "qt/QtTransport.h"

namespace varnek {
namespace {

constexpr qint64 kReadBufferBytes = 64 * 1024;

}  // namespace

QtTransport::QtTransport(QObject* parent) : QObject(parent) {
  connect(&socket_, &QTcpSocket::stateChanged, this, &QtTransport::OnStateChanged);
  connect(&socket_, &QTcpSocket::connected, this, &QtTransport::OnConnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &QtTransport::OnReadyRead);
  connect(&socket_, &QTcpSocket::disconnected, this, &QtTransport::OnDisconnected);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &QtTransport::OnError);
  // Commands are small and the hub waits for each answer: send at once.
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  // A login flood arrives faster than it is handled. Unbounded, the socket
  // would take everything the kernel holds in one read (megabytes), and that
  // read's copies would stay in the peak memory; in bounded reads the kernel
  // keeps the rest until the bot is ready for it.
  socket_.setReadBufferSize(kReadBufferBytes);
}

void QtTransport::Open(const std::string& host, std::uint16_t port) {
  closing_ = false;
  socket_.connectToHost(QString::fromStdString(host), port);
}

void QtTransport::Close() {
  closing_ = true;
  socket_.abort();
  closing_ = false;
}

void QtTransport::Write(std::string_view bytes) {
  if (socket_.state() == QAbstractSocket::ConnectedState) {
    // QTcpSocket queues what the kernel does not take at once and writes it
    // in order as the socket drains.
    socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
}

void QtTransport::OnStateChanged(QAbstractSocket::SocketState state) {
  if (state == QAbstractSocket::ConnectingState && events_ != nullptr && !closing_) {
    events_->OnSocketConnecting();
  }
}

void QtTransport::OnConnected() {
  if (events_ != nullptr && !closing_) {
    events_->OnSocketConnected();
  }
}

void QtTransport::OnReadyRead() {
  const QByteArray bytes = socket_.readAll();
  if (events_ != nullptr && !closing_ && !bytes.isEmpty()) {
    events_->OnSocketRead(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  }
}

void QtTransport::OnDisconnected() {
  if (events_ != nullptr && !closing_) {
    events_->OnSocketDisconnected();
  }
}

void QtTransport::OnError(QAbstractSocket::SocketError error) {
  if (events_ == nullptr || closing_) {
    return;
  }
  // The hub closing the connection is a plain disconnect, reported by the
  // disconnected signal that follows.
  if (error == QAbstractSocket::RemoteHostClosedError) {
    return;
  }
  events_->OnSocketError(ErrorKind(error), ErrorCode(error));
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
