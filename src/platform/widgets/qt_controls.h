#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <string>

#include "platform/services.h"

namespace qm {

// Controls by component name over real widgets. Names nobody registered are ignored, so logic
// written for the full window layout runs on a window that has only part of it; so are widgets
// that have been destroyed since they were registered.
class QtControls final : public Controls {
 public:
  void Register(std::string name, QWidget* widget) { widgets_[std::move(name)] = widget; }
  QWidget* Find(std::string_view name) const;

  void SetVisible(std::string_view name, bool visible) override;
  bool IsVisible(std::string_view name) const override;
  void Move(std::string_view name, int left, int top) override;
  void SetCaption(std::string_view name, const std::string& cp932) override;
  void SetEnabled(std::string_view name, bool enabled) override;

 private:
  std::map<std::string, QPointer<QWidget>, std::less<>> widgets_;
};

}  // namespace qm
