#include "platform/widgets/qt_dialogs.h"
#include "platform/widgets/edition_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/cp932.h"

namespace qm {
namespace {
// Game text is never markup: a "<" in a name or a message must show as itself.
void Prepare(QMessageBox& box) {
  box.setTextFormat(Qt::PlainText);
}
}  // namespace

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
