#include "pipeline/ProductString.h"

namespace pen {

std::string ModelCodeFromProduct(std::string_view product) {
  const size_t open = product.find('[');
  if (open != std::string_view::npos) {
    // The code lies between the first "[" and the first "]", so a "]" before
    // the "[" (or none at all) leaves the default. So do empty brackets: an
    // empty model code means "no tablet" to the host.
    const size_t close = product.find(']');
    if (close == std::string_view::npos || close <= open + 1) return kDefaultModelCode;
    return std::string(product.substr(open + 1, close - open - 1));
  }
  const char seriesLetter = kDefaultModelCode[0];
  const size_t blank = product.find(' ');
  if (blank != std::string_view::npos && !product.empty() && product.front() == seriesLetter) {
    return std::string(product.substr(0, blank));
  }
  return kDefaultModelCode;
}

}  // namespace pen
