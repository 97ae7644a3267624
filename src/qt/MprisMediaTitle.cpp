#include "qt/MprisMediaTitle.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <algorithm>
#include <utility>
#include <vector>

namespace varnek {
namespace {

const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

using Done = std::function<void(std::optional<PlayingSong>)>;

// The value of a property as Properties.Get answers it, unwrapped from its
// variant; nothing when the call failed or timed out.
std::optional<QVariant> PropertyValue(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
    return std::nullopt;
  }
  return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

QVariantMap MetadataOf(const QVariant& value) {
  if (value.canConvert<QDBusArgument>()) {
    QVariantMap map;
    value.value<QDBusArgument>() >> map;
    return map;
  }
  return value.toMap();
}

PlayingSong SongOf(const QVariantMap& metadata, const HubCodec& codec) {
  const QString artist = metadata.value(QStringLiteral("xesam:artist")).toStringList().join(QStringLiteral(", "));
  const QString title = metadata.value(QStringLiteral("xesam:title")).toString();
  return PlayingSong{codec.ToHub(artist), codec.ToHub(title)};
}

// One request: the names on the bus, then every player's status and song,
// asked all at once. Each call's own timeout ends at the lookup's deadline,
// so the answer comes within kAnswerWithinMs whatever the players do. It
// comes earlier as soon as the first player in the bus's order that plays is
// known, with its song.
class SongLookup : public QObject {
 public:
  SongLookup(const HubCodec& codec, Done done, QObject* parent)
      : QObject(parent), bus_(QDBusConnection::sessionBus()), codec_(codec), done_(std::move(done)) {
    clock_.start();
  }

  // Without a bus the answer is nothing, from the event loop like any other.
  // The deadline also ends a lookup whose calls somehow never come back.
  void Start() {
    if (!bus_.isConnected()) {
      QMetaObject::invokeMethod(
          this, [this] { Answer(std::nullopt); }, Qt::QueuedConnection);
      return;
    }
    QTimer::singleShot(MprisMediaTitle::kAnswerWithinMs, this, [this] {
      deadlinePassed_ = true;
      Decide();
    });
    Call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames")),
         [this](const QDBusMessage& reply) { OnNames(reply); });
  }

 private:
  struct Player {
    std::optional<bool> playing;  // unknown until its status came back
    bool metadataAnswered = false;
    std::optional<QVariantMap> metadata;
  };

  template <typename Handler>
  void Call(const QDBusMessage& message, Handler handler) {
    const int remaining = std::max(1, MprisMediaTitle::kAnswerWithinMs - static_cast<int>(clock_.elapsed()));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message, remaining), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, handler](QDBusPendingCallWatcher* call) {
      call->deleteLater();
      if (!answered_) {
        handler(call->reply());
      }
    });
  }

  void AskProperty(const QString& service, const QString& name, std::function<void(const QDBusMessage&)> handler) {
    QDBusMessage get =
        QDBusMessage::createMethodCall(service, kObjectPath, kPropertiesInterface, QStringLiteral("Get"));
    get << kPlayerInterface << name;
    Call(get, std::move(handler));
  }

  void OnNames(const QDBusMessage& reply) {
    QStringList services;
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
      for (const QString& name : reply.arguments().constFirst().toStringList()) {
        if (name.startsWith(kPlayerPrefix)) {
          services << name;
        }
      }
    }
    players_.resize(static_cast<std::size_t>(services.size()));
    for (std::size_t i = 0; i < players_.size(); ++i) {
      const QString& service = services[static_cast<qsizetype>(i)];
      AskProperty(service, QStringLiteral("PlaybackStatus"), [this, i](const QDBusMessage& answer) {
        const auto status = PropertyValue(answer);
        players_[i].playing = status && status->toString() == QLatin1String("Playing");
        Decide();
      });
      AskProperty(service, QStringLiteral("Metadata"), [this, i](const QDBusMessage& answer) {
        players_[i].metadataAnswered = true;
        if (const auto value = PropertyValue(answer)) {
          players_[i].metadata = MetadataOf(*value);
        }
        Decide();
      });
    }
    Decide();
  }

  // The first player in order that plays and told its song wins; a player
  // that plays but gave no song is passed over, and so is, once the deadline
  // has passed, a player that has not answered.
  void Decide() {
    for (const Player& player : players_) {
      if (player.playing.has_value() && !*player.playing) {
        continue;
      }
      if (!player.playing || !player.metadataAnswered) {
        if (!deadlinePassed_) {
          return;
        }
        continue;
      }
      if (player.metadata) {
        Answer(SongOf(*player.metadata, codec_));
        return;
      }
    }
    Answer(std::nullopt);
  }

  // Calls still out are dropped with the lookup. The answer may open a
  // modal dialog; the lookup is deleted only once the event loop it was
  // called from runs again. Until then the deadline and the replies of calls
  // that timed out can still arrive, in the same pass as the answer: they
  // find the lookup answered and do nothing.
  void Answer(std::optional<PlayingSong> song) {
    if (answered_) {
      return;
    }
    answered_ = true;
    Done done = std::move(done_);
    deleteLater();
    done(std::move(song));
  }

  QDBusConnection bus_;
  const HubCodec& codec_;
  Done done_;
  QElapsedTimer clock_;
  std::vector<Player> players_;
  bool deadlinePassed_ = false;
  bool answered_ = false;
};

}  // namespace

void MprisMediaTitle::RequestSong(std::function<void(std::optional<PlayingSong>)> done) {
  (new SongLookup(codec_, std::move(done), this))->Start();
}

}  // namespace varnek
