#pragma once

#include <QObject>
#include <QTcpSocket>

#include "core/model/Ports.h"

namespace varnek {

// The hub connection's socket: an event-driven, non-blocking QTcpSocket.
// Socket errors are reported with the Windows Sockets codes that operators
// of hub software know (10061 for a refused connection and so on).
class QtTransport : public QObject, public Transport {
  Q_OBJECT
 public:
  explicit QtTransport(QObject* parent = nullptr);

  void SetEvents(TransportEvents* events) override { events_ = events; }
  void Open(const std::string& host, std::uint16_t port) override;
  void Close() override;
  void Write(std::string_view bytes) override;

  // The Windows Sockets error code for a Qt socket error.
  static int ErrorCode(QAbstractSocket::SocketError error);
  static SocketErrorKind ErrorKind(QAbstractSocket::SocketError error);
  // The Windows Sockets error code for an error number of the system.
  static int SystemErrorCode(int error);

 protected:
  // Looks at the socket's pending error each time the system wakes the
  // socket up, before Qt reads it (see OnConnected).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnStateChanged(QAbstractSocket::SocketState state);
  void OnConnected();
  void OnReadyRead();
  void OnDisconnected();
  void OnError(QAbstractSocket::SocketError error);

  QTcpSocket socket_;
  TransportEvents* events_ = nullptr;
  bool closing_ = false;  // a Close() of ours: its signals are not reported
  int brokenBy_ = 0;      // the system's error that broke the connection
};

}  // namespace varnek
