// Placeholder pictures of the title window: the starry background, the three frames of the lone
// ship that crosses it, the maker's logo and the lettering. All on black, because the title
// copies them opaque onto the background and black reads as empty space there.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

namespace {

QFont Face(int pixels, bool bold) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// A tiny deterministic generator, so the sky is the same on every build.
struct Dice {
  unsigned state;
  int operator()(int n) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) % static_cast<unsigned>(n));
  }
};

QImage Background() {
  QImage img(201, 151, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient sky(0, 0, 0, 151);
  sky.setColorAt(0.0, QColor(0, 0, 0));
  sky.setColorAt(0.6, QColor(4, 6, 24));
  sky.setColorAt(1.0, QColor(0, 0, 0));
  p.fillRect(img.rect(), sky);

  // A faint band of nebula across the middle.
  QRadialGradient haze(70, 75, 70);
  haze.setColorAt(0.0, QColor(40, 20, 60, 90));
  haze.setColorAt(1.0, QColor(0, 0, 0, 0));
  p.fillRect(img.rect(), haze);

  Dice dice{20240611u};
  for (int i = 0; i < 160; ++i) {
    const int x = dice(201);
    const int y = dice(151);
    const int glow = 90 + dice(166);
    img.setPixelColor(x, y, QColor(glow, glow, std::min(255, glow + 30)));
  }

  // A blue world high on the right, lit from the left.
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient world(150, 48, 40);
  world.setColorAt(0.0, QColor(90, 150, 230));
  world.setColorAt(0.7, QColor(30, 70, 150));
  world.setColorAt(1.0, QColor(5, 15, 40));
  p.setPen(Qt::NoPen);
  p.setBrush(world);
  p.drawEllipse(QPointF(165, 58), 32, 32);
  p.setPen(QPen(QColor(120, 200, 255, 120), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(133, 26, 64, 64), 100 * 16, 120 * 16);
  return img;
}

// The lone ship, its engine flame a different length in each frame.
QImage Figure(int frame) {
  QImage img(199, 44, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);

  const int flame = 18 + 14 * frame;
  QLinearGradient fire(60 - flame, 0, 60, 0);
  fire.setColorAt(0.0, QColor(0, 0, 0));
  fire.setColorAt(0.6, QColor(255, 120, 20));
  fire.setColorAt(1.0, QColor(255, 240, 180));
  p.setPen(Qt::NoPen);
  p.setBrush(fire);
  p.drawEllipse(QRectF(60 - flame, 17, flame + 6, 10));

  QPainterPath hull;
  hull.moveTo(60, 14);
  hull.lineTo(150, 16);
  hull.quadTo(185, 22, 150, 28);
  hull.lineTo(60, 30);
  hull.closeSubpath();
  p.setBrush(QColor(200, 205, 215));
  p.setPen(QPen(QColor(120, 130, 150), 1));
  p.drawPath(hull);

  QPainterPath fins;
  fins.moveTo(70, 14);
  fins.lineTo(58, 4);
  fins.lineTo(92, 15);
  fins.moveTo(70, 30);
  fins.lineTo(58, 40);
  fins.lineTo(92, 29);
  p.setBrush(QColor(150, 60, 60));
  p.drawPath(fins);

  p.setBrush(QColor(80, 200, 255));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(150, 18, 14, 8));
  // Port lights blink from frame to frame.
  for (int i = 0; i < 5; ++i) {
    const bool lit = (i + frame) % 3 != 0;
    p.setBrush(lit ? QColor(255, 230, 120) : QColor(60, 60, 70));
    p.drawEllipse(QRectF(90 + 11 * i, 20, 3, 3));
  }
  return img;
}

QImage Logo() {
  QImage img(180, 20, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(150, 160, 180));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(96, 4, 12, 12));
  p.drawLine(QPointF(90, 10), QPointF(114, 10));
  p.setFont(Face(13, true));
  p.setPen(QColor(190, 195, 210));
  p.drawText(QRect(0, 0, 92, 20), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Tellivar"));
  p.setFont(Face(9, false));
  p.drawText(QRect(118, 0, 62, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("presents"));
  return img;
}

QImage Lettering() {
  QImage img(143, 18, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font = Face(16, true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
  p.setFont(font);
  QLinearGradient gold(0, 0, 0, 18);
  gold.setColorAt(0.0, QColor(255, 245, 190));
  gold.setColorAt(1.0, QColor(220, 150, 40));
  p.setPen(QPen(QBrush(gold), 1));
  p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("QUELMARIN"));
  return img;
}

}  // namespace

bool DrawTitlePictures(const QString& dir) {
  bool ok = Background().save(dir + "/title.bmp", "BMP");
  for (int frame = 1; frame <= 3; ++frame)
    ok &= Figure(frame).save(dir + QString("/alone%1.bmp").arg(frame), "BMP");
  ok &= Logo().save(dir + "/logo.bmp", "BMP");
  ok &= Lettering().save(dir + "/title_a.bmp", "BMP");
  return ok;
}
