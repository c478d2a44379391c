// Keeps a result store in step with a list, off the caller's thread.
//
// The list's owner reports every change in list order (the calls only queue
// it and never touch the disk); a thread of the writer's own writes the
// queue in transactions: when a batch of rows is waiting, or soon after the
// first change of a quiet spell, so a crash or a power cut loses at most the
// last fraction of a second. The file is opened on the calling thread so
// that what it held is known at once (for a restore).
//
// A store that cannot be opened or written is a fault: the first one is kept
// for takeFault(), and from then on changes are dropped. The list itself is
// never affected.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "store/ResultStore.h"
#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

class StoreWriter {
 public:
  struct Options {
    // A transaction at the latest this long after the first queued change.
    std::chrono::milliseconds maxDelay{100};
    // ... or as soon as this many changes wait.
    std::size_t batch = 256;
    // The most changes one transaction takes, so each commit stays short.
    std::size_t maxPerTransaction = 4096;
  };

  StoreWriter(std::filesystem::path path, Options options);
  explicit StoreWriter(std::filesystem::path path) : StoreWriter(std::move(path), Options{}) {}
  // close(false) unless closed already.
  ~StoreWriter();
  StoreWriter(const StoreWriter&) = delete;
  StoreWriter& operator=(const StoreWriter&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // What the store held when it was opened (empty when it could not be).
  const StoreSummary& previous() const { return previous_; }

  // --- changes of the list, in list order ---
  // The job's columns, no rows.
  void reset(std::optional<Job> job, const ResultRow& headings, std::size_t columns = kJobColumns);
  void setJob(std::optional<Job> job, const ResultRow& headings, std::size_t columns = kJobColumns);
  void clear();
  // Keeps the first count rows.
  void truncate(std::size_t count);
  void append(std::size_t index, const ResultRow& row);
  // The facts of the last run (its request, its outcome), in list order
  // with the rows.
  void setFacts(std::string group, StoreFacts facts);

  // Writes what is queued and closes the file; with cleanEnd the store
  // records that the program ended cleanly. Later changes are dropped.
  void close(bool cleanEnd);

  // The first fault's text (SQLite's), once; nullopt before a fault and after
  // it was taken.
  std::optional<std::string> takeFault();

 private:
  enum class Kind { Reset, SetJob, Clear, Truncate, Append, Facts };
  struct Change {
    Kind kind;
    std::size_t index = 0;  // Append: the row's; Truncate: the rows kept; SetJob, Reset: the columns
    std::optional<Job> job{};
    ResultRow cells{};
    std::string group{};
    StoreFacts facts{};
  };

  void queue(Change change);
  void run();
  void apply(const Change& change);
  void fail(const std::string& text);  // under mutex_

  const std::filesystem::path path_;
  const Options options_;
  StoreSummary previous_;
  std::unique_ptr<ResultStore> store_;  // the writer thread's, once started

  mutable std::mutex mutex_;
  std::condition_variable wake_;     // the writer thread waits on it
  std::deque<Change> queue_;
  std::chrono::steady_clock::time_point firstQueued_;
  bool stopping_ = false;
  bool cleanEnd_ = false;
  bool closed_ = false;
  bool faulted_ = false;
  std::optional<std::string> fault_;
  std::atomic<bool> faultWaiting_{false};  // fault_ holds a text not yet taken
  std::thread thread_;
};

}  // namespace gleaner
