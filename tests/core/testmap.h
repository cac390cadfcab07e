// A unique temporary folder per test, removed afterwards, with helpers to
// write and read files byte for byte and to run the built zarvo-batch.
// The same tests run on Linux and, cross-built, on Windows.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include "basis/bestandspad.h"

namespace zarvotest {

class TestMap {
 public:
  TestMap() {
    std::random_device bron;
    const std::filesystem::path tijdelijk = std::filesystem::temp_directory_path();
    for (int poging = 0; poging < 100 && pad_.empty(); ++poging) {
      const auto kandidaat = tijdelijk / ("zarvo-test-" + std::to_string(bron()));
      if (std::filesystem::create_directory(kandidaat)) pad_ = kandidaat;
    }
    if (pad_.empty()) throw std::runtime_error("geen tijdelijke map");
  }
  ~TestMap() {
    std::error_code ec;
    std::filesystem::permissions(pad_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(pad_, ec);
  }
  TestMap(const TestMap&) = delete;
  TestMap& operator=(const TestMap&) = delete;

  // Paths are handed to the core as UTF-8, as the programs do.
  std::string schrijf(const std::string& naam, const std::string& inhoud) const {
    const std::filesystem::path pad = pad_ / zarvo::padUitUtf8(naam);
    std::ofstream uit(pad, std::ios::binary);
    uit << inhoud;
    if (!uit) throw std::runtime_error("schrijven mislukt: " + zarvo::utf8UitPad(pad));
    return zarvo::utf8UitPad(pad);
  }
  std::string pad(const std::string& naam) const { return zarvo::utf8UitPad(pad_ / zarvo::padUitUtf8(naam)); }
  const std::filesystem::path& map() const { return pad_; }
  std::string mapUtf8() const { return zarvo::utf8UitPad(pad_); }

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

// Where and how zarvo-batch runs: in 'werkmap' (empty: wherever the tests
// run), with only the variables 'omgeving' ("NAAM=waarde") set, so that
// the tester's own locale cannot decide a result.
struct BatchStart {
  std::filesystem::path werkmap;
  std::vector<std::string> omgeving;
};

// The words of 'regel' as a POSIX shell splits them: spaces separate, and
// '...' keeps spaces (and backslashes) in one word.
inline std::vector<std::string> woorden(const std::string& regel) {
  std::vector<std::string> uit;
  std::string woord;
  bool inWoord = false, geciteerd = false;
  for (char c : regel) {
    if (c == '\'') {
      geciteerd = !geciteerd;
      inWoord = true;
    } else if (c == ' ' && !geciteerd) {
      if (inWoord) uit.push_back(woord);
      woord.clear();
      inWoord = false;
    } else {
      woord.push_back(c);
      inWoord = true;
    }
  }
  if (inWoord) uit.push_back(woord);
  return uit;
}

#ifdef _WIN32
inline std::wstring breed(const std::string& utf8) { return zarvo::padUitUtf8(utf8).wstring(); }

// One argument as the C runtime's command-line parser reads it back.
inline std::wstring citeer(const std::wstring& arg) {
  std::wstring uit = L"\"";
  std::size_t schuinen = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++schuinen;
      continue;
    }
    uit.append(c == L'"' ? 2 * schuinen + 1 : schuinen, L'\\');
    schuinen = 0;
    uit.push_back(c);
  }
  uit.append(2 * schuinen, L'\\');
  return uit + L"\"";
}

inline HANDLE maakUitvoer(const std::filesystem::path& pad) {
  SECURITY_ATTRIBUTES erfbaar{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(pad.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &erfbaar, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

// Runs the built zarvo-batch with 'argumenten' (words quoted as for a
// POSIX shell). stdout and stderr are caught in files of 'map'.
inline BatchUitvoer draaiBatch(const TestMap& map, const BatchStart& start, const std::string& argumenten) {
  const std::filesystem::path uit = map.map() / "stdout", fout = map.map() / "stderr";
  BatchUitvoer r;
#ifdef _WIN32
  std::wstring regel = citeer(breed(ZARVO_BATCH));
  for (const std::string& w : woorden(argumenten)) regel += L" " + citeer(breed(w));
  // Windows itself needs SystemRoot in every process.
  std::wstring blok = L"SystemRoot=" + breed(std::getenv("SystemRoot") ? std::getenv("SystemRoot") : "C:\\windows");
  blok.push_back(L'\0');
  for (const std::string& v : start.omgeving) {
    blok += breed(v);
    blok.push_back(L'\0');
  }
  blok.push_back(L'\0');
  HANDLE uitH = maakUitvoer(uit), foutH = maakUitvoer(fout);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = uitH;
  si.hStdError = foutH;
  PROCESS_INFORMATION pi{};
  const std::wstring werkmap = start.werkmap.wstring();
  if (CreateProcessW(nullptr, regel.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT, blok.data(),
                     werkmap.empty() ? nullptr : werkmap.c_str(), &si, &pi)) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(pi.hProcess, &code)) r.code = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(uitH);
  CloseHandle(foutH);
#else
  std::string opdracht;
  if (!start.werkmap.empty()) opdracht = "cd '" + start.werkmap.string() + "' && ";
  opdracht += "env -i";
  for (const std::string& v : start.omgeving) opdracht += " '" + v + "'";
  opdracht += " '" ZARVO_BATCH "' " + argumenten + " >'" + uit.string() + "' 2>'" + fout.string() + "'";
  const int status = std::system(opdracht.c_str());
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  r.uit = leesAlles(uit);
  r.fout = leesAlles(fout);
  return r;
}
#endif

}  // namespace zarvotest
