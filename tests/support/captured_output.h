// captured_output.h: what a piece of code writes to standard output or standard error, taken from
// the file descriptor itself so that puts and printf are caught too.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

class CapturedOutput {
 public:
  explicit CapturedOutput(int descriptor) : descriptor_(descriptor) {
    std::fflush(nullptr);
    std::snprintf(path_, sizeof path_, "/tmp/cb_output_%d_%d", static_cast<int>(::getpid()), descriptor);
    std::FILE* file = std::fopen(path_, "w+");
    saved_ = ::dup(descriptor_);
    ::dup2(::fileno(file), descriptor_);
    std::fclose(file);
  }
  ~CapturedOutput() { Stop(); std::remove(path_); }

  // Restores the descriptor and answers everything written meanwhile.
  std::string Stop() {
    if (saved_ >= 0) {
      std::fflush(nullptr);
      ::dup2(saved_, descriptor_);
      ::close(saved_);
      saved_ = -1;
      std::ifstream in(path_, std::ios::binary);
      text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return text_;
  }

 private:
  int descriptor_;
  int saved_ = -1;
  char path_[64];
  std::string text_;
};
