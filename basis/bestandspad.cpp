#include "basis/bestandspad.h"

#include <cerrno>
#include <system_error>

namespace zarvo {

std::filesystem::path padUitUtf8(std::string_view utf8) {
  const std::u8string tekst(utf8.begin(), utf8.end());
  try {
    return std::filesystem::path(tekst);
  } catch (const std::system_error&) {
    // Only Windows converts, and only broken UTF-8 fails to: no file has
    // such a name there.
    return {};
  }
}

std::string utf8UitPad(const std::filesystem::path& pad) {
  const std::u8string tekst = pad.u8string();
  return std::string(tekst.begin(), tekst.end());
}

std::optional<Bestandssoort> geenGewoonBestand(const std::filesystem::path& pad) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(pad, ec);
  if (!fs::exists(st) || fs::is_regular_file(st)) return std::nullopt;
  if (fs::is_directory(st)) return Bestandssoort::Map;
  if (fs::is_fifo(st)) return Bestandssoort::Pijp;
  if (fs::is_socket(st)) return Bestandssoort::Socket;
  if (fs::is_block_file(st) || fs::is_character_file(st)) return Bestandssoort::Apparaat;
  return Bestandssoort::Anders;
}

const char* soortTekst(Bestandssoort soort) {
  switch (soort) {
    case Bestandssoort::Map: return "een map";
    case Bestandssoort::Pijp: return "een pijp (FIFO)";
    case Bestandssoort::Apparaat: return "een apparaat";
    case Bestandssoort::Socket: return "een socket";
    case Bestandssoort::Anders: break;
  }
  return "geen gewoon bestand";
}

std::FILE* openBestand(const std::filesystem::path& pad, const char* modus) {
  if (pad.empty()) {
    errno = ENOENT;
    return nullptr;
  }
  if (modus[0] == 'r' && geenGewoonBestand(pad)) {
    errno = EINVAL;
    return nullptr;
  }
#ifdef _WIN32
  std::wstring breed;
  for (const char* c = modus; *c != '\0'; ++c) breed.push_back(static_cast<wchar_t>(*c));
  return _wfopen(pad.c_str(), breed.c_str());
#else
  return std::fopen(pad.c_str(), modus);
#endif
}

std::string stamVan(const std::string& naam) {
  const std::size_t punt = naam.rfind('.');
  return punt == std::string::npos || punt == 0 ? naam : naam.substr(0, punt);
}

}  // namespace zarvo
