// Draws the six icons of the program directory: the program and tray icon
// while connected ("con") and disconnected ("discon"), and the user list's
// row icon ("user"), each at 32 bits and as a 24-bit variant for screens of
// fewer colours.
//
//   varnek_make_icons DIR

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int kSize = 32;

// A round badge: a hub dot with two satellite users, in the state's colour.
QImage Badge(QColor fill, bool linked) {
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(fill.darker(160), 1.5));
  painter.setBrush(fill);
  painter.drawEllipse(QRectF(1.5, 1.5, kSize - 3, kSize - 3));
  painter.setPen(QPen(Qt::white, 2.2, linked ? Qt::SolidLine : Qt::DotLine, Qt::RoundCap));
  painter.drawLine(QPointF(16, 16), QPointF(8, 9));
  painter.drawLine(QPointF(16, 16), QPointF(24, 23));
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawEllipse(QPointF(16, 16), 4.5, 4.5);
  painter.drawEllipse(QPointF(8, 9), 3, 3);
  painter.drawEllipse(QPointF(24, 23), 3, 3);
  return image;
}

// A person: head and shoulders.
QImage User() {
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor body(40, 110, 180);
  painter.setPen(QPen(body.darker(150), 1.2));
  painter.setBrush(body);
  QPainterPath shoulders;
  shoulders.moveTo(5, 30);
  shoulders.cubicTo(5, 20, 27, 20, 27, 30);
  shoulders.closeSubpath();
  painter.drawPath(shoulders);
  painter.setBrush(QColor(240, 200, 160));
  painter.drawEllipse(QPointF(16, 11), 6.5, 7);
  return image;
}

// The 24-bit variant: no alpha channel, transparent parts on white.
QImage WithoutAlpha(const QImage& image) {
  QImage flat(image.size(), QImage::Format_RGB888);
  flat.fill(Qt::white);
  QPainter painter(&flat);
  painter.drawImage(0, 0, image);
  return flat;
}

bool Save(const QImage& image, const QDir& directory, const char* name) {
  const QString path = directory.filePath(QString::fromLatin1(name));
  if (!image.save(path, "ICO")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: varnek_make_icons DIR\n");
    return 2;
  }
  QDir directory(QString::fromLocal8Bit(argv[1]));
  if (!directory.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  const QImage connected = Badge(QColor(40, 160, 70), true);
  const QImage disconnected = Badge(QColor(170, 60, 50), false);
  const QImage user = User();
  const bool saved = Save(connected, directory, "con32.ico") && Save(WithoutAlpha(connected), directory, "con24.ico") &&
                     Save(disconnected, directory, "discon32.ico") &&
                     Save(WithoutAlpha(disconnected), directory, "discon24.ico") &&
                     Save(user, directory, "user32.ico") && Save(WithoutAlpha(user), directory, "user24.ico");
  return saved ? 0 : 1;
}
