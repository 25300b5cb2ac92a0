#pragma once

#include "platform/services.h"
#include "platform/surface.h"
#include "state/game_state.h"
#include "voyage/voyage_pictures.h"
#include "voyage/voyage_state.h"

namespace qm {

// The window component name the frame checks for visibility.
inline constexpr char kVoyageWindow[] = "TForm2";

// Steps of the frame that belong to the cockpit, a layer above the voyage core.
class VoyageHooks {
 public:
  virtual ~VoyageHooks() = default;
  // Examines the point the ship has contacted; true when the frame must end at once.
  virtual bool ArrivalExamination(int point) = 0;
  virtual void TypewriterStep() = 0;
  virtual void RaiseTrouble(int trouble) = 0;
  virtual void HullHit() = 0;
  virtual void DrawInstruments() = 0;
};

// Cockpit steps that do nothing, for the voyage core on its own.
class NoVoyageHooks final : public VoyageHooks {
 public:
  bool ArrivalExamination(int) override { return false; }
  void TypewriterStep() override {}
  void RaiseTrouble(int) override {}
  void HullHit() override {}
  void DrawInstruments() override {}
};

enum class MouseButton { kLeft, kRight, kMiddle };

// The voyage core: the timer-driven frame, the flight model, the star field and view, the log-on
// screen and the steering pad, over the game state and the window's working variables.
class Voyage {
 public:
  Voyage(GameState& game, VoyageState& state, VoyagePictures& pictures, Surface& view, Surface& pad,
         Services& services, VoyageHooks& hooks)
      : game_(game),
        vs_(state),
        pics_(pictures),
        view_(view),
        pad_(pad),
        services_(services),
        hooks_(hooks) {}

  // The 5 ms poll: runs one frame when 100 ms have passed since the last.
  void Timer1Timer();
  // The eighteen steps of one frame, in order.
  void RunFrame();
  // The voyage stands still: Timer1Timer runs no frame until Resume, and nothing else changes.
  void Pause();
  // Frames go on from now as if the pause had not been: the next frame and the booster's next
  // second come as much later as the pause lasted, so nothing is caught up.
  void Resume();
  bool Paused() const { return vs_.paused; }

  // True when the ship is in a zone of the kind, by the current point or by the grid column.
  bool InZone(PointKind kind) const;

  // Star field and view.
  void InitStars();
  void ClearView();
  void AsteroidView();
  void StarStep();
  void ChartPointScan();
  void PointPicture(int px, int py, int depth_step, int size, int kind);
  void Zone13Effect();
  void Zone14Effect();
  void ChartOverlay();

  // Flight model.
  void Steering();
  void Damping();
  void SpeedLimits();
  void EngineTrouble();
  void Move();

  // Ship computer log-on screen, one frame.
  void LogonStep();

  // Steering pad and booster.
  void contMouseDown(MouseButton button, int x, int y);
  void contMouseMove(int x, int y);
  void contMouseUp();
  void speed_lMouseDown();
  void DrawCockpitOverlay();

  GameState& game() { return game_; }
  VoyageState& state() { return vs_; }
  Surface& view() { return view_; }
  Services& services() { return services_; }

 private:
  std::int32_t Roll(std::int32_t n) const;
  void StretchNoise(NoisePicture k, int left, int top, int right, int bottom);

  GameState& game_;
  VoyageState& vs_;
  VoyagePictures& pics_;
  Surface& view_;
  Surface& pad_;
  Services& services_;
  VoyageHooks& hooks_;
};

}  // namespace qm
