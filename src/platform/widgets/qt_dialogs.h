#pragma once

#include "platform/services.h"

#include <QString>

class QWidget;

namespace qm {

// Real modal boxes. Their nested event loop keeps the game's timers firing while a question is
// open, all but a timer whose own slot opened the box: Qt holds that one until the slot returns,
// which is why the voyage window's timer only posts its frame.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  bool Confirm(const std::string& text) override;
  void Inform(const std::string& text) override;
  void Error(const std::string& text) override;

 private:
  QWidget* parent_;
};

// CP932 dialog text to what Qt shows: carriage returns become line breaks.
QString DialogText(const std::string& cp932);

// A game controller's answer to the modal box in front: `yes` presses its default button (はい,
// or the OK of a notice), otherwise the button Escape would press (いいえ, or that OK). False
// when no box is open.
bool AnswerFrontBox(bool yes);

}  // namespace qm
