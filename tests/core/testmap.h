// A unique temporary folder per test, removed afterwards, with helpers to
// write and read files byte for byte and to run the built zarvo-batch.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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

// The whole file, byte for byte; empty when it cannot be read.
inline std::string leesAlles(const std::filesystem::path& pad) {
  std::ifstream in(pad, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

#ifdef ZARVO_BATCH
struct BatchUitvoer {
  int code = -1;
  std::string uit;
  std::string fout;
};

// Runs the built zarvo-batch with 'argumenten' (already shell-quoted).
// 'voorvoegsel' is put before the program, e.g. "env -i" or
// "cd 'map' && env -i LANG=nl_NL.UTF-8". stdout and stderr are caught in
// files of 'map'.
inline BatchUitvoer draaiBatch(const TestMap& map, const std::string& voorvoegsel,
                               const std::string& argumenten) {
  const std::string uit = map.pad("stdout"), fout = map.pad("stderr");
  const std::string opdracht = voorvoegsel + " '" ZARVO_BATCH "' " + argumenten + " >'" + uit +
                               "' 2>'" + fout + "'";
  const int status = std::system(opdracht.c_str());
  BatchUitvoer r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.uit = leesAlles(uit);
  r.fout = leesAlles(fout);
  return r;
}
#endif

}  // namespace zarvotest
