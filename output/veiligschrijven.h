// The system calls a save you can trust needs, one place for both systems:
// a lock on a folder, creating a file that must not exist yet, and pushing
// a file or a folder's entries to the disk. On Windows the folder flush is
// not needed (the file system journals its metadata) and does nothing.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace zarvo {

// Held while one save works in a folder. The lock is a hidden file in the
// folder, removed again when the lock is released; one left behind by a
// killed program is harmless, as the system releases the lock itself.
// Anyone who may write the folder can take it: the file is readable for
// all and an existing one is locked through a read-only handle.
class Mapslot {
 public:
  ~Mapslot();
  Mapslot(const Mapslot&) = delete;
  Mapslot& operator=(const Mapslot&) = delete;

  enum class Uitkomst { Genomen, Bezet, Fout };
  // Takes the lock of 'map', waiting at most 'wacht' for another holder.
  // Stops waiting when a signal asks the program to stop (Bezet then).
  // On Fout errno tells why (no such folder, no write permission).
  static Uitkomst neem(const std::filesystem::path& map, std::chrono::milliseconds wacht,
                       std::unique_ptr<Mapslot>& slot);

  static const char* bestandsnaam();

 private:
  Mapslot() = default;
  std::filesystem::path pad_;
#ifdef _WIN32
  void* handvat_ = nullptr;
#else
  int fd_ = -1;
#endif
};

// Creates 'pad' for writing; fails (errno EEXIST) when it exists. With
// 'modus' the file gets exactly these permission bits, whatever the umask.
std::FILE* maakNieuwBestand(const std::filesystem::path& pad, std::optional<std::filesystem::perms> modus);

// Flushes 'bestand' and has the system write it to the disk; false with
// errno set when that fails.
bool schrijfNaarSchijf(std::FILE* bestand);

// Whether the system lets us create files in 'map' (without trying).
bool isSchrijfbareMap(const std::filesystem::path& map);

// Has the system write the entries of folder 'map' (new names, removed
// names) to the disk.
bool schrijfMapNaarSchijf(const std::filesystem::path& map);

}  // namespace zarvo
