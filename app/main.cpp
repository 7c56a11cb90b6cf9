// The piece's entry point: the platform's start-up, the one form, the message
// loop, and the report of an error that keeps the window from being built.

#include <unistd.h>

#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <string>

#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "platform/MessageText.h"
#include "platform/TApplication.h"
#include "ui/Main.h"

namespace {

// The file name as the program's texts hold it, in code page 932.
std::string ExecutableFileName(const char* argv0) {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string name = length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string(argv0 ? argv0 : "");
  return Utf8ToCp932(name).value_or(name);
}

// Nothing caught the error: say what and where on standard error always, and
// in a box where the window system can show one.
int ReportLastResort(const std::string& exeFileName, const std::string& className, const void* address,
                     const std::string& message) {
  std::string module = exeFileName.substr(exeFileName.find_last_of('/') + 1);
  std::string text = LastResortReport(className, module, address, message);
  std::cerr << Cp932ToUtf8(text) << std::endl;
  if (Application) {
    try {
      Application->MessageBox(text, "アプリケーション エラー");
    } catch (...) {
      // The window system refused the box as well: standard error has it.
    }
  }
  return 1;
}

}  // namespace

int main(int, char** argv) {
  const std::string exeFileName = ExecutableFileName(argv[0]);
  std::unique_ptr<TApplication> application;
  try {
    application = std::make_unique<TApplication>(exeFileName);
    Application->Initialize();
    Application->CreateForm(Form1);
    Application->Run();
  } catch (const Exception& error) {
    return ReportLastResort(exeFileName, error.ClassName(), error.Address(), error.Message());
  } catch (const std::bad_alloc&) {
    return ReportLastResort(exeFileName, "EOutOfMemory", nullptr, "メモリが足りません");
  }
  application.reset();  // destroys Form1 with its components, then the platform
  return 0;
}
