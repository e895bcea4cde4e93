// libFuzzer target: a PpdDocument from arbitrary bytes, then every lookup,
// installed values and constraint evaluation (indexed against the plain
// scan).
#include <cstddef>
#include <cstdint>

#include "ppd/document.h"
#include "ppd_exercise.h"

namespace {

// Keeps the plain scan, which the index is checked against, to small inputs.
constexpr double kMaxScanSteps = 2e5;

struct BytesSource {
  const uint8_t* data;
  size_t size;
  size_t position;
  static int Read(void* self) {
    auto* source = static_cast<BytesSource*>(self);
    return source->position < source->size ? source->data[source->position++] : -1;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BytesSource source{data, size, 0};
  vornik::PpdDocument document(&BytesSource::Read, &source);
  // The document's own bytes steer the installed values: the last bytes
  // change with every mutation.
  const size_t tail = size < 64 ? size : 64;
  vornik::ExercisePpdDocument(document, data + size - tail, tail, kMaxScanSteps);
  return 0;
}
