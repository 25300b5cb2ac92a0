#pragma once

#include <span>
#include <string_view>

namespace qm {

// One text of a language's catalogue: the game's own Japanese text (UTF-8; a context, when it has
// one, comes first and is ended by '\x04', as gettext keys it) and its translation (UTF-8).
struct CatalogEntry {
  std::string_view key;
  std::string_view text;
};

// A language's catalogue, its entries sorted by key.
struct Catalog {
  std::string_view language;
  std::span<const CatalogEntry> entries;
};

// Every catalogue the game was built with, made at build time from po/*.po (tools/make_catalog).
std::span<const Catalog> Catalogs();

}  // namespace qm
