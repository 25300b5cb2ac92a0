#include "platform/widgets/qt_controls.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "platform/cp932.h"
#include "platform/widgets/qt_dialogs.h"

namespace qm {

QWidget* QtControls::Find(std::string_view name) const {
  auto it = widgets_.find(name);
  return it == widgets_.end() ? nullptr : it->second.data();
}

void QtControls::SetVisible(std::string_view name, bool visible) {
  if (QWidget* w = Find(name)) w->setVisible(visible);
}

bool QtControls::IsVisible(std::string_view name) const {
  QWidget* w = Find(name);
  return w != nullptr && w->isVisible();
}

void QtControls::Move(std::string_view name, int left, int top) {
  if (QWidget* w = Find(name)) w->move(left, top);
}

void QtControls::SetCaption(std::string_view name, const std::string& cp932) {
  QWidget* w = Find(name);
  if (w == nullptr) return;
  const QString text = DialogText(cp932);
  if (auto* label = qobject_cast<QLabel*>(w)) {
    // A commander named "<b>" is a name, not markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(text);
  } else if (w->isWindow()) {
    w->setWindowTitle(text);
  }
}

void QtControls::SetEnabled(std::string_view name, bool enabled) {
  if (QWidget* w = Find(name)) w->setEnabled(enabled);
}

}  // namespace qm
