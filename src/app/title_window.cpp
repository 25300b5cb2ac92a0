#include "app/title_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

#include "app/name_entry.h"
#include "app/sound_cues.h"
#include "cockpit/picture_widget.h"
#include "cockpit/voyage_window.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/widgets/edition_text.h"

namespace qm {
namespace {

constexpr char kCaption[] = TX_NOOP("QUELMARIN ― Tellivar  ver0.1");

// The window was laid out with a classic dialog frame around its client area: 3 pixels each side
// and a caption bar, so 409 x 329 overall leaves 403 x 301 inside, just the title picture.
constexpr int kFrameWidth = 6;
constexpr int kFrameHeight = 28;
// The client area as designed, with the picture sources and the name panel beside the title.
constexpr int kDesignWidth = 779;
constexpr int kDesignHeight = 302;

QFont PixelFont(int pixels, bool bold) {
  QFont font(QString::fromStdString(EditionFace(kWindowFace)));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* AquaLabel(QWidget* parent, int left, int top, const char* text, int pixels) {
  auto* label = new QLabel(TxQ(text), parent);
  label->setFont(PixelFont(pixels, true));
  label->setStyleSheet(QStringLiteral("color: #00FFFF; background: transparent;"));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QLineEdit* NameEntry(QWidget* parent, int left, int top) {
  auto* entry = new QLineEdit(parent);
  entry->setGeometry(left, top, 125, 24);
  entry->setFont(PixelFont(16, true));
  entry->setStyleSheet(QStringLiteral("color: black; background: white;"));
  entry->setValidator(new NameValidator(entry));
  // Japanese names come through the desktop's input method.
  entry->setAttribute(Qt::WA_InputMethodEnabled);
  return entry;
}

}  // namespace

TForm1::TForm1(GameState& game, Services& services, QtControls& controls, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      controls_(controls),
      clock_(services.clock),
      scene_(game, pics_, services, *this) {
  LoadTitlePictures(pics_);
  BuildLayout();
  timer1_.setInterval(10);
  // Woken when the next step is due (see Timer1Tick); a precise timer never wakes early.
  timer1_.setTimerType(Qt::PreciseTimer);
  connect(&timer1_, &QTimer::timeout, this, &TForm1::Timer1Tick);
}

TForm1::~TForm1() {
  FormDestroy();
}

void TForm1::BuildLayout() {
  setWindowTitle(TxQ(kCaption));
  setFont(PixelFont(12, true));
  setFixedSize(kDesignWidth, kDesignHeight);
  controls_.Register(kTitleWindow, this);

  cg_ = new SurfaceWidget(&scene_.cg(), this);
  cg_->setGeometry(0, 0, kTitleWidth, kTitleHeight);

  count_b_ = new QPushButton(TxQ("COUNTINUE"), this);
  count_b_->setGeometry(264, 130, 129, 21);
  connect(count_b_, &QPushButton::clicked, this, [this] { scene_.count_bClick(); });
  controls_.Register("count_b", count_b_);

  bit_btn2_ = new QPushButton(TxQ("NEW GAME"), this);
  bit_btn2_->setGeometry(264, 164, 129, 21);
  connect(bit_btn2_, &QPushButton::clicked, this, &TForm1::NewGameClicked);
  controls_.Register("BitBtn2", bit_btn2_);

  BuildPictureSources();
  BuildNamePanel();
}

void TForm1::BuildPictureSources() {
  // Only their pictures are used; the widgets show only while the window keeps its design size.
  struct Source {
    const Surface* picture;
    int left, top;
  };
  const Source sources[] = {{&pics_.title_a, 409, 0},   {&pics_.alone[0], 560, 24},
                            {&pics_.alone[1], 560, 72}, {&pics_.alone[2], 560, 120},
                            {&pics_.logo, 409, 184},    {&pics_.title_cg, 409, 208}};
  for (const Source& s : sources) {
    if (s.picture->IsNull()) continue;
    auto* widget = new SurfaceWidget(s.picture, this);
    widget->setGeometry(s.left, s.top, s.picture->Width(), s.picture->Height());
    widget->lower();
  }
}

void TForm1::BuildNamePanel() {
  name_box_ = new QWidget(this);
  name_box_->setGeometry(408, 4, 385, 97);
  name_box_->setAutoFillBackground(true);
  QPalette pal = name_box_->palette();
  pal.setColor(QPalette::Window, Qt::black);
  name_box_->setPalette(pal);
  controls_.Register("name_box", name_box_);

  auto* shape1 = new ShapeWidget(QColor(0x00, 0xFF, 0xFF), name_box_);
  shape1->setGeometry(0, 0, 385, 97);

  AquaLabel(name_box_, 8, 8, TX_NOOP("あなたの名前と、宇宙船の名前を決めてください。"), 12);
  AquaLabel(name_box_, 8, 36, TX_NOOP("名前"), 16);
  name_l_ = NameEntry(name_box_, 44, 32);
  AquaLabel(name_box_, 176, 36, TX_NOOP("宇宙船"), 16);
  name_l2_ = NameEntry(name_box_, 228, 32);
  AquaLabel(name_box_, 356, 36, TX_NOOP("号"), 16);
  controls_.Register("name_l", name_l_);
  controls_.Register("name_l2", name_l2_);

  bit_btn3_ = new QPushButton(TxQ("宇宙へ"), name_box_);
  bit_btn3_->setGeometry(292, 68, 85, 21);
  connect(bit_btn3_, &QPushButton::clicked, this, [this] {
    // The entries only ever hold text CP932 can write.
    scene_.BitBtn3Click(NameEntryText(name_l_->text()).value_or(""),
                        NameEntryText(name_l2_->text()).value_or(""));
  });
  controls_.Register("BitBtn3", bit_btn3_);

  // Beside the title the panel waits out of sight, so it takes no keyboard focus until NEW GAME
  // brings it over the buttons.
  for (QWidget* w : {static_cast<QWidget*>(name_l_), static_cast<QWidget*>(name_l2_),
                     static_cast<QWidget*>(bit_btn3_)})
    w->setFocusPolicy(Qt::ClickFocus);
  name_box_->raise();
}

void TForm1::FormCreate() {
  scene_.FormCreate();
  timer1_.start();
}

void TForm1::SetVoyageWindow(TForm2* voyage_window) {
  voyage_window_ = voyage_window;
  scene_.SetVoyageState(voyage_window == nullptr ? nullptr : &voyage_window->state());
}

void TForm1::Timer1Tick() {
  if (scene_.Timer1Timer()) cg_->Refresh();
  if (!scene_.timer1_enabled()) {
    timer1_.stop();
    return;
  }
  // Asleep until the next step is due instead of looking every 10 ms; before the window first
  // shows, the old 10 ms look.
  timer1_.setInterval(MsUntil(scene_.animation().next_title_time, clock_.Now(), 10));
}

void TForm1::NewGameClicked() {
  scene_.BitBtn2Click();
  if (!name_box_->isVisible() || name_box_->pos() != QPoint(8, 124)) return;
  for (QWidget* w : {static_cast<QWidget*>(name_l_), static_cast<QWidget*>(name_l2_),
                     static_cast<QWidget*>(bit_btn3_)})
    w->setFocusPolicy(Qt::StrongFocus);
  // The panel covers both buttons; the keyboard must not reach under it either.
  count_b_->setFocusPolicy(Qt::NoFocus);
  bit_btn2_->setFocusPolicy(Qt::NoFocus);
  name_box_->raise();
  name_l_->setFocus();
}

void TForm1::paintEvent(QPaintEvent*) {
  // The title picture is a column and a row short of the visible area; space shows there, not a
  // pale strip of the desktop's window colour.
  QPainter(this).fillRect(rect(), Qt::black);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    const QSize outer = size() + QSize(kFrameWidth, kFrameHeight);
    move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
  }
}

void TForm1::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // The timer sleeps until the next step is due; hidden, the title is left for good, and the
  // timer is told at once rather than at that step.
  if (timer1_.isActive()) Timer1Tick();
}

void TForm1::closeEvent(QCloseEvent* event) {
  event->accept();
  FormClose();
}

void TForm1::FormClose() {
  // The voyage window's pictures go with it when the program ends; closing the title window is
  // what ends it, from the close box here or from the voyage window.
  timer1_.stop();
  QApplication::quit();
}

void TForm1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  scene_.FormDestroy();
}

void TForm1::LoadStartWaves() {
  if (cues_) cues_->LoadStartWaves();
}

void TForm1::ReleaseStartWaves() {
  if (cues_) cues_->ReleaseWaves();
}

void TForm1::SetOverallSize(int width, int height) {
  setFixedSize(width - kFrameWidth, height - kFrameHeight);
}

void TForm1::ShowVoyageWindow() {
  if (voyage_window_ == nullptr) return;
  if (on_front_window) on_front_window(voyage_window_);
  voyage_window_->StartVoyage();
}

}  // namespace qm
