#pragma once

#include <cstdint>
#include <string>

#include "Events.h"
#include "TComponent.h"

// Delivers OnTimer every Interval milliseconds through the application's
// message loop, while it is enabled and has a handler.
class TTimer : public TComponent {
 public:
  explicit TTimer(std::string name);
  ~TTimer() override;

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);

  // Called by the message loop when the tick is due.
  void Tick();

 private:
  void UpdateTimer();

  unsigned interval_ = 1000;
  bool enabled_ = true;
  TNotifyEvent onTimer_;
  bool running_ = false;
};
