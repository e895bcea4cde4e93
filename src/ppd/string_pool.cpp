#include "ppd/string_pool.h"

#include <cstdlib>
#include <new>

namespace vornik {

namespace {

constexpr uint32_t kFirstCapacity = 256;

// Made when the module loads rather than at first use: a first-use static
// takes the runtime's initialisation lock, which in the plug-in keeps a
// thread record and a TLS slot for good after every unload.
const PpdString kEmptyString;

uint32_t Hash(const PpdString& text) {
  uint32_t hash = 2166136261u;
  for (int32_t i = 0; i < text.length; ++i) hash = (hash ^ text.text[i]) * 16777619u;
  return hash;
}

// The slot holding `text`, or the free slot where it belongs.
uint32_t SlotOf(PpdString* const* slots, uint32_t capacity, const PpdString& text) {
  const uint32_t mask = capacity - 1;
  uint32_t slot = Hash(text) & mask;
  while (slots[slot] != nullptr && !slots[slot]->SameText(text)) slot = (slot + 1) & mask;
  return slot;
}

}  // namespace

PpdStringPool::~PpdStringPool() {
  for (uint32_t i = 0; i < capacity_; ++i) delete slots_[i];
  std::free(slots_);
}

const PpdString& PpdStringPool::Empty() { return kEmptyString; }

bool PpdStringPool::Grow() {
  const uint32_t capacity = capacity_ == 0 ? kFirstCapacity : 2 * capacity_;
  if (capacity < capacity_) return false;
  auto** slots = static_cast<PpdString**>(std::calloc(capacity, sizeof(PpdString*)));
  if (slots == nullptr) return false;
  for (uint32_t i = 0; i < capacity_; ++i) {
    if (slots_[i] != nullptr) slots[SlotOf(slots, capacity, *slots_[i])] = slots_[i];
  }
  std::free(slots_);
  slots_ = slots;
  capacity_ = capacity;
  return true;
}

const PpdString* PpdStringPool::Intern(const PpdString& text) {
  // At most half full, so that probing stays short.
  if (2 * (count_ + 1) > capacity_ && !Grow()) return nullptr;
  PpdString*& slot = slots_[SlotOf(slots_, capacity_, text)];
  if (slot == nullptr) {
    slot = new (std::nothrow) PpdString(text);
    if (slot == nullptr) return nullptr;
    ++count_;
  }
  return slot;
}

}  // namespace vornik
