#include "platform/widgets/qt_dialogs.h"
#include "platform/widgets/edition_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <initializer_list>

#include "platform/cp932.h"

namespace qm {
namespace {
// Game text is never markup: a "<" in a name or a message must show as itself.
void Prepare(QMessageBox& box) {
  box.setTextFormat(Qt::PlainText);
}
}  // namespace

namespace {

QAbstractButton* ButtonInRole(const QMessageBox& box,
                              std::initializer_list<QMessageBox::ButtonRole> roles) {
  const QList<QAbstractButton*> buttons = box.buttons();
  for (QMessageBox::ButtonRole role : roles) {
    for (QAbstractButton* b : buttons)
      if (box.buttonRole(b) == role) return b;
  }
  return buttons.size() == 1 ? buttons.front() : nullptr;
}

}  // namespace

bool AnswerFrontBox(bool yes) {
  QWidget* front = QApplication::activeModalWidget();
  if (front == nullptr) return false;
  if (auto* box = qobject_cast<QMessageBox*>(front)) {
    QAbstractButton* button = nullptr;
    if (yes) {
      button = box->defaultButton();
      if (button == nullptr)
        button = ButtonInRole(*box, {QMessageBox::YesRole, QMessageBox::AcceptRole});
    } else {
      button = box->escapeButton();
      if (button == nullptr)
        button = ButtonInRole(*box, {QMessageBox::NoRole, QMessageBox::RejectRole});
    }
    if (button != nullptr) button->click();
    return true;
  }
  if (auto* dialog = qobject_cast<QDialog*>(front)) {
    if (yes) {
      dialog->accept();
    } else {
      dialog->reject();
    }
  }
  return true;
}

QString DialogText(const std::string& cp932) {
  std::string text = Utf8FromCp932(cp932);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return QString::fromStdString(out);
}

bool QtDialogs::Confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, TxQ("確認"), DialogText(text), QMessageBox::NoButton,
                  parent_);
  QPushButton* yes = box.addButton(TxQ("はい(&Y)"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(TxQ("いいえ(&N)"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  Prepare(box);
  box.exec();
  return box.clickedButton() == yes;
}

void QtDialogs::Inform(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QString::fromLatin1(kApplicationTitle),
                  DialogText(text), QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  Prepare(box);
  box.exec();
}

void QtDialogs::Error(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), DialogText(text),
                  QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  Prepare(box);
  box.exec();
}

}  // namespace qm
