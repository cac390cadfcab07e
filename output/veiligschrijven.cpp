#include "output/veiligschrijven.h"

#include <cerrno>
#include <cstring>
#include <thread>

#include "basis/onderbreking.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zarvo {

namespace fs = std::filesystem;

const char* Mapslot::bestandsnaam() { return ".zarvo-opslag.lock"; }

#ifndef _WIN32
namespace {

// Earlier versions made the lock file readable for its owner alone, so a
// lock file another member's killed run left cannot even be opened. Whether
// anyone holds it the system tells in /proc/locks (Linux); a file nobody
// holds is a leftover and is removed, when the folder lets us. Anywhere
// else, or when in doubt, the file stays and the save fails as before.
bool ruimVreemdSlotOp(const std::filesystem::path& pad) {
  struct stat st {};
  if (::lstat(pad.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::FILE* sloten = std::fopen("/proc/locks", "re");
  if (!sloten) return false;
  char regel[512];
  bool vastgehouden = false;
  while (!vastgehouden && std::fgets(regel, sizeof regel, sloten)) {
    // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF": major:minor:inode.
    unsigned hoofd = 0, onder = 0;
    unsigned long long inode = 0;
    const char* veld = std::strstr(regel, "FLOCK");
    if (!veld) continue;
    for (const char* p = veld; *p; ++p) {
      if (std::sscanf(p, " %x:%x:%llu", &hoofd, &onder, &inode) == 3 && p[0] == ' ') {
        vastgehouden = inode == st.st_ino && hoofd == major(st.st_dev) && onder == minor(st.st_dev);
        break;
      }
    }
  }
  std::fclose(sloten);
  return !vastgehouden && ::unlink(pad.c_str()) == 0;
}

}  // namespace
#endif

Mapslot::~Mapslot() {
#ifdef _WIN32
  // Opened with delete-on-close: the file goes with the handle.
  if (handvat_) CloseHandle(static_cast<HANDLE>(handvat_));
#else
  if (fd_ >= 0) {
    // Removed while still held, so that whoever waits for this file sees
    // that it is gone and takes a fresh one.
    ::unlink(pad_.c_str());
    ::close(fd_);
  }
#endif
}

Mapslot::Uitkomst Mapslot::neem(const fs::path& map, std::chrono::milliseconds wacht, std::unique_ptr<Mapslot>& slot) {
  const fs::path pad = map / bestandsnaam();
  const auto einde = std::chrono::steady_clock::now() + wacht;
  auto wachtEven = [&]() {
    if (std::chrono::steady_clock::now() >= einde || onderbrekingSignaal() != 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return true;
  };
  while (true) {
#ifdef _WIN32
    HANDLE h = CreateFileW(pad.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      slot.reset(new Mapslot());
      slot->pad_ = pad;
      slot->handvat_ = h;
      return Uitkomst::Genomen;
    }
    const DWORD fout = GetLastError();
    if (fout != ERROR_SHARING_VIOLATION && fout != ERROR_ACCESS_DENIED) {
      errno = fout == ERROR_PATH_NOT_FOUND || fout == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
      return Uitkomst::Fout;
    }
    // A lock file being deleted also answers "access denied": wait.
#else
    // Anyone who may write the folder must be able to take the lock, also
    // when another member's run left the file behind: it is made readable
    // for all, and an existing one is opened read-only (a lock needs no
    // more). A killed holder's lock goes with its process, so a file left
    // behind never blocks. Non-blocking: a pipe planted under this name
    // must not hang the open.
    bool gemaakt = true;
    int fd = ::open(pad.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (fd < 0 && errno == EEXIST) {
      gemaakt = false;
      fd = ::open(pad.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
      if (fd < 0 && errno == ENOENT) continue;  // released just now
      if (fd < 0 && errno == EACCES && ruimVreemdSlotOp(pad)) continue;
    }
    if (fd < 0) return Uitkomst::Fout;
    struct stat open {};
    if (::fstat(fd, &open) != 0 || !S_ISREG(open.st_mode)) {
      ::close(fd);
      errno = EACCES;
      return Uitkomst::Fout;
    }
    // The umask decides who may write it; reading is all a lock needs.
    if (gemaakt) ::fchmod(fd, (open.st_mode & 07777) | 0444);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder before us may have removed the file between our open
      // and our lock: then we hold a lock nobody else will look at.
      struct stat nu {};
      if (::stat(pad.c_str(), &nu) == 0 && open.st_ino == nu.st_ino && open.st_dev == nu.st_dev) {
        slot.reset(new Mapslot());
        slot->pad_ = pad;
        slot->fd_ = fd;
        return Uitkomst::Genomen;
      }
      ::close(fd);
      continue;
    }
    const int fout = errno;
    ::close(fd);
    if (fout != EWOULDBLOCK && fout != EINTR) {
      errno = fout;
      return Uitkomst::Fout;
    }
#endif
    if (!wachtEven()) return Uitkomst::Bezet;
  }
}

std::FILE* maakNieuwBestand(const fs::path& pad, std::optional<fs::perms> modus) {
  if (pad.empty()) {
    errno = ENOENT;
    return nullptr;
  }
#ifdef _WIN32
  (void)modus;  // Windows files have no such bits; the read-only flag is not carried over
  int fd = -1;
  if (_wsopen_s(&fd, pad.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0) {
    return nullptr;
  }
  std::FILE* f = _fdopen(fd, "wb");
  if (!f) _close(fd);
  return f;
#else
  const mode_t bits = modus ? static_cast<mode_t>(*modus & fs::perms::mask) : 0666;
  const int fd = ::open(pad.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modus ? bits & 0600 : bits);
  if (fd < 0) return nullptr;
  // The umask would take bits off a file that had them; the result keeps
  // the mode the user gave the file it replaces.
  if (modus && ::fchmod(fd, bits) != 0) {
    const int fout = errno;
    ::close(fd);
    ::unlink(pad.c_str());
    errno = fout;
    return nullptr;
  }
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    const int fout = errno;
    ::close(fd);
    ::unlink(pad.c_str());
    errno = fout;
  }
  return f;
#endif
}

bool schrijfNaarSchijf(std::FILE* bestand) {
  if (std::fflush(bestand) != 0 || std::ferror(bestand)) return false;
#ifdef _WIN32
  return _commit(_fileno(bestand)) == 0;
#else
  return ::fsync(::fileno(bestand)) == 0;
#endif
}

bool isSchrijfbareMap(const fs::path& map) {
#ifdef _WIN32
  return _waccess(map.c_str(), 2) == 0;
#else
  return ::access(map.c_str(), W_OK | X_OK) == 0;
#endif
}

bool schrijfMapNaarSchijf(const fs::path& map) {
#ifdef _WIN32
  (void)map;
  return true;
#else
  const int fd = ::open(map.empty() ? "." : map.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  // Some file systems cannot flush a folder and say so; that is no failure.
  const bool goed = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  ::close(fd);
  return goed;
#endif
}

}  // namespace zarvo
