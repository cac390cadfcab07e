// Opening an input file for reading, or saying in plain words why it cannot
// be opened. Every reader opens its files here, so that a file that is
// missing, unreadable, a folder or a pipe gets the same sentence whichever
// file it was chosen as.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace zarvo {

struct SluitBestand {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using Bestand = std::unique_ptr<std::FILE, SluitBestand>;

struct Invoerfout {
  enum class Soort { Ontbreekt, GeenLeesrechten, Map, GeenGewoonBestand, Anders };
  Soort soort = Soort::Anders;
  // One sentence naming the file, e.g. "Het bestand X bestaat niet."
  std::string tekst;
};

// Opens the file at 'pad' (UTF-8) to read its bytes. Null when that cannot
// be; 'fout' then says why. A folder, pipe, device or socket is refused
// before it is opened: a pipe would wait for a writer that may never come.
Bestand openInvoer(const std::string& pad, Invoerfout& fout);

}  // namespace zarvo
