#pragma once

#include <SDL2/SDL.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "TComponent.h"
#include "TCustomForm.h"

class TMessageForm;
class TTimer;

// The one application object: its title, its forms, the message loop with its
// timers and idle work, the terminate request and the error message box.
class TApplication : public TComponent {
 public:
  // The platform's start-up: fixes the title from the executable's file name,
  // brings up the window system and registers the picture formats. Raises
  // EOutOfResources when there is no window system to talk to.
  explicit TApplication(const std::string& exeFileName);
  ~TApplication() override;

  const std::string& Title() const { return title_; }
  TCustomForm* MainForm() const { return mainForm_; }

  // Start-up hook of the application; this program installs none.
  void Initialize() {}

  // Builds a form; `reference` refers to it from the moment its memory exists,
  // so the form's own handlers can already use it while it is being built.
  template <typename Form>
  void CreateForm(Form*& reference);

  // Shows the main form and runs the message loop until the quit message.
  void Run();
  // Posts the quit message and returns at once.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Takes one message and dispatches it; when none waits, runs the idle work
  // and sleeps until the next message or the next timer due.
  void HandleMessage();
  // Dispatches everything pending without waiting (for tests and start-up).
  void ProcessMessages();

  // Shows the error message box for the error being handled.
  void HandleException(std::exception_ptr error);
  // A modal box with a stop icon and one OK button; timers and repaints go on
  // while it is open, but no other window takes input.
  void MessageBox(const std::string& text, const std::string& caption);
  // The message box open now (the innermost one), or null.
  TMessageForm* ModalBox() const { return modalBox_; }

  void SetTimer(TTimer& timer, unsigned interval);
  void KillTimer(TTimer& timer);

 private:
  class ModalScope {
   public:
    ModalScope(TApplication& application, TMessageForm& box);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    TApplication& application_;
    TMessageForm& box_;
    TMessageForm* outerBox_;
    std::vector<TCustomForm*> disabled_;
  };

  struct TimerEntry {
    TTimer* timer;
    Uint64 interval;
    Uint64 due;
  };

  bool ProcessMessage();
  static bool TakeMessage(SDL_Event& event);
  void Dispatch(const SDL_Event& event);
  bool PaintOne();
  bool TickOne();
  void Idle();
  void WaitMessage();
  std::vector<TimerEntry>::iterator NextTimer();
  TCustomForm* WindowForEvent(const SDL_Event& event) const;
  template <typename Action>
  void Guarded(Action action);
  void AdoptForm(std::unique_ptr<TCustomForm> form);

  std::string title_;
  Uint32 quitEvent_ = 0;
  bool terminated_ = false;
  TCustomForm* mainForm_ = nullptr;
  TMessageForm* modalBox_ = nullptr;
  std::vector<std::unique_ptr<TCustomForm>> forms_;
  std::vector<TCustomForm*> windows_;
  std::vector<TimerEntry> timers_;
};

extern TApplication* Application;

template <typename Form>
void TApplication::CreateForm(Form*& reference) {
  void* memory = ::operator new(sizeof(Form));
  reference = static_cast<Form*>(memory);
  try {
    new (memory) Form(*this);
  } catch (...) {
    reference = nullptr;
    ::operator delete(memory);
    throw;
  }
  std::unique_ptr<TCustomForm> form(reference);
  form->AfterConstruction();
  AdoptForm(std::move(form));
}
