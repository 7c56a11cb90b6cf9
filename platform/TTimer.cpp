#include "TTimer.h"

#include <utility>

#include "TApplication.h"

TTimer::TTimer(std::string name) : TComponent(std::move(name)) {}

TTimer::~TTimer() {
  if (running_) Application->KillTimer(*this);
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Tick() {
  if (onTimer_) onTimer_(this);
}

// The window-system timer runs exactly while the timer is enabled, has an
// interval and has a handler; any change restarts it.
void TTimer::UpdateTimer() {
  if (running_) Application->KillTimer(*this);
  running_ = enabled_ && interval_ != 0 && onTimer_;
  if (running_) Application->SetTimer(*this, interval_);
}
