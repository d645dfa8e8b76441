#include "installs/entry_writer.h"

#include <filesystem>
#include <system_error>

#include "sys/error.h"
#include "sys/paths.h"

namespace installs {

namespace {

constexpr std::uint64_t kProgressEvery = 1 << 20;

[[noreturn]] void cannotWrite(const std::string& file) { throw sys::IoError(sys::lastErrorText() + ": " + file); }

}  // namespace

void EntryWriter::open(const std::string& file, std::optional<std::uint64_t> recordedSize, std::size_t done) {
  file_ = file;
  recordedSize_ = recordedSize;
  done_ = done;
  written_ = 0;
  const std::filesystem::path path = sys::toPath(file);
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) throw sys::IoError(ec.message() + ": " + file);
  out_ = std::ofstream(path, std::ios::binary | std::ios::trunc);
  if (!out_) cannotWrite(file);
}

ArchiveOutcome EntryWriter::write(std::string_view bytes) {
  written_ += bytes.size();
  total_ += bytes.size();
  if (recordedSize_ && written_ > *recordedSize_) return ArchiveOutcome::Bomb;
  if (total_ > allowance_) return ArchiveOutcome::NoSpace;
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out_) cannotWrite(file_);
  sinceProgress_ += bytes.size();
  if (sinceProgress_ >= kProgressEvery) {
    sinceProgress_ = 0;
    progress_(done_);
  }
  return ArchiveOutcome::Read;
}

void EntryWriter::close() {
  out_.close();
  if (!out_) cannotWrite(file_);
  progress_(done_ + 1);
}

}  // namespace installs
