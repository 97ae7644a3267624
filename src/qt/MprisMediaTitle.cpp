#include "qt/MprisMediaTitle.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantMap>

namespace varnek {
namespace {

const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QVariant PlayerProperty(const QString& service, const QString& name) {
  QDBusInterface properties(service, kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                            QDBusConnection::sessionBus());
  QDBusReply<QDBusVariant> reply = properties.call(QStringLiteral("Get"), kPlayerInterface, name);
  return reply.isValid() ? reply.value().variant() : QVariant();
}

QVariantMap Metadata(const QString& service) {
  const QVariant value = PlayerProperty(service, QStringLiteral("Metadata"));
  if (value.canConvert<QDBusArgument>()) {
    QVariantMap map;
    value.value<QDBusArgument>() >> map;
    return map;
  }
  return value.toMap();
}

}  // namespace

std::optional<std::string> MprisMediaTitle::CurrentSong() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) {
    return std::nullopt;
  }
  const QStringList services = bus.interface()->registeredServiceNames().value();
  for (const QString& service : services) {
    if (!service.startsWith(kPlayerPrefix)) {
      continue;
    }
    if (PlayerProperty(service, QStringLiteral("PlaybackStatus")).toString() != QLatin1String("Playing")) {
      continue;
    }
    const QVariantMap metadata = Metadata(service);
    const QString artist = metadata.value(QStringLiteral("xesam:artist")).toStringList().join(QStringLiteral(", "));
    const QString title = metadata.value(QStringLiteral("xesam:title")).toString();
    return codec_.ToHub(artist + QStringLiteral(" - ") + title);
  }
  return std::nullopt;
}

}  // namespace varnek
