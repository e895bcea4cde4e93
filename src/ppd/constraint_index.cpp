#include "ppd/constraint_index.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vornik {

namespace {

template <typename T>
T* AllocateFilled(int32_t count, unsigned char byte) {
  const size_t bytes = sizeof(T) * static_cast<size_t>(count > 0 ? count : 1);
  void* memory = std::malloc(bytes);
  if (memory != nullptr) std::memset(memory, byte, bytes);
  return static_cast<T*>(memory);
}

// Distinct texts to dense ids, by open addressing. Holds pointers to the
// strings it was given, which must outlive it.
class TextIds {
 public:
  explicit TextIds(int32_t maxTexts) {
    capacity_ = 16;
    while (capacity_ < 2 * maxTexts) capacity_ *= 2;
    slots_ = AllocateFilled<int32_t>(capacity_, 0xFF);
    texts_ = AllocateFilled<const PpdString*>(maxTexts, 0);
  }
  ~TextIds() {
    std::free(slots_);
    std::free(texts_);
  }
  TextIds(const TextIds&) = delete;
  TextIds& operator=(const TextIds&) = delete;

  bool ok() const { return slots_ != nullptr && texts_ != nullptr; }
  int32_t count() const { return count_; }

  // Id of `text`, -1 when it was never added.
  int32_t Find(const PpdString& text) const { return slots_[SlotOf(text)]; }

  // Id of `text`, a new one when it is new. At most `maxTexts` texts.
  int32_t Add(const PpdString& text) {
    int32_t& slot = slots_[SlotOf(text)];
    if (slot < 0) {
      texts_[count_] = &text;
      slot = count_++;
    }
    return slot;
  }

 private:
  static uint32_t Hash(const PpdString& text) {
    uint32_t hash = 2166136261u;
    for (int32_t i = 0; i < text.length; ++i) hash = (hash ^ text.text[i]) * 16777619u;
    return hash;
  }

  // The slot that holds `text`, or the empty slot where it would go.
  int32_t SlotOf(const PpdString& text) const {
    const uint32_t mask = static_cast<uint32_t>(capacity_) - 1;
    for (uint32_t slot = Hash(text) & mask;; slot = (slot + 1) & mask) {
      const int32_t id = slots_[slot];
      if (id < 0 || texts_[id]->SameText(text)) return static_cast<int32_t>(slot);
    }
  }

  int32_t capacity_ = 0;
  int32_t* slots_ = nullptr;
  const PpdString** texts_ = nullptr;
  int32_t count_ = 0;
};

}  // namespace

