#pragma once

// The drawing kit shared by every picture of the game: the key colour, saving as the game reads
// pictures, crisp fonts and the game's words lettered in them, noise for natural surfaces, the
// palette squeeze that gives the pictures their 256-colour look, and the bevels and rivets of the
// cockpit's metal.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRect>
#include <QString>
#include <string>

namespace qm::art {

// The colour a keyed picture leaves out; it sits in the bottom-left pixel, where the game looks.
inline const QColor kKey(255, 0, 255);

// An opaque picture filled with one colour.
QImage Canvas(int width, int height, QColor fill);
// A see-through layer to paint on with antialiasing before it is keyed.
QImage Layer(int width, int height);

// A layer becomes a keyed picture: pixels covered at least `threshold` of 255 keep their colour
// at full strength, the rest become the key, so no half-blended fringe can show against the
// view. A painted pixel that happens to be the key colour is nudged off it.
QImage Keyed(const QImage& layer, int threshold = 128);
// The same with the threshold taken from a 4 x 4 ordered dither, so glows and fading tails thin
// out into a scatter of pixels instead of ending in a hard edge.
QImage KeyedDithered(const QImage& layer);

// Lays one keyed picture over another of the same size: the upper one's key lets the lower show.
QImage Over(const QImage& below, const QImage& above);

// Writes cg/<name>.bmp as a 24-bit BMP. A picture lettered with a word that does not fit its
// place (see Letter) is not written: the word and the picture are named on stderr and the answer
// is false, so a translation too long for its button stops the build instead of being cut off.
bool Save(const QImage& picture, const QString& dir, const QString& name);
// The same for a keyed picture: its bottom-left pixel is made the key first.
bool SaveKeyed(QImage picture, const QString& dir, const QString& name);

// A face drawn without antialiasing, so letters on a keyed picture have no grey fringe.
QFont Face(const QString& family, int pixels, bool bold);
// A face with smooth edges, for letters on an opaque picture.
QFont SmoothFace(const QString& family, int pixels, bool bold);

// The edition's text, as Tx gives it (CP932 bytes), ready to draw.
QString Unicode(const std::string& cp932);
// The face the game's words are lettered in: the Japanese window face in the Japanese edition,
// the edition's own (Latin) face in another.
QString LetterFace();

// Draws `words` into `place` as QPainter::drawText does, and checks that they fit its width: Qt
// would cut off a wider word, so it is kept as a misfit for Save to report.
void Letter(QPainter& p, const QRect& place, int flags, const QString& words);
// The same on a baseline starting at `origin`, with the rest of the picture's width for place.
void Letter(QPainter& p, QPoint origin, const QString& words);

// A small deterministic generator, so every build draws the same pictures.
struct Dice {
  unsigned state;
  int operator()(int n);
  double Unit();  // 0 <= value < 1
};

// Smooth value noise in 0..1 on a lattice of unit cells, and its sum over octaves.
double Noise3(double x, double y, double z, unsigned seed);
double Fbm(double x, double y, double z, int octaves, unsigned seed);

QColor Mix(QColor a, QColor b, double t);
// Scales a colour's brightness: 0 black, 1 itself, above 1 towards white.
QColor Lit(QColor base, double light);

// Squeezes every colour but the key onto `levels` steps per channel with a 4 x 4 ordered
// dither, as the era's 256-colour screens showed gradients.
void Dither(QImage& picture, int levels);

// A brush for a lit metal or painted shape: bright towards the sun (upper left), dark away.
QLinearGradient Sheen(const QRectF& r, QColor base);
// A soft light: full `colour` at the centre fading out at `radius` (dither it when keying).
void Glow(QPainter& p, QPointF centre, double radius, QColor colour);

// A painter with smooth edges, for layers that are keyed afterwards.
struct SmoothPainter : QPainter {
  explicit SmoothPainter(QImage& layer) : QPainter(&layer) { setRenderHint(Antialiasing); }
};

// A raised (or, with `sunken`, pressed-in) edge `width` pixels wide inside the rectangle.
void Bevel(QPainter& p, const QRect& r, QColor light, QColor dark, int width, bool sunken = false);
// A round rivet head 4 pixels across with its top-left at (x, y).
void Rivet(QPainter& p, int x, int y);

}  // namespace qm::art
