#include "platform/edition.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/catalog.h"
#include "platform/cp932.h"
#include "platform/game_folder.h"

namespace qm {
namespace {

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Texts of one edition, converted once: Japanese text (UTF-8) to the edition's CP932 bytes.
using TextStore = std::unordered_map<std::string, std::string, TextHash, std::equal_to<>>;

struct EditionState {
  std::mutex mutex;
  std::string language{kJapanese};
  const Catalog* catalog = nullptr;
  std::map<std::string, TextStore, std::less<>> stores;
};

EditionState& State() {
  static EditionState state;
  return state;
}

const Catalog* FindCatalog(std::string_view language) {
  for (const Catalog& c : Catalogs())
    if (c.language == language) return &c;
  return nullptr;
}

const std::string_view* Translation(const Catalog& catalog, std::string_view japanese) {
  const auto entries = catalog.entries;
  const auto it =
      std::lower_bound(entries.begin(), entries.end(), japanese,
                       [](const CatalogEntry& e, std::string_view key) { return e.key < key; });
  if (it == entries.end() || it->key != japanese) return nullptr;
  return &it->text;
}

}  // namespace

std::vector<std::string> EditionLanguages() {
  std::vector<std::string> out{std::string(kJapanese)};
  for (const Catalog& c : Catalogs())
    if (!c.language.empty()) out.emplace_back(c.language);
  return out;
}

bool SetEdition(std::string_view language) {
  const Catalog* catalog = nullptr;
  if (language != kJapanese) {
    catalog = FindCatalog(language);
    if (catalog == nullptr || language.empty()) return false;
  }
  EditionState& s = State();
  const std::lock_guard lock(s.mutex);
  s.language = language;
  s.catalog = catalog;
  return true;
}

const std::string& Edition() {
  EditionState& s = State();
  const std::lock_guard lock(s.mutex);
  return s.language;
}

bool IsJapaneseEdition() {
  return Edition() == kJapanese;
}

const std::string& Tx(std::string_view japanese) {
  EditionState& s = State();
  const std::lock_guard lock(s.mutex);
  auto store = s.stores.find(s.language);
  if (store == s.stores.end()) store = s.stores.emplace(s.language, TextStore{}).first;
  TextStore& texts = store->second;
  if (auto it = texts.find(japanese); it != texts.end()) return it->second;
  std::optional<std::string> bytes;
  if (s.catalog != nullptr) {
    if (const std::string_view* t = Translation(*s.catalog, japanese)) bytes = Cp932FromUtf8(*t);
  }
  // The Japanese text is ours: one without a CP932 form is a mistake in the sources (Sj says so
  // loudly), while a translation without one falls back to it.
  if (!bytes) bytes = Sj(japanese);
  return texts.emplace(std::string(japanese), std::move(*bytes)).first->second;
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> arguments) {
  std::string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const size_t n = static_cast<size_t>(text[i + 1] - '1');
      if (n < arguments.size()) {
        out += *(arguments.begin() + n);
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

const std::string& EditionFace(std::string_view face) {
  return Tx(face);
}

std::string EditionPath(std::string_view backslashed) {
  std::string path(backslashed);
  const std::string& language = Edition();
  if (language == kJapanese) return path;
  const size_t slash = path.find_last_of('\\');
  path.insert(slash == std::string::npos ? 0 : slash + 1, language + "\\");
  return path;
}

std::string EditionPicturePath(std::string_view backslashed) {
  if (!IsJapaneseEdition()) {
    std::string own = GamePath(EditionPath(backslashed));
    std::error_code error;
    if (std::filesystem::is_regular_file(own, error)) return own;
  }
  return GamePath(backslashed);
}

}  // namespace qm
