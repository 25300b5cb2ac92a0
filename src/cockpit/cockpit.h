#pragma once

#include "voyage/voyage.h"

namespace qm {

// The ship-management steps the voyage frame hands over to: instruments, message box, troubles
// and repairs, arrivals. They grow here one capability at a time; until a capability exists its
// step does nothing, so the voyage core flies on its own.
class Cockpit : public VoyageHooks {
 public:
  explicit Cockpit(Voyage& voyage) : voyage_(voyage) {}

  bool ArrivalExamination(int) override { return false; }
  void TypewriterStep() override {}
  void RaiseTrouble(int) override {}
  void HullHit() override {}
  void DrawInstruments() override {}

 private:
  [[maybe_unused]] Voyage& voyage_;
};

}  // namespace qm
