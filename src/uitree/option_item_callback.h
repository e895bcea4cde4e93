// The callback installed on the driver's options tree: keeps the colour-mode
// item in step with the colour item, and at Apply hands the layout items that
// the Layout page changed to the driver.
#pragma once

#include "core/flavour.h"
#include "platform/printoem.h"

namespace vornik {

LONG APIENTRY OptionItemCallback(PCPSUICBPARAM cbParam, OEMCUIPPARAM* param);

// The same with the flavour's applied layout kinds given.
LONG HandleOptionItemCallback(const CPSUICBPARAM* cbParam, OEMCUIPPARAM* param,
                              const Flavour& flavour);

}  // namespace vornik
