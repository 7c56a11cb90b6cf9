#pragma once

#include <cstdint>
#include <string>

#include "platform/Events.h"
#include "platform/TForm.h"

class TApplication;
class TImage;
class TLabel;
class TTimer;

// The one window of the piece: the picture, the title line, the time flicker,
// the clickable start label and the talk label, built from the layout below.
class TForm1 : public TForm {
 public:
  explicit TForm1(TApplication& application);

  TImage* Image1 = nullptr;
  TLabel* LabelTitle = nullptr;
  TLabel* LabelFlash = nullptr;
  TTimer* Timer1 = nullptr;
  TLabel* LabelFirst = nullptr;
  TLabel* LabelTalk = nullptr;

  void Timer1Timer(TObject* Sender);
  void FormCreate(TObject* Sender);
  void LabelFirstMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void LabelFirstMouseLeave(TObject* Sender);
  void LabelFirstClick(TObject* Sender);

  std::int32_t Clicks() const { return ClickCount; }

 private:
  std::int32_t ClickCount = 0;
};

extern TForm1* Form1;

// Starts a sound playing in the background and returns at once.
void PlaySoundFile(const std::string& name);
