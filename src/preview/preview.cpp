#include "preview/preview.h"

namespace preview {

Preview describe(const std::string& /*gamePath*/, std::string_view bytes, const Companion& /*companion*/) {
  Preview preview;
  preview.facts.push_back("Файл, " + std::to_string(bytes.size()) + " байт");
  return preview;
}

std::vector<std::string> warnings(const std::string& /*gamePath*/, std::string_view /*bytes*/,
                                  const Companion& /*companion*/) {
  return {};
}

}  // namespace preview
