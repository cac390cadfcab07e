#include "basis/parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <pthread.h>
#endif

namespace zarvo {

namespace {

std::atomic<std::size_t> testGrootte{0};

// A child made by fork() has none of the pool's threads, and the pool's
// lock may have been held by one of them at that moment: there every call
// runs on the calling thread and the pool is never touched again.
std::atomic<bool> inKindproces{false};
// Set when the pool goes at program end, for calls from later destructors.
std::atomic<bool> poolOpgeruimd{false};

// Threads that wait between calls. A call (an Opdracht) is offered to them
// and each waiting thread that is quick enough joins in; the caller works on
// it too and, when its own share is over, closes the call and waits only for
// the threads that joined. A thread the system left asleep meanwhile holds
// nobody up: the work it would have done has been done by the others.
class Pool {
 public:
  struct Opdracht {
    const std::function<void(std::size_t)>* taak = nullptr;
    std::size_t plaatsen = 0;  // helpers that may join
    std::size_t bezet = 0;     // helpers that joined
    std::size_t actief = 0;    // helpers still at work
    bool open = true;
    std::exception_ptr fout;
  };

  ~Pool() {
    {
      std::lock_guard<std::mutex> slot(mutex_);
      einde_ = true;
    }
    werkKlaar_.notify_all();
    for (std::thread& t : draden_) t.join();
  }

  // Runs taak(0) here and taak(1..helpers) on pool threads that join in
  // time; false when the pool is busy with another call.
  bool voerUit(std::size_t helpers, const std::function<void(std::size_t)>& taak) {
    bool vrij = false;
    if (!bezig_.compare_exchange_strong(vrij, true)) return false;
    struct Vrijgave {
      std::atomic<bool>& bezig;
      ~Vrijgave() { bezig.store(false); }
    } vrijgave{bezig_};

    Opdracht opdracht;
    opdracht.taak = &taak;
    {
      std::unique_lock<std::mutex> slot(mutex_);
      startDraden(slot, helpers);
      opdracht.plaatsen = std::min(helpers, draden_.size());
      if (opdracht.plaatsen > 0) {
        huidige_ = &opdracht;
        ++generatie_;
      }
    }
    if (opdracht.plaatsen > 0) werkKlaar_.notify_all();

    std::exception_ptr eigenFout;
    try {
      taak(0);
    } catch (...) {
      eigenFout = std::current_exception();
    }
    if (opdracht.plaatsen > 0) {
      std::unique_lock<std::mutex> slot(mutex_);
      opdracht.open = false;
      huidige_ = nullptr;
      helpersKlaar_.wait(slot, [&] { return opdracht.actief == 0; });
    }
    if (eigenFout) std::rethrow_exception(eigenFout);
    if (opdracht.fout) std::rethrow_exception(opdracht.fout);
    return true;
  }

 private:
  // Up to 'gewenst' threads, as far as the system gives them; tried again
  // on later calls when it gave fewer.
  void startDraden(std::unique_lock<std::mutex>&, std::size_t gewenst) {
    gewenst = std::min(gewenst, aantalDraden() - 1);
    try {
      draden_.reserve(gewenst);
      while (draden_.size() < gewenst) draden_.emplace_back([this] { wacht(); });
    } catch (const std::exception&) {
      // No more threads (or no memory for them) to be had: the work is
      // done by those there are, the calling thread at least.
    }
  }

  void wacht() {
    std::unique_lock<std::mutex> slot(mutex_);
    std::uint64_t gedaan = 0;
    while (true) {
      werkKlaar_.wait(slot, [&] {
        return einde_ || (huidige_ && generatie_ != gedaan && huidige_->bezet < huidige_->plaatsen);
      });
      if (einde_) return;
      gedaan = generatie_;
      Opdracht& opdracht = *huidige_;
      const std::size_t draad = ++opdracht.bezet;
      ++opdracht.actief;
      slot.unlock();
      std::exception_ptr fout;
      try {
        (*opdracht.taak)(draad);
      } catch (...) {
        fout = std::current_exception();
      }
      slot.lock();
      if (fout && !opdracht.fout) opdracht.fout = fout;
      if (--opdracht.actief == 0 && !opdracht.open) helpersKlaar_.notify_one();
    }
  }

  std::atomic<bool> bezig_{false};
  std::mutex mutex_;
  std::condition_variable werkKlaar_;
  std::condition_variable helpersKlaar_;
  std::vector<std::thread> draden_;
  Opdracht* huidige_ = nullptr;
  std::uint64_t generatie_ = 0;
  bool einde_ = false;
};

// The pool lives until the program ends, and its threads are joined then.
// Not in a child made by fork(): there its lock and condition variables may
// wait for threads that are not in that process, so it is left alone.
class PoolHouder {
 public:
  PoolHouder() {
#ifndef _WIN32
    pthread_atfork(nullptr, nullptr, [] { inKindproces.store(true); });
#endif
  }
  ~PoolHouder() {
    poolOpgeruimd.store(true);
    if (!inKindproces.load()) delete pool_;
  }
  Pool& pool() { return *pool_; }

