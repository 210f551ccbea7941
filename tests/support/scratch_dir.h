// scratch_dir.h: a fresh working folder for a test that runs the demo, entered on construction and
// left and removed on destruction.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name)
      : home_(std::filesystem::current_path()),
        path_(std::filesystem::temp_directory_path() /
              (name + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~ScratchDir() {
    std::filesystem::current_path(home_);
    std::filesystem::remove_all(path_);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder the test was started in: the build's data folder.
  const std::filesystem::path& home() const { return home_; }

  // Copies a data file of the build into the scratch folder; false when the build has none.
  bool CopyFromHome(const std::string& file) const {
    std::error_code error;
    return std::filesystem::copy_file(home_ / file, path_ / file, error);
  }
  void Write(const std::string& file, const std::vector<uint8_t>& bytes) const {
    std::ofstream(path_ / file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::filesystem::path home_, path_;
};
