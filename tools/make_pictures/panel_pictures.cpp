// The instrument panel below the view: the plate behind the energy gauge, the contact and chart
// buttons with the pictures they blink while pressed, the energy converter and the save point,
// the resources plate that also sells the booster, and the marker in the message box.
// Everything is a dark console set into the grey panel, lettered in aqua.
#include <QPainterPath>
#include <QPolygon>

#include "paint.h"
#include "pictures.h"
#include "platform/edition.h"

namespace qm::art {
namespace {

const QColor kAqua(0x00, 0xFF, 0xFF);
const QColor kDimAqua(0x40, 0xA8, 0xB8);
const QColor kScreen(0x08, 0x12, 0x1C);
const QColor kLight(0xC8, 0xD0, 0xDC);
const QColor kShadow(0x28, 0x2C, 0x34);

// A console plate: a metal lip round a dark recessed screen.
void Plate(QPainter& p, const QRect& r) {
  p.fillRect(r, QColor(0x6C, 0x72, 0x7E));
  Bevel(p, r, kLight, kShadow, 1);
  const QRect inner = r.adjusted(2, 2, -2, -2);
  p.fillRect(inner, kScreen);
  Bevel(p, inner, QColor(0x02, 0x04, 0x08), QColor(0x30, 0x48, 0x58), 1);
}

// Cuts the corner pixels off a button so it reads as rounded.
void RoundCorners(QImage& img, int cut) {
  const int w = img.width(), h = img.height();
  for (int i = 0; i < cut; ++i) {
    for (int j = 0; j < cut - i; ++j) {
      img.setPixelColor(i, j, kKey);
      img.setPixelColor(w - 1 - i, j, kKey);
      img.setPixelColor(i, h - 1 - j, kKey);
      img.setPixelColor(w - 1 - i, h - 1 - j, kKey);
    }
  }
}

// A console button. Idle it stands out dark with an aqua caption; pressed it sinks in and
// lights up aqua with a dark caption, and its lamp comes on. The caption and its small line keep
// a pixel clear of the bevel.
QImage Button(int w, int h, const QString& caption, int caption_px, const QString& small,
              bool pressed) {
  QImage img = Canvas(w, h, kKey);
  QPainter p(&img);
  QLinearGradient face(0, 0, 0, h);
  face.setColorAt(0, pressed ? QColor(0x40, 0xF0, 0xFF) : QColor(0x2C, 0x3A, 0x4C));
  face.setColorAt(1, pressed ? QColor(0x00, 0x80, 0x90) : QColor(0x10, 0x16, 0x20));
  p.fillRect(0, 0, w, h, face);
  p.setPen(QColor(0x04, 0x06, 0x0A));
  p.drawRect(0, 0, w - 1, h - 1);
  Bevel(p, QRect(1, 1, w - 2, h - 2), pressed ? QColor(0x00, 0x50, 0x60) : QColor(0x88, 0xA0, 0xB8),
        pressed ? QColor(0xC0, 0xFF, 0xFF) : QColor(0x08, 0x0C, 0x12), 2, pressed);
  p.fillRect(4, 4, 4, 3, pressed ? QColor(0x80, 0xFF, 0x80) : QColor(0x18, 0x30, 0x20));
  const int shift = pressed ? 1 : 0;
  const QColor ink = pressed ? QColor(0x00, 0x20, 0x28) : kAqua;
  const int caption_h = small.isEmpty() ? h : h - 11;
  p.setFont(Face(LetterFace(), caption_px, false));
  if (!pressed) {
    p.setPen(QColor(0x00, 0x30, 0x38));
    Letter(p, QRect(5, 2, w - 8, caption_h), Qt::AlignCenter, caption);
  }
  p.setPen(ink);
  Letter(p, QRect(4 + shift, 1 + shift, w - 8, caption_h), Qt::AlignCenter, caption);
  if (!small.isEmpty()) {
    p.setFont(Face(QStringLiteral("DejaVu Sans"), 9, true));
    p.setPen(pressed ? QColor(0x00, 0x38, 0x44) : kDimAqua);
    Letter(p, QRect(4 + shift, h - 14 + shift, w - 8, 11), Qt::AlignCenter, small);
  }
  p.end();
  RoundCorners(img, 2);
  return img;
}

// Behind the energy gauge (drawn at (5, 6), 130 x 8) and its numbers (from (11, 18)).
QImage GaugePlate() {
  QImage img = Canvas(140, 30, kKey);
  QPainter p(&img);
  Plate(p, img.rect());
  p.setPen(QColor(0x00, 0x00, 0x00));
  p.drawRect(4, 5, 131, 9);
  p.setPen(QColor(0x20, 0x60, 0x70));
  p.drawLine(4, 15, 136, 15);
  p.fillRect(5, 20, 3, 4, QColor(0x40, 0xFF, 0x60));
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 9, true));
  p.setPen(kDimAqua);
  p.drawText(QRect(80, 16, 56, 12), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("ENERGY"));
  return img;
}

