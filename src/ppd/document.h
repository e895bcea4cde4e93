// PpdDocument: the model of the printer's PPD file (placeholder until the
// reader lands).
#pragma once

namespace vornik {

class PpdDocument {
 public:
  virtual ~PpdDocument() = default;
};

}  // namespace vornik
