#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "installs/archive.h"

namespace installs {

// How every archive reader writes the entries asked of it, so the limits are kept in one place: an entry
// never longer than its recorded size, never more bytes in all than allowed, each checked before a byte
// too many reaches the disk; progress after each MiB and each entry.
class EntryWriter {
 public:
  EntryWriter(std::uint64_t allowance, const std::function<void(std::size_t)>& progress)
      : allowance_(allowance), progress_(progress) {}

  // Starts the entry that is number done (from 0) of those asked: its file created with its folders.
  // Throws sys::IoError when it cannot be.
  void open(const std::string& file, std::optional<std::uint64_t> recordedSize, std::size_t done);
  // Read when the bytes were written; Bomb or NoSpace when they would break a limit (nothing written).
  // Throws sys::IoError when the file cannot be written.
  ArchiveOutcome write(std::string_view bytes);
  // Ends the entry and reports it done.
  void close();

 private:
  std::uint64_t allowance_;
  const std::function<void(std::size_t)>& progress_;
  std::string file_;
  std::ofstream out_;
  std::optional<std::uint64_t> recordedSize_;
  std::size_t done_ = 0;
  std::uint64_t written_ = 0;
  std::uint64_t total_ = 0;
  std::uint64_t sinceProgress_ = 0;
};

}  // namespace installs
