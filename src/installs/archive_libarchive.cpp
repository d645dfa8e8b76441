// The archive reader on libarchive. Built only where the build finds the library (VARNIKIT_HAVE_ARCHIVES);
// archive_unavailable.cpp stands in elsewhere.
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <filesystem>

#include "installs/archive.h"
#include "installs/entry_writer.h"
#include "installs/texts.h"
#include "sys/encoding.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace installs {

bool archivesSupported() { return true; }
std::string_view archivePatterns() { return texts::kArchivesPattern; }

namespace {

constexpr std::size_t kBlock = 64 * 1024;

// libarchive turns names into the character set of the calling thread's locale, and the program's may
// be "C", which holds no Cyrillic letter: a name would be lost. While a reader lives the thread works in
// UTF-8 (the program's own strings are UTF-8 anyway).
class Utf8Locale {
 public:
  Utf8Locale() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    if (utf8_ != static_cast<locale_t>(0)) previous_ = uselocale(utf8_);
  }
  ~Utf8Locale() {
    if (utf8_ == static_cast<locale_t>(0)) return;
    uselocale(previous_);
    freelocale(utf8_);
  }
  Utf8Locale(const Utf8Locale&) = delete;
  Utf8Locale& operator=(const Utf8Locale&) = delete;

 private:
  locale_t utf8_;
  locale_t previous_ = LC_GLOBAL_LOCALE;
};

[[maybe_unused]] int openNamed(archive* reader, const char* name) { return archive_read_open_filename(reader, name, kBlock); }
[[maybe_unused]] int openNamed(archive* reader, const wchar_t* name) { return archive_read_open_filename_w(reader, name, kBlock); }

// One reading of one archive. Only the formats and filters packs come in: libarchive's "all" would also
// take formats that read other files of the disk (mtree) and filters that start other programs.
class Reader {
 public:
  explicit Reader(const std::string& file) : archive_(archive_read_new()) {
    if (archive_ == nullptr) return;
    archive_read_support_filter_gzip(archive_);
    archive_read_support_filter_bzip2(archive_);
    archive_read_support_filter_xz(archive_);
    archive_read_support_format_zip(archive_);
    archive_read_support_format_7zip(archive_);
    archive_read_support_format_rar(archive_);
    archive_read_support_format_rar5(archive_);
    archive_read_support_format_tar(archive_);
    // Names without the zip's UTF-8 flag are cp866; flagged names stay UTF-8.
    archive_read_set_format_option(archive_, "zip", "hdrcharset", "CP866");
    const std::filesystem::path path = sys::toPath(file);
    opened_ = openNamed(archive_, path.c_str()) == ARCHIVE_OK;
  }
  ~Reader() {
    if (archive_ != nullptr) archive_read_free(archive_);
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  archive* get() { return archive_; }
  bool opened() const { return opened_; }

  std::string errorText() {
    const char* text = archive_ == nullptr ? nullptr : archive_error_string(archive_);
    if (text != nullptr && *text != '\0') return text;
    return archive_ == nullptr ? "libarchive: out of memory" : "libarchive: damaged archive";
  }
  // What a failed step means: a password the reader cannot give, or damage. Only an opened archive has a
  // format to ask: libarchive calls into the format it found, and after a failed open there is none.
  ArchiveOutcome failure() {
    if (opened_ && archive_read_has_encrypted_entries(archive_) > 0) return ArchiveOutcome::Encrypted;
    return ArchiveOutcome::Unreadable;
  }

 private:
  archive* archive_;
  bool opened_ = false;
};

std::optional<std::string> entryName(archive_entry* entry) {
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return std::string(utf8);
  const char* raw = archive_entry_pathname(entry);
  if (raw == nullptr) return std::nullopt;
  // Bytes of no known character set (a tar made on Windows): read as the Windows Cyrillic code page.
  const std::string bytes(raw);
  return sys::isValidUtf8(bytes) ? bytes : sys::fromCp1251(bytes);
}

bool isPlainFile(archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFREG && archive_entry_hardlink(entry) == nullptr &&
         archive_entry_symlink(entry) == nullptr;
}

std::optional<std::uint64_t> recordedSize(archive_entry* entry) {
  if (!archive_entry_size_is_set(entry) || archive_entry_size(entry) < 0) return std::nullopt;
  return static_cast<std::uint64_t>(archive_entry_size(entry));
}

}  // namespace

ArchiveListing listArchiveWaiting(const std::string& file, std::size_t limit, const std::function<void()>&) {
  Utf8Locale locale;
  Reader reader(file);
  ArchiveListing listing;
  if (!reader.opened()) {
    listing.outcome = reader.failure();
    listing.error = reader.errorText();
    return listing;
  }
  archive_entry* entry = nullptr;
  for (std::size_t index = 0;; ++index) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) {
      listing.outcome = reader.failure();
      listing.error = reader.errorText();
      listing.files.clear();
      return listing;
    }
    if (archive_entry_is_encrypted(entry)) {
      listing.outcome = ArchiveOutcome::Encrypted;
      listing.files.clear();
      return listing;
    }
    if (archive_entry_filetype(entry) == AE_IFDIR) continue;
    const auto name = entryName(entry);
    const auto path = name ? safeEntryPath(*name) : std::nullopt;
    if (!path || !isPlainFile(entry)) {
      ++listing.skipped;
      continue;
    }
    if (listing.files.size() == limit) {
      listing.moreThanLimit = true;
      break;
    }
    listing.files.push_back({index, *path, recordedSize(entry)});
  }
  return listing;
}

UnpackResult unpackArchiveInto(const std::string& file, const std::vector<UnpackTarget>& targets,
                               std::uint64_t allowance, const std::string&,
                               const std::function<void(std::size_t)>& progress) {
  Utf8Locale locale;
  Reader reader(file);
  UnpackResult result;
  const auto fail = [&](ArchiveOutcome outcome, std::string error) {
    result.outcome = outcome;
    result.error = std::move(error);
    return result;
  };
  if (!reader.opened()) return fail(reader.failure(), reader.errorText());
  std::vector<char> block(kBlock);
  EntryWriter writer(allowance, progress);
  std::size_t next = 0;
  archive_entry* entry = nullptr;
  for (std::size_t index = 0; next < targets.size(); ++index) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) return fail(ArchiveOutcome::Unreadable, "the archive ends before its listed entries");
    if (status < ARCHIVE_WARN) return fail(reader.failure(), reader.errorText());
    if (index != targets[next].index) continue;  // its data is skipped by the next header
    if (archive_entry_is_encrypted(entry)) return fail(ArchiveOutcome::Encrypted, "");
    // The archive changed since it was listed.
    if (!isPlainFile(entry)) return fail(ArchiveOutcome::Unreadable, "the archive changed while it was read");
    writer.open(targets[next].file, recordedSize(entry), next);
    for (;;) {
      const la_ssize_t count = archive_read_data(reader.get(), block.data(), block.size());
      if (count == 0) break;
      if (count < 0) return fail(reader.failure(), reader.errorText());
      const ArchiveOutcome written = writer.write(std::string_view(block.data(), static_cast<std::size_t>(count)));
      if (written == ArchiveOutcome::Bomb) result.entry = entryName(entry).value_or("");
      if (written != ArchiveOutcome::Read) return fail(written, "");
    }
    writer.close();
    ++next;
  }
  return result;
}

}  // namespace installs
