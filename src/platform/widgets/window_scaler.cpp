#include "platform/widgets/window_scaler.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "platform/widgets/scaled_view.h"

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
    QPainter(this).fillRect(rect(), owner_ && owner_->autoFillBackground()
                                        ? owner_->palette().color(QPalette::Window)
                                        : QColor(Qt::black));
  }
  void mousePressEvent(QMouseEvent* event) override { PassOn(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { PassOn(event); }
  void mouseMoveEvent(QMouseEvent* event) override { PassOn(event); }

 private:
  void PassOn(QMouseEvent* event) {
    if (!owner_) return;
    QMouseEvent copy(event->type(), event->position(), event->globalPosition(), event->button(),
                     event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(owner_, &copy);
  }
  // A design widget given back by its proxy waits for deletion a moment, its window perhaps gone.
  QPointer<QWidget> owner_;
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

ShownPlace ShownIn(QSize design, QSize area, bool fit) {
  if (design.isEmpty()) return {QRect(QPoint(), area), 1};
  double factor = std::min(static_cast<double>(area.width()) / design.width(),
                           static_cast<double>(area.height()) / design.height());
  if (!fit) factor = std::floor(factor);
  factor = std::max(1.0, factor);
  const QSize shown(
      std::min(area.width(), static_cast<int>(std::lround(design.width() * factor))),
      std::min(area.height(), static_cast<int>(std::lround(design.height() * factor))));
  return {QRect(QPoint((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2),
                shown),
          factor};
}

WindowScaler::WindowScaler(QWidget* window) : window_(window), shown_rect_(window->rect()) {
  qApp->installEventFilter(this);
}

WindowScaler::~WindowScaler() {
  if (qApp) qApp->removeEventFilter(this);
}

bool WindowScaler::Fits() const {
  return full_screen_ ? fit_choice_ != FitChoice::kPixelPerfect : fit_choice_ == FitChoice::kFit;
}

double WindowScaler::MaxScale() const {
  if (!window_) return 1;
  const QSize design = Embedded() ? design_size_ : window_->size();
  const QScreen* screen = window_->screen();
  if (screen == nullptr || design.isEmpty()) return 1;
  const QRect area = screen->availableGeometry();
  // Before the window first shows there is no frame to measure; a dialog frame is about this.
  QSize frame = window_->frameGeometry().size() - window_->geometry().size();
  if (frame.isEmpty()) frame = QSize(6, 28);
  const double fit =
      std::min(static_cast<double>(area.width() - frame.width()) / design.width(),
               static_cast<double>(area.height() - frame.height()) / design.height());
  const double step = WindowStep();
  return std::max(1.0, std::floor(fit / step) * step);
}

void WindowScaler::SetScale(double scale) {
  const double step = WindowStep();
  scale_ = std::clamp(std::floor(scale / step) * step, 1.0, MaxScale());
  Apply();
}

void WindowScaler::SetFitChoice(FitChoice choice) {
  fit_choice_ = choice;
  // Pixel-perfect keeps a window's own size to whole factors too.
  scale_ = std::max(1.0, std::floor(scale_ / WindowStep()) * WindowStep());
  Apply();
}

QSize WindowScaler::WindowedSize() const {
  return QSize(static_cast<int>(std::lround(design_size_.width() * scale_)),
               static_cast<int>(std::lround(design_size_.height() * scale_)));
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
    if (Embedded()) window_->setFixedSize(WindowedSize());
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
  proxy_ = new DesignProxy;
  proxy_->setWidget(design_);
  scene_->addItem(proxy_);

  view_ = new ScaledView(scene_, proxy_, design_, window_);
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
  // Given back by the proxy it would be a window of its own until it goes.
  design_->hide();
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
  shown_rect_ = window_->rect();
  if (focus != nullptr && window_->isAncestorOf(focus)) focus->setFocus();
}

void WindowScaler::FitView() {
  if (!Embedded()) {
    shown_factor_ = 1;
    shown_rect_ = window_->rect();
    return;
  }
  view_->setGeometry(window_->rect());
  const ShownPlace place = ShownIn(design_size_, window_->size(), Fits());
  shown_factor_ = place.factor;
  shown_rect_ = place.rect;
  view_->Show(shown_rect_);
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
  // F10 switches what is shown now to the other way, so the key always shows what it does.
  if (k == Qt::Key_F10 && mods == Qt::NoModifier) {
    if (!key->isAutoRepeat()) {
      SetFitChoice(Fits() ? FitChoice::kPixelPerfect : FitChoice::kFit);
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
    SetScale(scale_ + step * WindowStep());
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
