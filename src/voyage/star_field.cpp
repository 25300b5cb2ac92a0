#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/random.h"
#include "voyage/voyage.h"

namespace qm {

void Voyage::InitStars() {
  for (Star& s : vs_.stars) {
    s.x = Roll(400);
    s.y = Roll(300);
    s.radius = Roll(2) + 1;
    s.vx = s.vy = s.vz = 0;
    s.motion = Roll(5);
    s.drawn = 1;
  }
}

void Voyage::ClearView() {
  Color c = kBlack;
  if (InZone(PointKind::kHotZone)) {
    // A dark red pulse with a period of eight frames.
    static constexpr Color kPulse[8] = {0x000000, 0x220000, 0x330000, 0x440000,
                                        0x550000, 0x440000, 0x330000, 0x220000};
    c = kPulse[vs_.blink_counter % 8];
    if (Roll(100) == 0) hooks_.RaiseTrouble(kFire);
  }
  view_.SetBrushColor(c);
  view_.SetPenColor(c);
  view_.FillRect(0, 0, kViewWidth, kViewHeight);
}

void Voyage::AsteroidView() {
  if (!InZone(PointKind::kAsteroidBelt)) return;
  if (std::abs(vs_.local_x) == 250 || std::abs(vs_.local_y) == 250 ||
      std::abs(vs_.local_z) == 250) {
    return;
  }
  const int l = (210 - vs_.local_x) / 2;
  const int t = (220 - vs_.local_y) / 4;
  const int e = vs_.local_z + 250;
  view_.CopyRect(-e, -e, e + kViewWidth, e + kViewHeight, pics_.syowaku, l, t, l + 40, t + 30);
  if (Roll(100) == 0) hooks_.RaiseTrouble(kFuelTankDamage);
}

void Voyage::StarStep() {
  view_.SetBrushColor(0xC0C0C0);
  view_.SetPenColor(0x808080);
  for (Star& s : vs_.stars) {
    s.vx = vs_.speed_side;
    s.vy = vs_.speed_up;
    s.vz = vs_.speed_forward;
    s.x += s.vx * s.radius;
    s.y += s.vy * s.radius;

    if (s.vz > 0 && (s.x > 450 || s.y > 350)) {
      const int m = std::max(s.vz, 5);
      s.x = 200 - m / 2 + Roll(m + 1);
      s.y = 150 - m / 2 + Roll(m + 1);
      s.motion = Roll(5);
      s.radius = 1;
    }

    if (s.vz < 0) {
      const int h = std::abs(s.vz) / 2;
      const int q = std::abs(s.vz) / 3;
      const bool in_centre = s.x >= 200 - h && s.x <= 200 + h && s.y >= 150 - q && s.y <= 150 + q;
      if (in_centre || s.radius == 0) {
        s.radius = Roll(2) + 3;
        s.motion = 4;
        switch (Roll(4)) {
          case 0:
            s.x = -Roll(400) - 10;
            s.y = Roll(300);
            break;
          case 1:
            s.x = Roll(400) + 410;
            s.y = Roll(300);
            break;
          case 2:
            s.y = -Roll(300) - 10;
            s.x = Roll(400);
            break;
          default:
            s.y = Roll(300) + 310;
            s.x = Roll(400);
            break;
        }
      }
    }

    if (s.vz != 0) {
      if (s.vz > 0 && (s.x % 50 == 0 || s.y % 40 == 0) && s.x != 200 && s.y != 200) {
        s.radius = std::min(s.radius + 1, 50);
      }
      if (s.vz < 0 && vs_.blink_counter % 5 == 0) s.radius = std::max(s.radius - 1, 0);
      // S is the forward speed times the radius, and each step is S times the radius again, so a
      // star speeds up as it grows on its way out.
      const int step = s.vz * s.radius * s.radius;
      int a = step;
      int b = step;
      switch (s.motion) {
        case 0:
          b = step / 5;
          break;
        case 1:
          a = step / 5;
          break;
        case 2:
          b = step / 2;
          break;
        case 3:
          a = step / 2;
          break;
        default:
          break;
      }
      if (s.x > 200) {
        s.x += a;
      } else {
        s.x -= a;
      }
      if (s.y > 150) {
        s.y += b;
      } else {
        s.y -= b;
      }
    }

    // Each test sees the result of the one before, so stars leaving sideways re-enter late.
    if (s.x > 450) {
      s.x = -Roll(400) - 10;
      s.y = Roll(300);
    }
    if (s.x < -50) {
      s.x = Roll(400) + 410;
      s.y = Roll(300);
    }
    if (s.y > 300) {
      s.y = -Roll(300) - 10;
      s.x = Roll(400);
    }
    if (s.y < -50) {
      s.y = Roll(300) + 310;
      s.x = Roll(400);
    }

    if (s.drawn != 0) {
      const int r = s.radius;
      view_.Ellipse(s.x - r, s.y - r, s.x + r, s.y + r);
    }
  }
}

namespace {
// A chart file can give any size or place; far beyond the view they all look the same, and
// keeping them there keeps the arithmetic inside 32 bits.
int OnCanvas(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, -1000000, 1000000));
}
}  // namespace

