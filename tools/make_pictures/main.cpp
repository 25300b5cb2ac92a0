// Placeholder pictures until the real art is drawn: every file the voyage window loads exists.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

bool DrawCockpitPictures(const QString& dir);
bool DrawPanelPictures(const QString& dir);
bool DrawTitlePictures(const QString& dir);

namespace {
bool Save(const QString& dir, const QString& name, int w, int h, QColor fill, QColor mark,
          QColor key) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(key);
  QPainter p(&img);
  p.setBrush(fill);
  p.setPen(mark);
  p.drawEllipse(QRect(1, 1, w - 3, h - 3));
  p.end();
  img.setPixelColor(0, h - 1, key);
  return img.save(dir + "/" + name + ".bmp", "BMP");
}
}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) return 2;
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  bool ok = true;
  ok &= Save(dir, "black", 400, 300, Qt::black, Qt::black, Qt::black);
  QImage gamen(400, 300, QImage::Format_RGB32);
  gamen.fill(QColor(255, 0, 255));
  {
    QPainter p(&gamen);
    p.fillRect(0, 0, 400, 12, QColor(40, 40, 48));
    p.fillRect(0, 288, 400, 12, QColor(40, 40, 48));
  }
  gamen.setPixelColor(0, 299, QColor(255, 0, 255));
  ok &= gamen.save(dir + "/gamen.bmp", "BMP");
  ok &= Save(dir, "txt", 200, 100, Qt::white, Qt::white, Qt::white);
  ok &= Save(dir, "cont", 100, 100, QColor(20, 30, 40), QColor(0, 160, 160), Qt::black);
  ok &= Save(dir, "cont2", 100, 100, QColor(30, 50, 70), QColor(0, 255, 255), Qt::black);
  ok &= Save(dir, "syowaku", 280, 160, QColor(90, 70, 50), QColor(140, 120, 90), Qt::black);
  for (int k : {1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 20, 21, 22}) {
    ok &= Save(dir, QString("bui%1").arg(k), 64, 64, QColor::fromHsv(k * 16 % 360, 160, 220),
               Qt::white, Qt::black);
  }
  for (int k = 0; k <= 6; ++k) {
    ok &= Save(dir, QString("noize%1").arg(k), 100, 75, QColor(200, 200, 200), Qt::gray, Qt::black);
  }
  ok &= DrawCockpitPictures(dir);
  ok &= DrawPanelPictures(dir);
  ok &= DrawTitlePictures(dir);
  if (!ok) std::fprintf(stderr, "make_pictures: could not write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
