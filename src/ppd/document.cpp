#include "ppd/document.h"
