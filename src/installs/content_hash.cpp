#include "installs/content_hash.h"

#include <memory>

// The Windows build takes the library as a header only (there is no MinGW build of it to link).
#ifdef VARNIKIT_XXHASH_HEADER_ONLY
#define XXH_INLINE_ALL
#endif
#include <xxhash.h>

namespace installs {
namespace {

std::string hex(const XXH128_hash_t& hash) {
  XXH128_canonical_t canonical;
  XXH128_canonicalFromHash(&canonical, hash);
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * sizeof canonical.digest);
  for (const unsigned char byte : canonical.digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

struct StateDeleter {
  void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

}  // namespace

std::string contentHash(std::string_view bytes) { return hex(XXH3_128bits(bytes.data(), bytes.size())); }

std::string fileContentHash(sys::FileSystem& fs, const std::string& path) {
  std::unique_ptr<XXH3_state_t, StateDeleter> state(XXH3_createState());
  if (!state) throw std::bad_alloc();
  XXH3_128bits_reset(state.get());
  fs.readBytes(path, [&](std::string_view chunk) { XXH3_128bits_update(state.get(), chunk.data(), chunk.size()); });
  return hex(XXH3_128bits_digest(state.get()));
}

bool isContentHash(std::string_view text) {
  if (text.size() != 32) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace installs
