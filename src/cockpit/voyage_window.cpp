#include "cockpit/voyage_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "cockpit/instrument_texts.h"
#include "cockpit/pause_cover.h"
#include "cockpit/picture_widget.h"
#include "cockpit/text_label.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/game_folder.h"

namespace qm {
namespace {

constexpr int kHiddenLookMs = 100;
// How long a new loudness stays noted over the view.
constexpr int kVolumeNoteMs = 1500;

QString Shown(const std::string& cp932) {
  return QString::fromStdString(Utf8FromCp932(cp932));
}

QFont PixelFont(const char* face, int pixels, bool bold, bool italic) {
  QFont font(QString::fromStdString(EditionFace(face)));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// A panel label: 11 px bold aqua on the window's grey, as the panel's numbers are written.
QLabel* PanelLabel(QWidget* parent, int left, int top, int width, int height) {
  auto* label = new QLabel(parent);
  label->setGeometry(left, top, width, height);
  label->setFont(PixelFont(kWindowFace, 11, true, false));
  label->setStyleSheet(QStringLiteral("color: #00FFFF; background: transparent;"));
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

}  // namespace

TForm2::TForm2(GameState& game, Services& services, QtControls& controls, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      game_(game),
      services_(services),
      controls_(controls),
      voyage_(game, vs_, pics_, view_, pad_, services, cockpit_),
      cockpit_(voyage_, pics_),
      close_title_window_([] { QCoreApplication::quit(); }) {
  // Layout pictures belong to the window description, so they are there before anything shows.
  LoadCockpitPictures(layout_pics_);
  LoadPanelPictures(panel_pics_);
  BuildLayout();
  timer1_.setInterval(5);
  // Woken just when a frame is due (see PostedFrame); a precise timer never wakes early.
  timer1_.setTimerType(Qt::PreciseTimer);
  connect(&timer1_, &QTimer::timeout, this, &TForm2::Tick);
  volume_note_.setSingleShot(true);
  volume_note_.setInterval(kVolumeNoteMs);
  connect(&volume_note_, &QTimer::timeout, this, [this] { volume_l_->hide(); });
}

TForm2::~TForm2() = default;

void TForm2::BuildLayout() {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0x94, 0x94, 0x94));
  setPalette(pal);
  setFont(PixelFont(kWindowFace, 12, true, false));
  controls_.Register(kVoyageWindow, this);

  cg_ = new SurfaceWidget(&view_, this);
  cg_->setGeometry(0, 0, kViewWidth, kViewHeight);
  cg_->on_release = [this](Qt::MouseButton, int, int) { PadReleased(); };
  controls_.Register("cg", cg_);

  cont_ = new SurfaceWidget(&pad_, this);
  cont_->setGeometry(148, 304, 100, 100);
  cont_->on_press = [this](Qt::MouseButton b, int x, int y) {
    if (Paused()) return;
    const MouseButton button = b == Qt::LeftButton    ? MouseButton::kLeft
                               : b == Qt::RightButton ? MouseButton::kRight
                                                      : MouseButton::kMiddle;
    voyage_.contMouseDown(button, x, y);
  };
  cont_->on_move = [this](int x, int y) {
    if (!Paused()) voyage_.contMouseMove(x, y);
  };
  cont_->on_release = [this](Qt::MouseButton, int, int) { PadReleased(); };
  controls_.Register("cont", cont_);

  BuildPanelButtons();
  BuildPanel();
  BuildTestControls();
  BuildMessageBox();
  BuildPauseCover();

  // A button released over the pad, the view or the bare window ends steering with its click;
  // every other control keeps its presses and releases to itself, so a click on the message box,
  // the status line or a panel button is only that control's own click.
  for (QObject* child : children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control != nullptr && control != cg_ && control != cont_)
      control->setAttribute(Qt::WA_NoMousePropagation);
  }
}

void TForm2::BuildPanelButtons() {
  auto button = [this](const Surface& picture, const char* name, int left, int top, int width,
                       int height, std::function<void()> press) {
    auto* widget = new PictureWidget(picture, this);
    widget->setGeometry(left, top, width, height);
    if (press) {
      widget->setCursor(Qt::PointingHandCursor);
      widget->on_press = WhileRunning(std::move(press));
    }
    controls_.Register(name, widget);
    return widget;
  };
  button(panel_pics_.contact_b2, "contact_b2", kContactLeft, kContactTop, 93, 36,
         [this] { cockpit_.contact_b2MouseDown(); });
  button(panel_pics_.image5, "Image5", 347, 304, 50, 34, [this] { cockpit_.Image5MouseDown(); });
  button(panel_pics_.u_map_b2, "u_map_b2", kChartLeft, kChartTop, 93, 36,
         [this] { cockpit_.u_map_b2MouseDown(); });
  button(panel_pics_.image4, "Image4", 252, 342, 50, 34, [this] { cockpit_.Image4MouseDown(); });
  // The plate behind the resources label; pressing it offers the booster.
  button(panel_pics_.image3, "Image3", 252, 378, 145, 25, [this] { voyage_.speed_lMouseDown(); });

  // The pressed pictures wait beyond the right edge until a press moves them onto their button;
  // created last, they lie over it.
  button(panel_pics_.contact_b, "contact_b", 428, 312, 93, 36, nullptr)->hide();
  button(panel_pics_.u_map_b, "u_map_b", 524, 312, 93, 36, nullptr);
}

void TForm2::BuildTestControls() {
  // Below the client area, hidden and disabled: nothing in the game shows them.
  auto spin = [this](const char* name, int left) {
    auto* box = new QSpinBox(this);
    box->setRange(kSectorMin, kSectorMax);
    box->setGeometry(left, 456, 40, 20);
    box->hide();
    box->setEnabled(false);
    controls_.Register(name, box);
    return box;
  };
  QSpinBox* x_v = spin("x_v", 4);
  QSpinBox* y_v = spin("y_v", 48);
  QSpinBox* z_v = spin("z_v", 92);
  const std::function<void()> clicks[4] = {
      [this, x_v, y_v, z_v] { cockpit_.Button1Click(x_v->value(), y_v->value(), z_v->value()); },
      [this] { cockpit_.Button2Click(); },
      [this] { cockpit_.Button3Click(); },
      [this] { cockpit_.Button4Click(); },
  };
  for (int i = 0; i < 4; ++i) {
    const std::string name = "Button" + std::to_string(i + 1);
    auto* b = new QPushButton(QString::fromStdString(name), this);
    b->setGeometry(4 + 80 * i, 432, 75, 22);
    connect(b, &QPushButton::clicked, this, clicks[i]);
    b->hide();
    b->setEnabled(false);
    controls_.Register(name, b);
  }
}

void TForm2::BuildPanel() {
  auto* image2 = new PictureWidget(layout_pics_.image2, this);
  image2->setGeometry(4, 304, 140, 30);
  controls_.Register("Image2", image2);

  energy_l_ = new SurfaceWidget(&cockpit_.energy_gauge(), this);
  energy_l_->setGeometry(9, 310, 130, 8);
  controls_.Register("energy_l", energy_l_);

  auto* energy_l2 = PanelLabel(this, 15, 322, 125, 12);
  energy_l2->setText(QStringLiteral("200/200"));
  controls_.Register("energy_l2", energy_l2);

  auto* image6 = new PictureWidget(layout_pics_.image6, this);
  image6->setGeometry(3, 335, 144, 92);
  controls_.Register("Image6", image6);

  for (int n = 1; n <= kRepairButtons; ++n) {
    auto* button = new PictureWidget(layout_pics_.tra_b[static_cast<size_t>(n - 1)], this);
    button->setGeometry(n % 2 == 1 ? 4 : 76, 336 + 18 * ((n - 1) / 2), 70, 18);
    button->setCursor(Qt::PointingHandCursor);
    button->on_press = WhileRunning([this, n] { cockpit_.RepairMouseDown(n); });
    button->hide();
    controls_.Register(RepairButtonName(n), button);
  }

  auto* speed_l = PanelLabel(this, 260, 386, 129, 12);
  speed_l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  controls_.Register("speed_l", speed_l);

  auto* shape2 = new ShapeWidget(QColor(0x00, 0xFF, 0xFF), this);
  shape2->setGeometry(148, 405, 249, 22);
  shape2->on_press = WhileRunning([this] { cockpit_.Shape1MouseDown(); });
  controls_.Register("Shape2", shape2);

  auto* vosk_l = new TextLabel(this);
  vosk_l->setGeometry(149, 406, 247, 20);
  vosk_l->setFont(PixelFont(kFixedFace, 11, false, true));
  vosk_l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  vosk_l->SetBackground(Qt::black);
  vosk_l->SetLineStep(10);
  // Clicks on the status line go through to its frame.
  vosk_l->setAttribute(Qt::WA_TransparentForMouseEvents);
  controls_.Register("vosk_l", vosk_l);
}

void TForm2::BuildMessageBox() {
  auto* box = new QWidget(this);
  box->setGeometry(112, 132, 393, 125);
  box->setAutoFillBackground(true);
  QPalette pal = box->palette();
  pal.setColor(QPalette::Window, Qt::black);
  box->setPalette(pal);
  controls_.Register("moji_box", box);

  auto* shape1 = new ShapeWidget(QColor(0x00, 0xFF, 0xFF), box);
  shape1->setGeometry(0, 0, 393, 125);
  shape1->on_press = WhileRunning([this] { cockpit_.Shape1MouseDown(); });
  controls_.Register("Shape1", shape1);

  auto* moji_l = new TextLabel(box);
  moji_l->setGeometry(kMessageTextLeft, kMessageTextTop, kMessageTextWidth, kMessageTextHeight);
  moji_l->setFont(PixelFont(kMessageFace, 15, true, false));
  moji_l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  moji_l->SetWrap(true);
  moji_l->setAttribute(Qt::WA_TransparentForMouseEvents);
  controls_.Register("moji_l", moji_l);

  auto* image1 = new PictureWidget(layout_pics_.image1, box);
  image1->setGeometry(292, 96, 100, 23);
  image1->setAttribute(Qt::WA_TransparentForMouseEvents);
  controls_.Register("Image1", image1);

  // Shown over the whole panel, so the player reads to the end before steering again.
  box->hide();
  box->raise();
}

void TForm2::BuildPauseCover() {
  auto* cover =
      new PauseCover(Shown(Tx("一時停止")), PixelFont(kWindowFace, 16, true, false), this);
  cover->setGeometry(0, 0, 400, 428);
  cover->hide();
  pause_cover_ = cover;
  controls_.Register("pause_cover", cover);

  volume_l_ = new QLabel(this);
  volume_l_->setGeometry(100, 178, 200, 22);
  volume_l_->setFont(PixelFont(kWindowFace, 12, true, false));
  volume_l_->setAlignment(Qt::AlignCenter);
  volume_l_->setStyleSheet(QStringLiteral("color: #00FFFF; background: black;"));
  volume_l_->setAttribute(Qt::WA_TransparentForMouseEvents);
  volume_l_->hide();
  controls_.Register("volume_l", volume_l_);
}

std::function<void()> TForm2::WhileRunning(std::function<void()> press) {
  return [this, press = std::move(press)] {
    if (!Paused()) press();
  };
}

void TForm2::TogglePause() {
  SetPause(kPlayerPause, (pause_causes_ & kPlayerPause) == 0);
}

void TForm2::SetPause(PauseCause cause, bool on) {
  const bool was = Paused();
  pause_causes_ = on ? (pause_causes_ | cause) : (pause_causes_ & ~static_cast<unsigned>(cause));
  if (Paused() == was) return;
  if (Paused()) {
    voyage_.Pause();
    services_.sound.Hold(true);
    pause_cover_->show();
    pause_cover_->raise();
    volume_l_->raise();
  } else {
    pause_cover_->hide();
    voyage_.Resume();
    services_.sound.Hold(false);
    if (released_while_paused_) {
      released_while_paused_ = false;
      voyage_.contMouseUp();
    }
    // The next frame is due a little after now, not at the poll the pause left behind.
    if (timer1_.isActive()) timer1_.start(MsUntil(vs_.next_frame_time, services_.clock.Now(), 1));
  }
  emit PauseChanged(Paused());
}

void TForm2::PadReleased() {
  if (Paused()) {
    released_while_paused_ = true;
    return;
  }
  voyage_.contMouseUp();
}

void TForm2::StepVolume(SoundPart part, int step) {
  Sound& sound = services_.sound;
  sound.SetVolume(part, std::clamp(sound.Volume(part) + step, 0, kFullVolume));
  const std::string& text = part == SoundPart::kEffects ? Tx("効果音 %1%") : Tx("音楽 %1%");
  volume_l_->setText(Shown(Fill(text, {std::to_string(sound.Volume(part))})));
  volume_l_->show();
  volume_l_->raise();
  volume_note_.start();
}

void TForm2::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) SetPause(kMinimisedPause, isMinimized());
}

