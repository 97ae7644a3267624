// fake-mpris-player: a media player for the end-to-end tests. It owns
// org.mpris.MediaPlayer2.NAME on the session bus and answers the player's
// PlaybackStatus and Metadata, then waits until it is killed.
//
//   fake-mpris-player [--name NAME] [--status STATUS] [--title TITLE] [--artist ARTIST]...
//
// "ready" on standard output says that the name and the object are on the bus.
// Without --artist the metadata holds no artist at all, as with a file that
// has no artist tag.

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

namespace {

struct Song {
  QString status = QStringLiteral("Playing");
  QString title;
  QStringList artists;
};

// The player interface with the two properties the bot reads; Qt answers the
// Properties interface's Get and GetAll from these.
class PlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)

 public:
  PlayerAdaptor(QObject* player, Song song) : QDBusAbstractAdaptor(player), song_(std::move(song)) {}

  QString PlaybackStatus() const { return song_.status; }

  QVariantMap Metadata() const {
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/Track/1"))));
    metadata.insert(QStringLiteral("xesam:title"), song_.title);
    if (!song_.artists.isEmpty()) {
      metadata.insert(QStringLiteral("xesam:artist"), song_.artists);
    }
    return metadata;
  }

 private:
  Song song_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  QString name = QStringLiteral("fakeplayer");
  Song song;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
    const QString& option = arguments[i];
    const QString& value = arguments[i + 1];
    if (option == QLatin1String("--name")) {
      name = value;
    } else if (option == QLatin1String("--status")) {
      song.status = value;
    } else if (option == QLatin1String("--title")) {
      song.title = value;
    } else if (option == QLatin1String("--artist")) {
      song.artists << value;
    } else {
      std::fprintf(stderr, "fake-mpris-player: unknown option %s\n", qPrintable(option));
      return 2;
    }
  }

  QDBusConnection bus = QDBusConnection::sessionBus();
  QObject player;
  new PlayerAdaptor(&player, song);
  if (!bus.isConnected() || !bus.registerObject(QStringLiteral("/org/mpris/MediaPlayer2"), &player) ||
      !bus.registerService(QStringLiteral("org.mpris.MediaPlayer2.") + name)) {
    std::fprintf(stderr, "fake-mpris-player: %s\n", qPrintable(bus.lastError().message()));
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  return application.exec();
}

#include "FakeMprisPlayer.moc"