PpdConstraintIndex* PpdConstraintIndex::Build(PpdFeature* const* features, int32_t featureCount,
                                              const PpdConstraint* const* constraints,
                                              int32_t constraintCount,
                                              const PpdInstalledOption* const* installed,
                                              int32_t installedCount) {
  // Keyword ids: the installed options' and the features' keywords.
  TextIds keywords(installedCount + featureCount);
  auto* lastInstalled = AllocateFilled<int32_t>(installedCount + featureCount, 0xFF);
  auto* firstFeature = AllocateFilled<int32_t>(installedCount + featureCount, 0xFF);
  auto* nextFeature = AllocateFilled<int32_t>(featureCount, 0xFF);
  auto* decider = AllocateFilled<int32_t>(featureCount, 0xFF);
  auto* ruleCounts = AllocateFilled<int32_t>(featureCount, 0);
  auto* index = new (std::nothrow) PpdConstraintIndex;
  bool ok = keywords.ok() && lastInstalled != nullptr && firstFeature != nullptr &&
            nextFeature != nullptr && decider != nullptr && ruleCounts != nullptr &&
            index != nullptr;

  if (ok) {
    // An installed keyword that occurs twice ties wherever its first
    // occurrence does, so the last one always decides over it.
    for (int32_t i = 0; i < installedCount; ++i)
      lastInstalled[keywords.Add(installed[i]->keyword)] = i;
    // Features of the same keyword, in file order, chained from the last.
    for (int32_t f = featureCount - 1; f >= 0; --f) {
      if (features[f]->group.Equals(kInstallableOptionsGroup)) continue;
      const int32_t id = keywords.Add(features[f]->keyword);
      nextFeature[f] = firstFeature[id];
      firstFeature[id] = f;
    }
  }

  // The installed option that ties a constraint to features, or -1; and the
  // first of those features.
  auto tie = [&](const PpdConstraint& c, int32_t& feature) {
    const int32_t installedId = keywords.Find(c.keyword1);
    if (installedId < 0 || lastInstalled[installedId] < 0) return -1;
    const int32_t featureId = keywords.Find(c.keyword2);
    if (featureId < 0 || firstFeature[featureId] < 0) return -1;
    feature = firstFeature[featureId];
    return lastInstalled[installedId];
  };

  // The last installed option tied to each feature decides it.
  for (int32_t c = 0; ok && c < constraintCount; ++c) {
    int32_t f = -1;
    const int32_t i = tie(*constraints[c], f);
    if (i < 0) continue;
    for (; f >= 0; f = nextFeature[f]) {
      if (i > decider[f]) decider[f] = i;
    }
  }

  // The deciding installed option's constraints, one rule per option they
  // name: counted first, then stored grouped by feature.
  auto forEachRule = [&](auto&& visit) {
    for (int32_t c = 0; c < constraintCount; ++c) {
      int32_t f = -1;
      const int32_t i = tie(*constraints[c], f);
      if (i < 0) continue;
      for (; f >= 0; f = nextFeature[f]) {
        if (decider[f] != i) continue;
        const PpdFeature& feature = *features[f];
        for (int32_t o = 0; o < feature.optionCount; ++o) {
          if (feature.options[o]->keyword.SameText(constraints[c]->option2)) {
            visit(f, Rule{&constraints[c]->option1, feature.options[o]});
          }
        }
      }
    }
  };

  if (ok) {
    int64_t total = 0;
    forEachRule([&](int32_t f, const Rule&) {
      ++ruleCounts[f];
      ++total;
    });
    for (int32_t f = 0; f < featureCount; ++f) index->decidedCount_ += decider[f] >= 0 ? 1 : 0;
    ok = total <= INT32_MAX;
    if (ok) {
      index->ruleCount_ = static_cast<int32_t>(total);
      index->rules_ = AllocateFilled<Rule>(index->ruleCount_, 0);
      index->decided_ = AllocateFilled<DecidedFeature>(index->decidedCount_, 0);
      ok = index->rules_ != nullptr && index->decided_ != nullptr;
    }
  }

  if (ok) {
    // ruleCounts becomes each feature's next free rule.
    int32_t next = 0;
    int32_t d = 0;
    for (int32_t f = 0; f < featureCount; ++f) {
      if (decider[f] < 0) continue;
      index->decided_[d++] = DecidedFeature{features[f], decider[f], next, ruleCounts[f]};
      const int32_t count = ruleCounts[f];
      ruleCounts[f] = next;
      next += count;
    }
    forEachRule([&](int32_t f, const Rule& rule) { index->rules_[ruleCounts[f]++] = rule; });
  }

  std::free(lastInstalled);
  std::free(firstFeature);
  std::free(nextFeature);
  std::free(decider);
  std::free(ruleCounts);
  if (!ok) {
    delete index;
    return nullptr;
  }
  return index;
}

PpdConstraintIndex::~PpdConstraintIndex() {
  std::free(decided_);
  std::free(rules_);
}

void PpdConstraintIndex::UpdateFlags(const PpdInstalledOption* const* installed) const {
  for (int32_t d = 0; d < decidedCount_; ++d) {
    const DecidedFeature& decided = decided_[d];
    PpdFeature& feature = *decided.feature;
    for (int32_t o = 0; o < feature.optionCount; ++o) feature.options[o]->constrained = false;
    const PpdString& value = installed[decided.installed]->value;
    const Rule* rule = rules_ + decided.firstRule;
    for (const Rule* end = rule + decided.ruleCount; rule != end; ++rule) {
      if (rule->installedValue->SameText(value)) rule->option->constrained = true;
    }
  }
}

}  // namespace vornik
