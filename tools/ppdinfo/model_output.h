// The two ways ppdinfo prints a PpdDocument: one JSON object, or an outline
// for a person to read.
#pragma once

#include <string>

#include "ppd/document.h"

namespace vornik {

std::string ModelAsJson(const PpdDocument& document);
std::string ModelAsOutline(const PpdDocument& document);

}  // namespace vornik