void TForm2::FormCreate() {
  controls_.SetCaption(kVoyageWindow, VoyageWindowCaption(game_));
  // The client area; the frame around it brings the window to about 406 x 454.
  setFixedSize(400, 428);
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

  // The first picture that cannot be read is named in one box (a whole cg folder gone is one
  // fault, not thirty-two); it and any later ones are simply not drawn. The window is still made
  // whole, so a damaged installation can still be flown and saved.
  const std::vector<std::string> missing = LoadVoyagePictures(pics_);
  if (!missing.empty()) {
    const std::string& path = missing.front();
    services_.dialogs.Error(
        Fill(Tx("ﾌｧｲﾙ %1 は開けません."), {Cp932FromUtf8(path).value_or(path)}));
  }
  view_.Draw(0, 0, pics_.black);
  cockpit_.state().typewriter_pos = 1;
  voyage_.InitStars();
}

bool TForm2::FormClose() {
  // The window manager may ask again while the question is open; one answer is enough, and the
  // window stays until it is given.
  if (closing_) return false;
  closing_ = true;
  const bool ended = cockpit_.FormClose(close_title_window_);
  closing_ = false;
  return ended;
}

void TForm2::closeEvent(QCloseEvent* event) {
  if (FormClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TForm2::StartVoyage() {
  show();
  vs_.logon_step = 0;
  RaiseTestTroubles();
  timer1_.start();
}

void TForm2::RaiseTestTroubles() {
#if defined(QM_TEST_HOOKS)
  const char* list = std::getenv("QM_TEST_TROUBLES");
#else
  // The game a player builds reads nothing from its environment.
  const char* list = nullptr;
#endif
  if (list == nullptr) return;
  for (const QString& item : QString::fromLatin1(list).split(QLatin1Char(','))) {
    bool ok = false;
    const int k = item.trimmed().toInt(&ok);
    if (ok) cockpit_.RaiseTrouble(k);
  }
}

void TForm2::Tick() {
  if (frame_posted_) return;
  frame_posted_ = true;
  QMetaObject::invokeMethod(this, &TForm2::PostedFrame, Qt::QueuedConnection);
}

void TForm2::PostedFrame() {
  frame_posted_ = false;
  const double before = vs_.next_frame_time;
  voyage_.Timer1Timer();
  // A frame draws the whole view, pad and gauge again; only the pixels that differ are repainted.
  if (vs_.next_frame_time != before) {
    cg_->Refresh();
    cont_->Refresh();
    energy_l_->Refresh();
  }
  // The next call comes when the next frame is due rather than every 5 ms: the machine sleeps
  // in between. A frame that ran past its 100 ms leaves the next one due already, and that one
  // runs at once, or a slow machine would lose a whole frame after every late one. While the
  // window waits hidden there is nothing due; a slow look is enough.
  const int when_due = services_.controls.IsVisible(kVoyageWindow) ? 0 : kHiddenLookMs;
  timer1_.setInterval(MsUntil(vs_.next_frame_time, services_.clock.Now(), when_due));
}

void TForm2::mouseReleaseEvent(QMouseEvent*) {
  PadReleased();
}

}  // namespace qm
