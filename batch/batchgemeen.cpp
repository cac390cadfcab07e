#include "batch/batchgemeen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#endif

namespace zarvo::batch {

void meldOpStderr(const Melding& melding) {
  std::string regel = melding.titel + ": " + toonbareTekst(melding.tekst, true) + "\n";
  std::fwrite(regel.data(), 1, regel.size(), stderr);
}

std::vector<std::string> opdrachtregel(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  int aantal = 0;
  wchar_t** breed = CommandLineToArgvW(GetCommandLineW(), &aantal);
  if (breed != nullptr) {
    std::vector<std::string> uit;
    for (int i = 0; i < aantal; ++i) {
      const int lengte = WideCharToMultiByte(CP_UTF8, 0, breed[i], -1, nullptr, 0, nullptr, nullptr);
      std::string arg(lengte > 0 ? static_cast<std::size_t>(lengte) : 1, '\0');
      WideCharToMultiByte(CP_UTF8, 0, breed[i], -1, arg.data(), lengte, nullptr, nullptr);
      arg.pop_back();  // the terminating NUL
      uit.push_back(std::move(arg));
    }
    LocalFree(breed);
    return uit;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

Argumenten ontleedArgumenten(const std::vector<std::string>& argumenten,
                             std::initializer_list<std::string_view> metWaarde,
                             std::initializer_list<std::string_view> vlaggen) {
  Argumenten uit;
  bool optiesKlaar = false;
  for (std::size_t i = 0; i < argumenten.size(); ++i) {
    const std::string& arg = argumenten[i];
    if (optiesKlaar || arg.size() < 2 || arg[0] != '-') {
      uit.posities.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optiesKlaar = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      uit.hulp = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      uit.fout = "onbekende optie " + arg;
      return uit;
    }
    std::string naam = arg.substr(2);
    std::string waarde;
    const std::size_t is = naam.find('=');
    const bool metIs = is != std::string::npos;
    if (metIs) {
      waarde = naam.substr(is + 1);
      naam.resize(is);
    }
    const auto bevat = [&](std::initializer_list<std::string_view> lijst) {
      return std::find(lijst.begin(), lijst.end(), naam) != lijst.end();
    };
    if (bevat(metWaarde)) {
      if (!metIs) {
        if (i + 1 >= argumenten.size()) {
          uit.fout = "de optie --" + naam + " verwacht een waarde";
          return uit;
        }
        waarde = argumenten[++i];
      }
      uit.opties[naam] = waarde;
    } else if (bevat(vlaggen) && !metIs) {
      uit.opties[naam] = "";
    } else {
      uit.fout = "onbekende optie --" + naam;
      return uit;
    }
  }
  return uit;
}

char decimaalTekenVoorLocale(std::string_view locale) {
  // "nl_NL.UTF-8@euro" -> language "nl", territory "NL".
  locale = locale.substr(0, std::min(locale.find('.'), locale.find('@')));
  const std::size_t streep = locale.find('_');
  const std::string_view taal = locale.substr(0, streep);
  const std::string_view gebied =
      streep == std::string_view::npos ? std::string_view() : locale.substr(streep + 1);

  // Countries whose language otherwise writes a comma but that use a point.
  static constexpr std::string_view puntUitzonderingen[] = {"de_CH", "de_LI", "it_CH", "es_MX",
                                                           "es_US", "fr_CA"};
  for (std::string_view u : puntUitzonderingen) {
    if (u.substr(0, 2) == taal && u.substr(3) == gebied) return '.';
  }
  static constexpr std::string_view kommaTalen[] = {
      "af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es", "et", "eu", "fi", "fo",
      "fr", "fy", "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk", "lb", "li", "lt", "lv",
      "mk", "nb", "nl", "nn", "no", "pl", "pt", "ro", "ru", "sk", "sl", "sq", "sr", "sv", "tr",
      "uk", "uz", "vi"};
  for (std::string_view t : kommaTalen) {
    if (t == taal) return ',';
  }
  return '.';  // C, POSIX, English and everything not listed
}

char decimaalTekenUitOmgeving() {
#ifdef _WIN32
  wchar_t teken[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, teken, 8) > 0 && teken[0] == L',' &&
      teken[1] == L'\0') {
    return ',';
  }
  return '.';
#else
  for (const char* naam : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* waarde = std::getenv(naam);
    if (waarde && *waarde) return decimaalTekenVoorLocale(waarde);
  }
  return '.';
#endif
}

char kiesDecimaalteken(const Argumenten& argumenten, std::string& fout) {
  const auto optie = argumenten.opties.find("decimaalteken");
  if (optie == argumenten.opties.end()) return decimaalTekenUitOmgeving();
  if (optie->second == "," || optie->second == ".") return optie->second[0];
  fout = "--decimaalteken moet ',' of '.' zijn, niet '" + optie->second + "'";
  return '\0';
}

bool schrijfNaarStdout(std::string_view tekst) {
  const bool geschreven = std::fwrite(tekst.data(), 1, tekst.size(), stdout) == tekst.size();
  return std::fflush(stdout) == 0 && geschreven && !std::ferror(stdout);
}

int stdoutMislukt() {
  std::fputs("zarvo-batch: schrijven naar stdout mislukt\n", stderr);
  return invoerFout;
}

int gebruiksfout(const std::string& fout, std::string_view gebruik) {
  std::string tekst = "zarvo-batch: " + fout + "\n\n" + std::string(gebruik);
  std::fwrite(tekst.data(), 1, tekst.size(), stderr);
  return verkeerdGebruik;
}

}  // namespace zarvo::batch
