#pragma once

#include <QString>
#include <QStringList>

class QFontMetrics;

namespace qm {

// Breaks a text into the lines the game shows: at every line break, and, when `width` is
// positive, wherever the next piece would pass the right edge. Runs of ASCII and of half-width
// katakana ("ﾏｰﾒｲﾀﾞ") are kept whole; closing punctuation never starts a line. The message box
// draws with it and the chart checker measures with it, so a page that passes the check is a
// page that fits.
QStringList LayoutLines(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace qm
