// What a console program needs from its platform, set up once at the start
// of main and kept until it returns: the arguments as UTF-8, standard output
// and error that pass bytes through as written (Windows would add a CR before
// every LF), and console windows that show Chinese whatever their code page.
// Stop requests are InterruptSignals' part.
#pragma once

#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace gleaner::cli {

class ConsoleTextBuffer;

class ConsoleSetup {
 public:
  ConsoleSetup(int argc, char** argv);
  ~ConsoleSetup();
  ConsoleSetup(const ConsoleSetup&) = delete;
  ConsoleSetup& operator=(const ConsoleSetup&) = delete;

  // The arguments without the program name, as UTF-8. On Windows they are
  // read from the wide command line, so Chinese arrives whatever the ANSI
  // code page.
  const std::vector<std::string>& arguments() const { return arguments_; }

  // Standard output carries GBK bytes (--encoding gbk) rather than UTF-8; a
  // console window still shows them as Chinese.
  void setOutputGbk(bool gbk);

 private:
  std::vector<std::string> arguments_;
  std::unique_ptr<ConsoleTextBuffer> out_;
  std::unique_ptr<ConsoleTextBuffer> err_;
  std::streambuf* savedOut_ = nullptr;
  std::streambuf* savedErr_ = nullptr;
};

}  // namespace gleaner::cli