// Behind the ten repair buttons: a dark socket for each, its lamp out and its name faint, so
// the panel reads "all clear" until a trouble lights its button.
QImage RepairSockets() {
  QImage img = Canvas(144, 92, QColor(0x6C, 0x72, 0x7E));
  QPainter p(&img);
  Bevel(p, img.rect(), kLight, kShadow, 1);
  for (int n = 1; n <= 10; ++n) {
    const QRect socket((n % 2 == 1) ? 1 : 73, 1 + 18 * ((n - 1) / 2), 70, 18);
    p.fillRect(socket, QColor(0x0C, 0x10, 0x16));
    Bevel(p, socket, QColor(0x02, 0x02, 0x04), QColor(0x48, 0x50, 0x5C), 1);
    p.fillRect(socket.left() + 4, socket.top() + 7, 4, 4, QColor(0x30, 0x18, 0x18));
    p.setFont(Face(LetterFace(), 10, false));
    p.setPen(QColor(0x30, 0x40, 0x4C));
    Letter(p, socket.adjusted(11, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, RepairWord(n));
  }
  return img;
}

// Behind the resources label (right-aligned from (8, 8)); a press sells resources for the
// booster, so a booster mark waits at its left end.
QImage ResourcesPlate() {
  QImage img = Canvas(145, 25, kKey);
  QPainter p(&img);
  Plate(p, img.rect());
  p.setPen(Qt::NoPen);
  for (int k = 0; k < 2; ++k) {
    p.setBrush(k == 0 ? QColor(0xA0, 0x60, 0x10) : QColor(0xFF, 0xB0, 0x30));
    const int x = 6 + k * 6;
    p.drawPolygon(QPolygon({QPoint(x, 8), QPoint(x + 5, 12), QPoint(x, 17)}));
  }
  p.setPen(QColor(0x20, 0x50, 0x58));
  p.drawLine(22, 20, 139, 20);
  return img;
}

// The marker in the corner of the message box: click for the next page.
QImage Marker() {
  QImage img = Canvas(100, 23, kKey);
  QPainter p(&img);
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 10, true));
  p.setPen(QColor(0x00, 0xA0, 0xB0));
  p.drawText(QRect(0, 0, 82, 23), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("CLICK"));
  p.setPen(Qt::NoPen);
  p.setBrush(kAqua);
  p.drawPolygon(QPolygon({QPoint(86, 8), QPoint(97, 8), QPoint(91, 14)}));
  p.fillRect(86, 16, 12, 2, QColor(0x00, 0xA0, 0xB0));
  return img;
}

}  // namespace

bool DrawPanelPictures(const QString& dir, Which which) {
  // The English under a Japanese caption is there for players who read no Japanese; in another
  // edition the caption is in the player's language already, and the gloss would only repeat it.
  const bool japanese = IsJapaneseEdition();
  bool ok = true;
  // The pressed pictures carry no suffix; the idle buttons are the "2" pictures.
  for (bool pressed : {false, true}) {
    const QString suffix = pressed ? QString() : QStringLiteral("2");
    // TRANSLATORS: the contact button of the panel: at most 85 pixels wide at 16 px.
    const QString contact = Unicode(Tx("コンタクト"));
    ok &= SaveKeyed(
        Button(93, 36, contact, 16, japanese ? QStringLiteral("CONTACT") : QString(), pressed), dir,
        "contact_b" + suffix);
    // TRANSLATORS: the chart button of the panel: at most 85 pixels wide at 17 px.
    const QString chart = Unicode(Tx("海図"));
    ok &= SaveKeyed(
        Button(93, 36, chart, 17, japanese ? QStringLiteral("STAR CHART") : QString(), pressed),
        dir, "u_map_b" + suffix);
  }
  // Two kanji fill the small buttons at 15 px; a word of Latin letters needs a smaller size.
  const int small_px = japanese ? 15 : 11;
  // The converter's small line is its rate, not a gloss: every edition keeps it.
  // TRANSLATORS: the energy converter's button: at most 42 pixels wide at 11 px.
  const QString convert = Unicode(Tx("変換"));
  ok &= SaveKeyed(Button(50, 34, convert, small_px, QStringLiteral("t→E"), false), dir, "image4");
  // TRANSLATORS: the save point's button: at most 42 pixels wide at 11 px.
  const QString save = Unicode(Tx("記録"));
  ok &= SaveKeyed(
      Button(50, 34, save, small_px, japanese ? QStringLiteral("SAVE") : QString(), false), dir,
      "image5");
  ok &= Save(RepairSockets(), dir, "image6");
  if (which == Which::kLettered) return ok;
  ok &= Save(ResourcesPlate(), dir, "image3");
  ok &= Save(GaugePlate(), dir, "image2");
  ok &= SaveKeyed(Marker(), dir, "image1");
  return ok;
}

}  // namespace qm::art
