#pragma once

#include <functional>
#include <string>

#include "cockpit/cockpit_state.h"
#include "platform/surface.h"
#include "voyage/voyage.h"

namespace qm {

// The ship-management steps the voyage frame hands over to: the message box, the instruments
// with the ship's upkeep, and the troubles with their repairs. Widgets reach it only through
// `Controls` and the handlers below, so it runs the same under tests as in the window.
class Cockpit : public VoyageHooks {
 public:
  Cockpit(Voyage& voyage, VoyagePictures& pictures);

  // Steps of the voyage frame.
  // The arrival at a chart point the ship contacted; true after a survey question, when the
  // frame must end at once.
  bool ArrivalExamination(int point) override;
  void TypewriterStep() override;
  void RaiseTrouble(int trouble) override;
  void HullHit() override;
  void DrawInstruments() override;

  // Message box.
  void AddMessage(std::string text);
  void ShowMessageBox();
  // The click on the box (`Shape1`, `moji_l`, `Image1`) and on the status-line frame `Shape2`.
  void Shape1MouseDown();

  void SetVoyageOver();
  // The view shakes for the next ten frames.
  void StartNoise();
  // Contact made: the arrival follows nine frames later.
  void StartCheck();

  // Panel buttons of the voyage window.
  void contact_b2MouseDown();
  void u_map_b2MouseDown();
  void Image4MouseDown();
  void Image5MouseDown();
  // The player closes the voyage window: offers to record the voyage, then closes the title
  // window, which ends the program whatever the answer. Only a record that could not be written
  // stops it short: the player has read why, and the voyage goes on so that nothing since the
  // last save is lost. Returns whether the title window was closed.
  bool FormClose(const std::function<void()>& close_title_window);
  // Test controls; the window keeps them hidden and disabled.
  void Button1Click(int x_v, int y_v, int z_v);
  void Button2Click();
  void Button3Click();
  void Button4Click();

  // Step 6 of the instrument pass: the engine roll and what each trouble does to the ship.
  void TroubleEffects();

  // Repair buttons.
  void tra_b1MouseDown();
  void tra_b2MouseDown();
  void tra_b3MouseDown();
  void tra_b4MouseDown();
  void tra_b5MouseDown();
  void tra_b6MouseDown();
  void tra_b7MouseDown();
  void tra_b8MouseDown();
  void tra_b9MouseDown();
  void tra_b10MouseDown();
  // Button `tra_b<number>`, 1..10, for windows that wire the buttons in a loop.
  void RepairMouseDown(int number);

  CockpitState& state() { return cs_; }
  const CockpitState& state() const { return cs_; }
  // The energy gauge `energy_l` as the window shows it.
  const Surface& energy_gauge() const { return energy_gauge_; }

 private:
  std::int32_t Roll(std::int32_t n);
  void CloseMessageBox();

  // Parts of the arrival examination. FirstArrival returns true when it ran a survey.
  bool FirstArrival(int point);
  void BuoyCall(int point);
  void PlanetSurvey(int point);
  void SurveyReport(int kind, std::int32_t outcome);

  // Instrument steps, in the order of the pass.
  void SpeedReadout();
  void SpeedBars();
  void PositionReadout();
  void HullIndicator();
  void BoosterLine();
  void TroubleList();
  void EnergyDrain();
  void EmptyTank();
  void UpdateStatusLabels();
  void PreparePanel(int points, bool bold, bool italic, Color text);
  void PaintGauge();

  GameState& game_;
  VoyageState& vs_;
  Surface& view_;
  Services& services_;
  Surface& panel_bitmap_;
  Surface& trouble_bitmap_;
  CockpitState cs_;
  Surface energy_gauge_;
  // trable.bmp as loaded, before any label was written into it.
  Surface trouble_plate_;
};

// The component name of repair button `number` (1..10): "tra_b1" .. "tra_b10".
std::string RepairButtonName(int number);

}  // namespace qm
