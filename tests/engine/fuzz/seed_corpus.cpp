// Writes the seed corpus of the database fuzzer: databases from the content
// builder with every component and table role the container loads.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "common/byte_writer.h"
#include "engine_db/lists_samples.h"
#include "engine_fixture.h"
#include "reader/reader_sample.h"

namespace {

using namespace enginetest;

// Four definitions with raw and run-length coded stored bits.
void AddSeedSubsets(edb::Database& database, bool eighteen) {
  std::vector<edb::SubsetDef> defs = {SubsetNode(1, 0, 16, 1, 20), SubsetNode(2, 1, 1, 1, 10),
                                      SubsetNode(3, 1, 2, 11, 20, std::vector<u32>{11, 13, 17}),
                                      SubsetNode(4, 0, 16, 21, 40, std::vector<u32>{21, 22, 23, 39}, true)};
  if (!eighteen)
    for (auto& def : defs) def.stored.reset();
  AddSubsets(database, defs, eighteen);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: engine_db_seeds <directory>\n");
    return 2;
  }
  try {
    const std::string directory = argv[1];
    std::filesystem::create_directories(directory);
    auto write = [&](const std::string& name, const edb::Database& database) {
      edb::Write(builder::JoinPath(directory, name), database);
    };
    write("plain.dat", SmallDatabase());

    edb::Database subsets = SmallDatabase();
    AddSeedSubsets(subsets, true);
    write("subsets18.dat", subsets);
    edb::Database subsets16 = SmallDatabase();
    AddSeedSubsets(subsets16, false);
    write("subsets16.dat", subsets16);

    edb::Database markup = SmallDatabase();
    TextOf(markup).tables.push_back(edb::AutomatonTable({{0, 0x2001}, {3, 5}}, {'a', 'b', 0, 0}));
    edb::MarkupSpec spec;
    spec.elements = {1, 0, 1, 0};
    spec.transitions = {0, 1};
    spec.sequences = {0xFFFF};
    spec.codeLists = {4097, 0xFFFF};
    spec.programs = {0, 0x05, 0x80, 0};
    TextOf(markup).tables.push_back(edb::MarkupTable(spec));
    write("markup.dat", markup);

    edb::Database index = SmallDatabase();
    index.header.variant = 8;
    index.header.lineRule = 4;
    index.components[1].tables.push_back({240, 8, std::nullopt, builder::Bytes(16, 1)});
    index.components[1].tables.push_back({310, 2, std::nullopt, {0, 7, 1, 0}});
    index.components[1].tables.push_back({280, 4, std::nullopt, builder::Bytes(512, 0)});
    index.components[1].tables.push_back({250, 1, std::nullopt, {1, 2, 3}});
    write("index.dat", index);

    // The sample content's databases: real index blocks, entry texts, a
    // search index, a thesaurus and a dictionary with string tables.
    for (const auto& [name, bytes] : builder::BuildReaderSample())
      if (name == "REN2F200.DAT") builder::WriteFileAtomically(builder::JoinPath(directory, "sample_main.dat"), bytes);
    const std::string scratch = builder::JoinPath(directory, "dictionaries");
    std::filesystem::create_directories(scratch);
    builder::engine_db::WriteSampleDictionaries(scratch);
    for (const char* name : {"QUIRN.DAT", "R053F540.DAT"})
      std::filesystem::rename(builder::JoinPath(scratch, name),
                              builder::JoinPath(directory, std::string("sample_") + name));
    std::filesystem::remove_all(scratch);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "engine_db_seeds: %s\n", error.what());
    return 1;
  }
  return 0;
}
