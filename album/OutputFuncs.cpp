#include "album/OutputFuncs.h"

namespace pictavo::OutputFuncs {

std::string GetGeneratorOutputString() {
  return std::string("Pictavo ") + PICTAVO_VERSION;
}

}  // namespace pictavo::OutputFuncs
