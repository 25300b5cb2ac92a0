// The cockpit panel's pictures: repair button faces, the trouble list plate, the plates behind
// the gauge and the buttons, and the marker in the message box.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace {

const QColor kKey(255, 0, 255);

bool SaveKeyed(QImage& img, const QString& dir, const QString& name) {
  // The bottom-left pixel names the colour left out when the picture is drawn.
  img.setPixelColor(0, img.height() - 1, kKey);
  return img.save(dir + "/" + name + ".bmp", "BMP");
}

QFont Face(const char* family, int pixels, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// A bevelled plate with a word on it, 70 x 18, its corners keyed out.
bool RepairButton(const QString& dir, int number, const QString& word) {
  QImage img(70, 18, QImage::Format_RGB32);
  img.fill(kKey);
  QPainter p(&img);
  p.setPen(QColor(0x20, 0x20, 0x28));
  p.setBrush(QColor(0x5A, 0x14, 0x14));
  p.drawRoundedRect(QRectF(0.5, 0.5, 68, 16), 4, 4);
  p.setPen(QColor(0xC0, 0x50, 0x50));
  p.drawLine(4, 2, 65, 2);
  p.setFont(Face("IPAPGothic", 11, true));
  p.setPen(QColor(0xFF, 0xE0, 0x60));
  p.drawText(QRect(0, 1, 70, 16), Qt::AlignCenter, word);
  p.end();
  return SaveKeyed(img, dir, QString("tra_b%1").arg(number));
}

}  // namespace

bool DrawCockpitPictures(const QString& dir) {
  bool ok = true;
  static const char* const kWords[10] = {"エンジン",   "負傷者",   "船壁", "汚染除去", "消火",
                                         "燃料タンク", "システム", "感染", "再起動",   "レーダー"};
  for (int n = 1; n <= 10; ++n)
    ok &= RepairButton(dir, n, QString::fromUtf8(kWords[n - 1]));

  // The trouble list plate: a dark frame around the label band (5,5)-(134,13).
  QImage trable(140, 20, QImage::Format_RGB32);
  trable.fill(kKey);
  {
    QPainter p(&trable);
    p.setPen(QColor(0x40, 0x00, 0x00));
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRect(2, 2, 134, 14);
  }
  ok &= SaveKeyed(trable, dir, "trable");

  QImage image1(100, 23, QImage::Format_RGB32);
  image1.fill(kKey);
  {
    QPainter p(&image1);
    p.setFont(Face("IPAPGothic", 10, true));
    p.setPen(QColor(0x00, 0x90, 0x90));
    p.drawText(QRect(0, 0, 84, 23), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("CLICK"));
    p.setBrush(QColor(0x00, 0xFF, 0xFF));
    p.setPen(Qt::NoPen);
    const QPointF arrow[3] = {{88, 8}, {98, 8}, {93, 15}};
    p.drawPolygon(arrow, 3);
  }
  ok &= SaveKeyed(image1, dir, "image1");

  auto plate = [&](const QString& name, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(0x94, 0x94, 0x94));
    QPainter p(&img);
    p.setPen(QColor(0x5C, 0x5C, 0x64));
    p.setBrush(QColor(0x24, 0x28, 0x30));
    p.drawRect(0, 0, w - 1, h - 1);
    p.setPen(QColor(0xB8, 0xB8, 0xC0));
    p.drawLine(1, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 1, w - 1, h - 1);
    p.end();
    return img.save(dir + "/" + name + ".bmp", "BMP");
  };
  ok &= plate("image2", 140, 30);
  ok &= plate("image6", 144, 92);
  return ok;
}
