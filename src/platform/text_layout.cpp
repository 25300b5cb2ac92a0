#include "platform/text_layout.h"

#include <QFontMetrics>

namespace qm {
namespace {

// Characters that travel together when a line is broken: ASCII and half-width katakana.
bool IsNarrow(QChar c) {
  const char16_t u = c.unicode();
  return (u > 0x20 && u < 0x7F) || (u >= 0xFF61 && u <= 0xFF9F);
}

bool ClosesPhrase(QChar c) {
  static const QString kClosers = QStringLiteral("、。，．」』）】〕！？ー…・～ｧｨｩｪｫｬｭｮｯｰﾞﾟ｡｣､");
  return kClosers.contains(c);
}

// Pieces a line may be broken between: a run of narrow characters, a space, or one wide
// character.
QStringList Pieces(const QString& paragraph) {
  QStringList pieces;
  int i = 0;
  while (i < paragraph.size()) {
    int j = i + 1;
    if (IsNarrow(paragraph[i])) {
      while (j < paragraph.size() && IsNarrow(paragraph[j]))
        ++j;
    }
    pieces.append(paragraph.mid(i, j - i));
    i = j;
  }
  return pieces;
}

void WrapParagraph(const QString& paragraph, const QFontMetrics& m, int width, QStringList& out) {
  QStringList line;
  auto line_text = [&line] { return line.join(QString()); };
  auto flush = [&] {
    QString text = line_text();
    while (text.endsWith(QLatin1Char(' ')))
      text.chop(1);
    out.append(text);
    line.clear();
  };
  for (const QString& piece : Pieces(paragraph)) {
    if (line.isEmpty() && piece == QStringLiteral(" ") && !out.isEmpty()) continue;
    if (line.isEmpty() || m.horizontalAdvance(line_text() + piece) <= width) {
      line.append(piece);
      continue;
    }
    if (piece == QStringLiteral(" ")) {
      flush();
      continue;
    }
    // A closing mark takes the piece before it along to the new line.
    QString carried;
    if (ClosesPhrase(piece.front()) && line.size() > 1) carried = line.takeLast();
    flush();
    line.append(carried + piece);
    // A piece wider than a whole line is cut where it must be.
    while (line.size() == 1 && m.horizontalAdvance(line.front()) > width &&
           line.front().size() > 1) {
      QString rest = line.front();
      int fit = 1;
      while (fit < rest.size() && m.horizontalAdvance(rest.left(fit + 1)) <= width)
        ++fit;
      out.append(rest.left(fit));
      line.front() = rest.mid(fit);
    }
  }
  flush();
}

}  // namespace

QStringList LayoutLines(const QString& text, const QFontMetrics& metrics, int width) {
  QString normalized = text;
  normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QStringList paragraphs = normalized.split(QLatin1Char('\n'));
  if (width <= 0) return paragraphs;
  QStringList lines;
  for (const QString& paragraph : paragraphs) {
    QStringList wrapped;
    WrapParagraph(paragraph, metrics, width, wrapped);
    lines += wrapped;
  }
  return lines;
}

}  // namespace qm
