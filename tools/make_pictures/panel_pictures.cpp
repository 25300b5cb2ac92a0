// The panel buttons at the right of the instruments: contact and chart with their pressed
// pictures, the energy converter, the save point, and the plate behind the resources label.
// Placeholders in the panel's colours until the real art is drawn.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace {

const QColor kKey(255, 0, 255);
const QColor kAqua(0x00, 0xFF, 0xFF);

QFont Face(int pixels) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(pixels);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

bool SaveKeyed(QImage& img, const QString& dir, const QString& name) {
  // The bottom-left pixel names the colour left out when the picture is drawn.
  img.setPixelColor(0, img.height() - 1, kKey);
  return img.save(dir + "/" + name + ".bmp", "BMP");
}

// A rounded plate with a caption; pressed, it glows and its caption turns dark.
bool Button(const QString& dir, const QString& name, int w, int h, const QString& caption,
            const QString& small, bool pressed) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(kKey);
  QPainter p(&img);
  p.setPen(pressed ? kAqua : QColor(0x50, 0x58, 0x68));
  p.setBrush(pressed ? QColor(0x00, 0xA0, 0xB0) : QColor(0x1C, 0x24, 0x34));
  p.drawRoundedRect(QRectF(0.5, 0.5, w - 2, h - 2), 5, 5);
  if (!pressed) {
    p.setPen(QColor(0x80, 0x90, 0xA8));
    p.drawLine(6, 2, w - 8, 2);
  }
  p.setPen(pressed ? QColor(0x00, 0x20, 0x28) : kAqua);
  p.setFont(Face(h >= 36 ? 14 : 12));
  p.drawText(QRect(0, 2, w, small.isEmpty() ? h - 4 : h - 14), Qt::AlignCenter, caption);
  if (!small.isEmpty()) {
    p.setFont(Face(9));
    p.setPen(pressed ? QColor(0x00, 0x20, 0x28) : QColor(0x90, 0xB0, 0xC0));
    p.drawText(QRect(0, h - 15, w, 12), Qt::AlignCenter, small);
  }
  p.end();
  return SaveKeyed(img, dir, name);
}

}  // namespace

bool DrawPanelPictures(const QString& dir) {
  bool ok = true;
  for (bool pressed : {false, true}) {
    const QString suffix = pressed ? QString() : QStringLiteral("2");
    ok &= Button(dir, "contact_b" + suffix, 93, 36, QStringLiteral("コンタクト"),
                 QStringLiteral("CONTACT"), pressed);
    ok &= Button(dir, "u_map_b" + suffix, 93, 36, QStringLiteral("海図"), QStringLiteral("MAP"),
                 pressed);
  }
  ok &= Button(dir, "image4", 50, 34, QStringLiteral("変換"), QStringLiteral("t→E"), false);
  ok &= Button(dir, "image5", 50, 34, QStringLiteral("記録"), QStringLiteral("SAVE"), false);

  // The resources plate: a dark band framed in aqua; the resources label is written on it.
  QImage image3(145, 25, QImage::Format_RGB32);
  {
    QPainter p(&image3);
    p.setPen(QColor(0x00, 0x80, 0x90));
    p.setBrush(QColor(0x10, 0x20, 0x30));
    p.drawRect(0, 0, 144, 24);
  }
  ok &= image3.save(dir + "/image3.bmp", "BMP");
  return ok;
}
