#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "FontFile.h"

typedef struct _FcConfig FcConfig;

// Finds the font file for a requested face, as the window system's font mapper
// would: the face itself when it is installed and can show the character set's
// texts, otherwise the nearest substitute that can. Each request is resolved once.
class FontResolver {
 public:
  // The resolver over the system's fonts. Loading fontconfig's configuration is
  // slow, so it happens once, on first use.
  static FontResolver& System();

  // A resolver over the fonts of one directory only, without configuration rules.
  explicit FontResolver(const std::string& fontDirectory);
  ~FontResolver();
  FontResolver(const FontResolver&) = delete;
  FontResolver& operator=(const FontResolver&) = delete;

  // The face name is in code page 932. Throws EOutOfResources when there is no
  // font at all.
  const FontFile& Resolve(std::string_view faceName, std::uint8_t charset);

 private:
  explicit FontResolver(FcConfig* config);
  FontFile Lookup(const std::string& family, bool needsJapanese) const;

  FcConfig* config_;
  std::map<std::pair<std::string, std::uint8_t>, FontFile> resolved_;
};
