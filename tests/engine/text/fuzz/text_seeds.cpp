// Writes the seed corpus of the entry text fuzzer: entries compressed by the
// content builder with the tables of the default markup language.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "entry_text/entry_text.h"
#include "fuzz_case.h"

namespace {

namespace edb = builder::engine_db;
namespace et = builder::entry_text;

const edb::Table& Find(const edb::TextComponentSpec& text, std::uint16_t id) {
  for (const edb::Table& table : text.tables)
    if (table.id == id) return table;
  throw std::runtime_error("table missing");
}

std::uint32_t Be(const builder::Bytes& b, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = 0; i < width; ++i) value = value << 8 | b[at + i];
  return value;
}

void HostWords(const builder::Bytes& b, std::size_t from, std::size_t to, std::vector<std::uint8_t>& out) {
  for (std::size_t at = from; at + 1 < to; at += 2) {
    const auto word = static_cast<std::uint16_t>(Be(b, at, 2));
    const auto* p = reinterpret_cast<const std::uint8_t*>(&word);
    out.insert(out.end(), p, p + 2);
  }
}

textfuzz::Case CaseOf(const std::vector<std::string>& entries, std::uint8_t capacity, std::uint8_t options) {
  et::EntryTextSpec spec;
  spec.entries = entries;
  spec.compress.groupSize = 2;
  const edb::TextComponentSpec text = et::EntryTextComponent(spec);
  textfuzz::Case c;
  c.head.codeWidth = static_cast<std::uint8_t>(text.codeWidth);
  c.head.groupShift = 1;
  c.head.capacity = capacity;
  c.head.options = options;
  c.head.terminalCount = *Find(text, 60).elementCount;
  c.head.endCode = 0;
  c.head.entryCount = static_cast<std::uint16_t>(text.entryCount);
  c.sections[textfuzz::kGroups] = Find(text, 10).data;
  c.sections[textfuzz::kFirst] = Find(text, 20).data;
  c.sections[textfuzz::kSecond] = Find(text, 30).data;
  c.sections[textfuzz::kPool] = Find(text, 60).data;
  c.sections[textfuzz::kStream] = text.codeStream;
  const builder::Bytes& automaton = Find(text, 80).data;
  const std::size_t count = Be(automaton, 0, 4), names = Be(automaton, 4, 4);
  HostWords(automaton, 4 + 4 * count, names, c.sections[textfuzz::kEntries]);
  c.sections[textfuzz::kNames].assign(automaton.begin() + static_cast<std::ptrdiff_t>(names), automaton.end());
  const builder::Bytes& markup = Find(text, 90).data;
  c.head.elements = static_cast<std::uint16_t>(Be(markup, 0, 2));
  c.head.transitions = static_cast<std::uint16_t>(Be(markup, 2, 2));
  c.head.sequences = static_cast<std::uint16_t>(Be(markup, 4, 2));
  c.head.codeLists = static_cast<std::uint16_t>(Be(markup, 8, 2));
  const std::size_t words = 4u * c.head.elements + 2u * c.head.transitions + c.head.sequences + c.head.codeLists;
  HostWords(markup, 26, 26 + 2 * words, c.sections[textfuzz::kWords]);
  c.sections[textfuzz::kPrograms].assign(markup.begin() + static_cast<std::ptrdiff_t>(26 + 2 * words), markup.end());
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: entry_text_seeds <directory>\n");
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    const std::vector<std::vector<std::string>> sets = {
        {"<DS>Paris\n<P>Paris is the <B>capital</B> of <XR>France<HID>12</HID></XR>.\n<H>History</H>\nWell-being, "
         "x<UP>2</UP> and H<LO>2</LO>O <PL>plain</PL>.",
         "<WD>cat\xb7"
         "a\xb7log<UP>2</UP>\n<PS>noun <SN>a list <SN>an index <SR>one <SL>two",
         ""},
        {"<MB>Map<HID>7</HID></MB> <{<}>tag<{>}> and <{a}> <XR 99>Rome</XR> <FOO bar>x", std::string(300, 'w'),
         "a b c d e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m n o p"},
    };
    int n = 0;
    for (const auto& entries : sets)
      for (std::uint8_t options : {0, 1, 3}) {
        const auto bytes = textfuzz::Serialize(CaseOf(entries, static_cast<std::uint8_t>(n * 37), options));
        std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "entry_text_seeds: %s\n", error.what());
    return 1;
  }
  return 0;
}
