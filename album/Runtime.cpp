#include "album/Runtime.h"

#include "core/FileUtils.h"

namespace pictavo {

std::string LoadDesigns(Runtime& runtime) {
  const std::string file = FileUtils::GetCombinePath(runtime.styleFolder, "styles.xml");
  StyleFuncs::StylesFileResult read = StyleFuncs::ReadStylesFile(file);
  if (!read.ok) return "cannot read the styles file \"" + file + "\": " + read.error;
  if (read.items.empty()) return "no design styles in \"" + file + "\"";
  runtime.designs = std::move(read.items);
  return {};
}

}  // namespace pictavo
