#include "re_spelling_data.h"

#include <cstring>

#include "re_bytes.h"

void ReLoadSpellingData(ReSpellingData* data, const u8* rules, u32 rulesLength, const u8* exceptions,
                        u32 exceptionsLength, const u8* prefixes, u32 prefixesLength, const u8* fragments,
                        u32 fragmentsLength) {
  std::memset(data, 0, sizeof *data);
  data->loaded = true;
  if (rules && rulesLength >= 2) {
    data->ruleCount = ReBe16(rules);
    data->rules = rules + 2;
    data->rulesLength = rulesLength - 2;
  }
  if (exceptions && exceptionsLength >= 2) {
    data->exceptionCount = ReBe16(exceptions);
    data->exceptions = exceptions + 2;
    data->exceptionsLength = exceptionsLength - 2;
  }
  if (prefixes && prefixesLength >= 2) {
    const u32 groups = ReBe16(prefixes);
    const u32 head = 2 + 4 * groups + 512 + 2;
    if (prefixesLength >= head) {
      const u32 entriesLength = ReBe16(prefixes + head - 2);
      if (prefixesLength - head >= entriesLength) {
        data->groupCount = static_cast<u16>(groups);
        data->groupRows = prefixes + 2;
        data->thirdTable = prefixes + 2 + 4 * groups;
        data->fourthTable = data->thirdTable + 256;
        data->entries = prefixes + head;
        data->entriesLength = entriesLength;
      }
    }
  }
  if (fragments && fragmentsLength >= 4) {
    const u32 count = ReBe16(fragments + 2);
    if ((fragmentsLength - 4) / ReFragmentRecordSize >= count) {
      data->fragmentSwitch = fragments[0] != 0;
      data->fragmentCount = static_cast<u16>(count);
      data->fragments = fragments + 4;
    }
  }
}

u8 ReRuleValue(const ReSpellingData& data, u32 row, u32 pass) {
  const u32 at = row * data.ruleCount + pass;
  return data.rules && at < data.rulesLength ? data.rules[at] : 0;
}

bool ReExceptionPair(const ReSpellingData& data, u16 i, const char** typed, const char** correct) {
  if (!data.exceptions || i >= data.exceptionCount) return false;
  u32 at = 0;
  const char* strings[2] = {nullptr, nullptr};
  for (u32 pair = 0; pair <= i; ++pair) {
    for (const char*& s : strings) {
      const void* end = std::memchr(data.exceptions + at, 0, data.exceptionsLength - at);
      if (!end) return false;
      s = reinterpret_cast<const char*>(data.exceptions + at);
      at = static_cast<u32>(static_cast<const u8*>(end) - data.exceptions) + 1;
      if (at > data.exceptionsLength) return false;
    }
  }
  *typed = strings[0];
  *correct = strings[1];
  return true;
}

bool ReFragmentAt(const ReSpellingData& data, u16 i, ReFragmentText* out) {
  if (!data.fragments || i >= data.fragmentCount) return false;
  const u8* record = data.fragments + i * ReFragmentRecordSize;
  out->indexText = record;
  out->indexLength = record[4];
  out->typedText = record + 5;
  out->typedLength = record[9];
  return out->indexLength >= 1 && out->indexLength <= ReFragmentTextSize && out->typedLength >= 1 &&
         out->typedLength <= ReFragmentTextSize;
}

bool RePrefixListCursor::NextGroup() {
  const i32 groups = data_.groupCount;
  if (!data_.entries || group_ + 1 >= groups) return false;
  ++group_;
  const u8* rows = data_.groupRows;
  first_ = rows[group_];
  second_ = rows[groups + group_];
  auto start = [&](i32 g) { return static_cast<u32>(rows[2 * groups + g] << 8 | rows[3 * groups + g]); };
  at_ = start(group_);
  end_ = group_ + 1 < groups ? start(group_ + 1) : data_.entriesLength;
  if (end_ > data_.entriesLength) end_ = data_.entriesLength;
  third_ = fourth_ = ' ';
  return true;
}

bool RePrefixListCursor::NextKey(u8 key[4]) {
  if (group_ < 0 || at_ >= end_) return false;
  const u8 code = data_.entries[at_++];
  u8 third, fourth;
  if (code == 255) {
    if (end_ - at_ < 2) {
      at_ = end_;
      return false;
    }
    third = data_.entries[at_];
    fourth = data_.entries[at_ + 1];
    at_ += 2;
  } else {
    third = data_.thirdTable[code];
    fourth = data_.fourthTable[code];
  }
  // A character 0 repeats the previous entry's.
  if (third) third_ = third;
  if (fourth) fourth_ = fourth;
  key[0] = first_;
  key[1] = second_;
  key[2] = third_;
  key[3] = fourth_;
  return true;
}
