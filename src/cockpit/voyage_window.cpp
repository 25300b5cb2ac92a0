#include "cockpit/voyage_window.h"

#include <QLabel>
#include <QMouseEvent>

#include "platform/cp932.h"
#include "platform/game_folder.h"

namespace qm {

TForm2::TForm2(GameState& game, Services& services, QtControls& controls, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      game_(game),
      services_(services),
      controls_(controls),
      voyage_(game, vs_, pics_, view_, pad_, services, cockpit_),
      cockpit_(voyage_) {
  BuildLayout();
  timer1_.setInterval(5);
  connect(&timer1_, &QTimer::timeout, this, &TForm2::Tick);
}

TForm2::~TForm2() = default;

void TForm2::BuildLayout() {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0x94, 0x94, 0x94));
  setPalette(pal);
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(12);
  font.setBold(true);
  setFont(font);
  controls_.Register(kVoyageWindow, this);

  cg_ = new SurfaceWidget(&view_, this);
  cg_->setGeometry(0, 0, kViewWidth, kViewHeight);
  cg_->on_release = [this](Qt::MouseButton, int, int) { voyage_.contMouseUp(); };
  controls_.Register("cg", cg_);

  cont_ = new SurfaceWidget(&pad_, this);
  cont_->setGeometry(148, 304, 100, 100);
  cont_->on_press = [this](Qt::MouseButton b, int x, int y) {
    const MouseButton button = b == Qt::LeftButton    ? MouseButton::kLeft
                               : b == Qt::RightButton ? MouseButton::kRight
                                                      : MouseButton::kMiddle;
    voyage_.contMouseDown(button, x, y);
  };
  cont_->on_move = [this](int x, int y) { voyage_.contMouseMove(x, y); };
  cont_->on_release = [this](Qt::MouseButton, int, int) { voyage_.contMouseUp(); };
  controls_.Register("cont", cont_);

  // The plate behind the resources label; pressing it offers the booster.
  booster_plate_.SetBrushColor(0x102030);
  booster_plate_.SetPenColor(kAqua);
  booster_plate_.FillRect(0, 0, 145, 25);
  auto* image3 = new SurfaceWidget(&booster_plate_, this);
  image3->setGeometry(252, 378, 145, 25);
  image3->on_press = [this](Qt::MouseButton, int, int) { voyage_.speed_lMouseDown(); };
  controls_.Register("Image3", image3);

  auto* speed_l = new QLabel(this);
  speed_l->setGeometry(260, 386, 129, 12);
  speed_l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  speed_l->setStyleSheet(QStringLiteral("color: #00FFFF; background: transparent;"));
  speed_l->setAttribute(Qt::WA_TransparentForMouseEvents);
  controls_.Register("speed_l", speed_l);
}

void TForm2::FormCreate() {
  controls_.SetCaption(kVoyageWindow, game_.ship_name + Sj("号・船長") + game_.commander_name);
  setFixedSize(400, 428);
  const std::string failed = LoadVoyagePictures(pics_);
  if (!failed.empty()) {
    services_.dialogs.Error(Sj("ﾌｧｲﾙ ") + failed + Sj(" は開けません."));
    return;
  }
  view_.Draw(0, 0, pics_.black);
  voyage_.InitStars();
}

void TForm2::StartVoyage() {
  show();
  vs_.logon_step = 0;
  timer1_.start();
}

void TForm2::Tick() {
  const double before = vs_.next_frame_time;
  voyage_.Timer1Timer();
  if (vs_.next_frame_time != before) {
    cg_->update();
    cont_->update();
  }
}

void TForm2::mouseReleaseEvent(QMouseEvent*) {
  voyage_.contMouseUp();
}

}  // namespace qm
