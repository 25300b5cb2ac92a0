#include "platform/widgets/window_scaler.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace qm {
namespace {

// The window's controls, laid out at the window's own size. It takes the window's look, and what
// the controls leave unhandled (a press or release on the bare window) goes on to the window, as
// it would have without the enlargement.
class DesignWidget : public QWidget {
 public:
  explicit DesignWidget(QWidget* owner) : owner_(owner) {
    setFont(owner->font());
    setPalette(owner->palette());
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    // A window that fills itself shows its palette's colour; the others paint black themselves.
    QPainter(this).fillRect(rect(), owner_->autoFillBackground()
                                        ? owner_->palette().color(QPalette::Window)
                                        : QColor(Qt::black));
  }
  void mousePressEvent(QMouseEvent* event) override { PassOn(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { PassOn(event); }
  void mouseMoveEvent(QMouseEvent* event) override { PassOn(event); }

 private:
  void PassOn(QMouseEvent* event) {
    QMouseEvent copy(event->type(), event->position(), event->globalPosition(), event->button(),
                     event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(owner_, &copy);
  }
  QWidget* owner_;
};

// Moves the direct child widgets of one parent to another in their stacking order, keeping their
// places and whether they show. Windows parented to the window (its dialogs) stay where they are.
void MoveChildren(QWidget* from, QWidget* to) {
  const QList<QWidget*> kids = from->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* w : kids) {
    if (w->isWindow()) continue;
    const bool hidden = w->isHidden();
    const QPoint place = w->pos();
    w->setParent(to);
    w->move(place);
    w->setVisible(!hidden);
  }
}

}  // namespace

WindowScaler::WindowScaler(QWidget* window) : window_(window) {
  qApp->installEventFilter(this);
}

WindowScaler::~WindowScaler() {
  if (qApp) qApp->removeEventFilter(this);
}

int WindowScaler::MaxScale() const {
  if (!window_) return 1;
  const QSize design = Embedded() ? design_size_ : window_->size();
  const QScreen* screen = window_->screen();
  if (screen == nullptr || design.isEmpty()) return 1;
  const QRect area = screen->availableGeometry();
  // Before the window first shows there is no frame to measure; a dialog frame is about this.
  QSize frame = window_->frameGeometry().size() - window_->geometry().size();
  if (frame.isEmpty()) frame = QSize(6, 28);
  const int fit = std::min((area.width() - frame.width()) / design.width(),
                           (area.height() - frame.height()) / design.height());
  return std::max(1, fit);
}

void WindowScaler::SetScale(int scale) {
  scale_ = std::clamp(scale, 1, MaxScale());
  Apply();
}

void WindowScaler::SetFullScreen(bool full_screen) {
  full_screen_ = full_screen;
  Apply();
}

void WindowScaler::Apply() {
  if (!window_) return;
  const bool enlarge = full_screen_ || scale_ > 1;
  if (enlarge && !Embedded()) Embed();
  const bool was_full = (window_->windowState() & Qt::WindowFullScreen) != 0;
  if (full_screen_) {
    if (!was_full) normal_pos_ = window_->pos();
    window_->setMinimumSize(design_size_);
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window_->setWindowState(window_->windowState() | Qt::WindowFullScreen);
    // Without a window manager nobody else makes the window cover the screen.
    if (window_->isVisible() && window_->screen())
      window_->setGeometry(window_->screen()->geometry());
  } else {
    const QPoint centre = window_->geometry().center();
    if (was_full) window_->setWindowState(window_->windowState() & ~Qt::WindowFullScreen);
    if (Embedded()) window_->setFixedSize(design_size_ * scale_);
    if (!enlarge) Release();
    if (was_full) {
      window_->move(normal_pos_);
    } else if (window_->screen()) {
      // A new factor keeps the window where it stood, as far as the screen allows.
      const QRect area = window_->screen()->availableGeometry();
      QPoint place = centre - QPoint(window_->width() / 2, window_->height() / 2);
      place.setX(std::clamp(place.x(), area.left(),
                            std::max(area.left(), area.right() - window_->width())));
      place.setY(std::clamp(place.y(), area.top(),
                            std::max(area.top(), area.bottom() - window_->height())));
      window_->move(place);
    }
  }
  FitView();
}

void WindowScaler::Embed() {
  design_size_ = window_->size();
  QWidget* focus = window_->focusWidget();
  design_ = new DesignWidget(window_);
  design_->setFixedSize(design_size_);
  MoveChildren(window_, design_);

  scene_ = new QGraphicsScene(this);
  scene_->setBackgroundBrush(Qt::black);
  proxy_ = scene_->addWidget(design_);
  proxy_->setPos(0, 0);
  scene_->setSceneRect(0, 0, design_size_.width(), design_size_.height());

  view_ = new QGraphicsView(scene_, window_);
  view_->setFrameShape(QFrame::NoFrame);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setBackgroundBrush(Qt::black);
  view_->setAlignment(Qt::AlignCenter);
  // Pictures are pixel art: enlarged as blocks, never smoothed.
  view_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  view_->setRenderHint(QPainter::Antialiasing, false);
  view_->setGeometry(window_->rect());
  view_->show();
  view_->setFocus();
  if (focus != nullptr && design_->isAncestorOf(focus)) focus->setFocus();
}

void WindowScaler::Release() {
  if (!Embedded()) return;
  QWidget* focus = QApplication::focusWidget();
  proxy_->setWidget(nullptr);
  MoveChildren(design_, window_);
  // The key that asked for this is still being delivered to the view: it and the rest go once
  // that delivery is over.
  view_->hide();
  view_->deleteLater();
  scene_->deleteLater();
  design_->deleteLater();
  view_ = nullptr;
  scene_ = nullptr;
  proxy_ = nullptr;
  design_ = nullptr;
  window_->setFixedSize(design_size_);
  shown_factor_ = 1;
  if (focus != nullptr && window_->isAncestorOf(focus)) focus->setFocus();
}

void WindowScaler::FitView() {
  if (!Embedded()) {
    shown_factor_ = 1;
    return;
  }
  view_->setGeometry(window_->rect());
  const int factor = std::max(1, std::min(window_->width() / design_size_.width(),
                                          window_->height() / design_size_.height()));
  shown_factor_ = factor;
  view_->setTransform(QTransform::fromScale(factor, factor));
  view_->centerOn(design_size_.width() / 2.0, design_size_.height() / 2.0);
}

bool WindowScaler::OwnsReceiver(QObject* receiver) const {
  if (!window_ || !receiver->isWidgetType()) return false;
  const QWidget* top = static_cast<QWidget*>(receiver)->window();
  return top == window_ || (design_ != nullptr && top == design_);
}

bool WindowScaler::HandleKey(QKeyEvent* key) {
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  const int k = key->key();
  const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
  if (k == Qt::Key_F11 || (enter && mods == Qt::AltModifier)) {
    if (!key->isAutoRepeat()) {
      SetFullScreen(!full_screen_);
      if (on_changed) on_changed();
    }
    return true;
  }
  // Plus lies on a shifted key on many keyboards.
  if ((mods & ~Qt::ShiftModifier) != Qt::ControlModifier) return false;
  const int step = (k == Qt::Key_Plus || k == Qt::Key_Equal) ? 1 : k == Qt::Key_Minus ? -1 : 0;
  if (step == 0) return false;
  // Full screen already shows the largest factor; the windowed size waits until it is left.
  if (!full_screen_) {
    SetScale(scale_ + step);
    if (on_changed) on_changed();
  }
  return true;
}

bool WindowScaler::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (OwnsReceiver(watched) && HandleKey(static_cast<QKeyEvent*>(event))) return true;
      break;
    case QEvent::Resize:
      if (watched == window_) FitView();
      break;
    case QEvent::Show:
      // The window may centre itself as it shows; full screen is put back right after.
      if (watched == window_ && full_screen_) QTimer::singleShot(0, this, [this] { Apply(); });
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qm