 private:
  Pool* pool_ = new Pool;
};

Pool& pool() {
  static PoolHouder houder;
  return houder.pool();
}

// taak(0) on this thread and taak(1..helpers) on pool threads, when the
// pool is to be had; else taak(0) alone.
void werkSamen(std::size_t helpers, const std::function<void(std::size_t)>& taak) {
  if (helpers == 0 || inKindproces.load() || poolOpgeruimd.load() || !pool().voerUit(helpers, taak)) taak(0);
}

// The exception of the lowest-numbered failing piece.
class EersteFout {
 public:
  explicit EersteFout(std::size_t n) : bij_(n) {}
  void noteer(std::size_t i, std::exception_ptr fout) {
    std::lock_guard<std::mutex> slot(mutex_);
    if (i < bij_) {
      bij_ = i;
      fout_ = std::move(fout);
    }
  }
  void gooi() {
    if (fout_) std::rethrow_exception(fout_);
  }

 private:
  std::mutex mutex_;
  std::size_t bij_;
  std::exception_ptr fout_;
};

}  // namespace

std::size_t aantalDraden() {
  // hardware_concurrency() reads a system file on every call.
  static const std::size_t n = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 16);
  return n;
}

void verdeelOverDraden(std::size_t n, const std::function<void(std::size_t, std::size_t)>& werk) {
  if (n == 0) return;
  std::atomic<std::size_t> volgende{0};
  EersteFout fout(n);
  werkSamen(std::min(n, aantalDraden()) - 1, [&](std::size_t draad) {
    for (std::size_t i = volgende.fetch_add(1); i < n; i = volgende.fetch_add(1)) {
      try {
        werk(i, draad);
      } catch (...) {
        fout.noteer(i, std::current_exception());
        // Pieces handed out before this one still finish, so the lowest
        // failing piece is always among those run.
        volgende.store(n);
        return;
      }
    }
  });
  fout.gooi();
}

bool maakOpVolgorde(std::size_t n, std::size_t plekken, const std::function<void(std::size_t, std::size_t)>& maak,
                    const std::function<bool(std::size_t, std::size_t)>& geef) {
  if (n == 0) return true;
  plekken = std::max<std::size_t>(plekken, 1);
  std::mutex mutex;
  std::condition_variable plekVrij;  // for the makers
  std::condition_variable stukKlaar;  // for the calling thread
  std::size_t volgende = 0;           // next piece to make
  std::size_t gegeven = 0;            // pieces handed on
  std::vector<std::size_t> inPlek(plekken, 0);  // piece + 1 made in each buffer, 0 when none
  bool stop = false;
  bool gestopt = false;  // by geef
  EersteFout fout(n);

  auto stopAlles = [&](std::unique_lock<std::mutex>&) {
    stop = true;
    plekVrij.notify_all();
    stukKlaar.notify_all();
  };
  // Takes the next piece to make, when its buffer is free.
  auto neemStuk = [&](std::size_t& i) {
    if (volgende == n || volgende >= gegeven + plekken) return false;
    i = volgende++;
    return true;
  };
  auto maakStuk = [&](std::unique_lock<std::mutex>& slot, std::size_t i) {
    slot.unlock();
    try {
      maak(i, i % plekken);
    } catch (...) {
      fout.noteer(i, std::current_exception());
      slot.lock();
      stopAlles(slot);
      return;
    }
    slot.lock();
    inPlek[i % plekken] = i + 1;
    if (i == gegeven) stukKlaar.notify_one();
  };

  werkSamen(std::min(n, aantalDraden()) - 1, [&](std::size_t draad) {
    std::unique_lock<std::mutex> slot(mutex);
    if (draad != 0) {
      std::size_t i = 0;
      while (!stop) {
        if (neemStuk(i)) {
          maakStuk(slot, i);
        } else if (volgende == n) {
          return;
        } else {
          plekVrij.wait(slot);
        }
      }
      return;
    }
    // The calling thread first hands on whatever is ready, so that handing
    // on keeps pace with the making, and makes pieces itself only when
    // there is nothing to hand on.
    while (!stop && gegeven < n) {
      const std::size_t plek = gegeven % plekken;
      std::size_t i = 0;
      if (inPlek[plek] == gegeven + 1) {
        slot.unlock();
        bool verder = false;
        try {
          verder = geef(gegeven, plek);
        } catch (...) {
          fout.noteer(gegeven, std::current_exception());
        }
        slot.lock();
        inPlek[plek] = 0;
        ++gegeven;
        if (!verder) {
          gestopt = true;
          break;
        }
        plekVrij.notify_all();
      } else if (neemStuk(i)) {
        maakStuk(slot, i);
      } else {
        stukKlaar.wait(slot);
      }
    }
    stopAlles(slot);
  });
  fout.gooi();
  return !gestopt;
}

void zetStukGrootteVoorTests(std::size_t grootte) { testGrootte.store(grootte); }
std::size_t stukGrootteVoorTests() { return testGrootte.load(); }

}  // namespace zarvo
