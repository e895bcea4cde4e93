// Resource ids shared by the code and the resource script.
#pragma once

#define IDR_VORNIK_MANIFEST 2
