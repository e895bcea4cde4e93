#include "ppd/records.h"

namespace vornik {

const char16_t kInstallableOptionsGroup[] = u"InstallableOptions";

}  // namespace vornik