void Voyage::PointPicture(int px, int py, int depth_step, int size, int kind) {
  const std::int64_t d = std::max(depth_step, 1);
  const std::int64_t s = vs_.local_z <= 0 ? size / d : size * d;
  view_.StretchDraw(OnCanvas(200 + px - s), OnCanvas(150 + py - s), OnCanvas(200 + px + s),
                    OnCanvas(150 + py + s), pics_.bui[static_cast<size_t>(kind)]);
}

void Voyage::Zone13Effect() {
  if (!InZone(PointKind::kNoiseZone)) return;
  const int w = Roll(30);
  if (vs_.blink_counter % 4 == 0) {
    StretchNoise(Roll(2) == 0 ? kNoiseInterference : kNoiseInterference2, -w, -w, w + kViewWidth,
                 w + kViewHeight);
  }
  if (Roll(80) == 0) hooks_.RaiseTrouble(kMainSystemFault);
}

void Voyage::Zone14Effect() {
  if (!InZone(PointKind::kFlashZone)) return;
  const int w = Roll(150);
  view_.CopyRect(0, 0, kViewWidth, kViewHeight, view_, w, w, kViewWidth - w, kViewHeight - w);
  view_.SetBrushColor(kWhite);
  if (Roll(50) == 0) view_.FillRect(0, 0, kViewWidth, kViewHeight);
  if (Roll(80) == 0) hooks_.RaiseTrouble(kRadarFault);
}

void Voyage::ChartOverlay() {
  for (int pass = 0; pass < 2; ++pass) {
    view_.SetPenColor(pass == 0 ? 0x003300 : 0x008000);
    for (int i = pass == 0 ? 2 : 1; i <= 29; i += 2) {
      view_.MoveTo(80 + 8 * i, 30);
      view_.LineTo(80 + 8 * i, 270);
      view_.MoveTo(80, 30 + 8 * i);
      view_.LineTo(320, 30 + 8 * i);
    }
  }
  view_.SetBrushColor(kBlack);
  view_.SetBrushClear(true);
  view_.SetPenColor(kGreen);
  view_.FillRect(80, 30, 320, 270);
  view_.SetBrushColor(kBlack);

  for (int i = 0; i < kChartPointCount; ++i) {
    if (game_.point_state[static_cast<size_t>(i)] != 2) continue;
    const ChartPoint& p = game_.chart[static_cast<size_t>(i)];
    const std::int64_t x = p.x;
    const std::int64_t z = p.z;
    auto dot = [&](Color outline) {
      view_.SetPenColor(outline);
      view_.Ellipse(OnCanvas(198 + 4 * x), OnCanvas(148 - 4 * z), OnCanvas(202 + 4 * x),
                    OnCanvas(152 - 4 * z));
    };
    // The special planet's red goes over an aqua dot.
    const ChartDot shown = Traits(p.kind).chart_dot;
    if (shown == ChartDot::kAquaRing || shown == ChartDot::kRedRing) dot(kAqua);
    if (shown == ChartDot::kGreenRing) dot(kGreen);
    if (shown == ChartDot::kRedRing) dot(0xFF0000);
  }

  if (vs_.blink_counter % 2 == 0) {
    view_.SetPenColor(0xFFFF00);
    view_.SetBrushColor(0xFFFF00);
    view_.Ellipse(198 - 4 * game_.sector_x, 148 - 4 * game_.sector_z, 202 - 4 * game_.sector_x,
                  152 - 4 * game_.sector_z);
  }
  view_.SetBrushClear(false);
}

}  // namespace qm
