#pragma once

#include <QObject>
#include <QSslSocket>
#include <QTcpSocket>
#include <memory>

#include "core/model/Ports.h"

namespace varnek {

// The hub connection's socket: an event-driven, non-blocking QTcpSocket, or a
// QSslSocket for a TLS hub (TLS 1.2 or newer; no chain is verified, as the
// program trusts a hub by its certificate's fingerprint). Socket errors are
// reported with the Windows Sockets codes that operators of hub software know
// (10061 for a refused connection and so on).
class QtTransport : public QObject, public Transport {
  Q_OBJECT
 public:
  explicit QtTransport(QObject* parent = nullptr);
  ~QtTransport() override;

  void SetEvents(TransportEvents* events) override { events_ = events; }
  void Open(const std::string& host, std::uint16_t port, Encryption encryption) override;
  void Close() override;
  void Write(std::string_view bytes) override;

  // The Windows Sockets error code for a Qt socket error.
  static int ErrorCode(QAbstractSocket::SocketError error);
  static SocketErrorKind ErrorKind(QAbstractSocket::SocketError error);
  // The Windows Sockets error code for an error number of the system.
  static int SystemErrorCode(int error);
  // The SHA-256 fingerprint of a DER certificate as the program shows and
  // stores it: upper-case hexadecimal pairs joined by ":".
  static std::string Fingerprint(const QByteArray& der);

 protected:
  // Looks at the socket's pending error each time the system wakes the
  // socket up, before Qt reads it (see OnConnected).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Connects a socket's signals; only the socket in use is heard.
  void Attach(QTcpSocket& socket);
  QSslSocket& SecureSocket();
  // Reports an error that ends an attempt once the current event is handled,
  // as the socket's own errors come.
  void FailLater(const std::string& reason);
  void OnStateChanged(QAbstractSocket::SocketState state);
  void OnConnected();
  void OnEncrypted();
  void ReportEncrypted(unsigned attempt, const std::string& fingerprint);
  void OnReadyRead();
  void DeliverReads();
  void OnDisconnected();
  void OnError(QAbstractSocket::SocketError error);

  QTcpSocket plain_;
  std::unique_ptr<QSslSocket> secure_;  // made at the first TLS hub
  QTcpSocket* socket_ = &plain_;        // the socket of the current attempt
  TransportEvents* events_ = nullptr;
  unsigned attempt_ = 0;       // counts opens and closes, to drop stale reports
  bool holdingReads_ = false;  // a TLS hub not yet trusted: nothing is read
  bool closing_ = false;       // a Close() of ours: its signals are not reported
  // What a read hands to the connection. Kept for its memory: a login flood
  // reads megabytes in many reads, and fresh memory for each costs more than
  // the copy. A read nested in the handling of another takes its own.
  QByteArray readBuffer_;
  bool delivering_ = false;
  int brokenBy_ = 0;  // the system's error that broke the connection
};

}  // namespace varnek
