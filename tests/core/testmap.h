// A unique temporary folder per test, removed afterwards, and a helper to
// write a file into it byte for byte.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace zarvotest {

class TestMap {
 public:
  TestMap() {
    std::string sjabloon = (std::filesystem::temp_directory_path() / "zarvo-test-XXXXXX").string();
    if (!mkdtemp(sjabloon.data())) throw std::runtime_error("mkdtemp mislukt");
    pad_ = sjabloon;
  }
  ~TestMap() {
    std::error_code ec;
    std::filesystem::permissions(pad_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(pad_, ec);
  }
  TestMap(const TestMap&) = delete;
  TestMap& operator=(const TestMap&) = delete;

  std::string schrijf(const std::string& naam, const std::string& inhoud) const {
    const std::string pad = (pad_ / naam).string();
    std::ofstream uit(pad, std::ios::binary);
    uit << inhoud;
    if (!uit) throw std::runtime_error("schrijven mislukt: " + pad);
    return pad;
  }
  std::string pad(const std::string& naam) const { return (pad_ / naam).string(); }
  const std::filesystem::path& map() const { return pad_; }

 private:
  std::filesystem::path pad_;
};

}  // namespace zarvotest
