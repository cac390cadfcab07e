// File names in the core are UTF-8 strings, whatever the system. These turn
// them into paths and back without losing a character: on Windows a narrow
// string would otherwise pass through the ANSI code page, where "ë" may
// survive but "–" and most other names do not.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zarvo {

// The path named by the UTF-8 text 'utf8'. On Linux the bytes are taken as
// they are, so a name that is no valid UTF-8 still opens; on Windows such a
// name gives an empty path, which opens nothing.
std::filesystem::path padUitUtf8(std::string_view utf8);

// The UTF-8 text of 'pad', for messages and for handing back to callers.
std::string utf8UitPad(const std::filesystem::path& pad);

// What a path is when it is there but is no regular file.
enum class Bestandssoort { Map, Pijp, Apparaat, Socket, Anders };

// What 'pad' is when it is there but is no regular file; nullopt for a
// regular file (a link to one too) or when nothing is there.
std::optional<Bestandssoort> geenGewoonBestand(const std::filesystem::path& pad);

// The kind as it reads in a message: "een map", "een pijp (FIFO)", "een
// apparaat", "een socket", "geen gewoon bestand".
const char* soortTekst(Bestandssoort soort);

// 'naam' without its extension; a name that starts with its only dot
// (".profielen") keeps it, as a file system's idea of a stem does.
std::string stamVan(const std::string& naam);

// std::fopen for a path (the wide variant on Windows). errno tells why it
// failed, as with std::fopen. For reading it refuses what is no regular
// file (errno EINVAL): opening a pipe waits for a writer that may never
// come, and a device may never end.
std::FILE* openBestand(const std::filesystem::path& pad, const char* modus);

}  // namespace zarvo
