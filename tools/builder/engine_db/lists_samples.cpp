#include "engine_db/lists_samples.h"

#include <stdexcept>

#include "common/byte_writer.h"
#include "content/sample_content.h"
#include "dictionary/dictionary_sample.h"

namespace builder::engine_db {

namespace {

StringTableSpec EnglishLabels(const std::string& work) {
  StringTableSpec strings;
  strings.version = 1;
  strings.capabilityMask = 0x81;
  strings.records = {
      {0, 0, work, ""},
      {1, kClassNoun, "n.", "noun"},
      {1, kClassVerb, "v.", "verb"},
      {1, kClassAdjective, "adj.", "adjective"},
      {1, kClassAdverb, "adv.", "adverb"},
      {1, kClassAbbreviation, "abbr.", "abbreviation"},
      {2, 0, "Senses", ""},
      {2, 1, "Synonyms", ""},
      {2, 2, "Related words", ""},
      {2, 3, "Antonyms", ""},
      {2, 6, "See also", ""},
  };
  return strings;
}

}  // namespace

DictionarySpec EnglishDictionary() {
  DictionarySpec d;
  d.databaseId = 1101;
  d.kind = 16;
  d.entries = {
      "<WD>cat<PS>1\n<DS>a small domesticated feline\n<SY>kitty<D1>puss</SY>\n<AN>dog",                 // 1
      "<WD>bass<UP>1</UP><PS>1\n<DS>a freshwater fish",                                                 // 2
      "<WD>bass<UP>2</UP><PS>1\n<DS>the lowest part in music",                                          // 3
      "<WD>run<PS>2\n<DS>to move quickly on foot\n<SY>dash<DF>run fast<D1>sprint</SY>\n<CR>race<IL>7",  // 4
      "<WD>reali<{sz}>e<PS>2\n<DS>to become aware of",                                                  // 5
      "<WD>Polish<PS>3\n<DS>of Poland",                                                                 // 6
      "<WD>polish<PS>2\n<DS>to make smooth and shiny",                                                  // 7
      "<WD>e-mail<PS>1\n<DS>electronic mail",                                                           // 8
      "<WD>etc.<PS>5\n<DS>and so on",                                                                   // 9
      "<WD>NASA<PS>1\n<DS>the space agency",                                                            // 10
      "<WD>walk<PS>2\n<DS>to move on foot\n<SY>stroll<D1>amble</SY>",                                   // 11
      "<WD>race<PS>1\n<DS>a contest of speed",                                                          // 12
  };
  d.headwords = {
      {"cat", 1, kClassNoun, 0},
      {"cats", 1, kClassNoun, kFeaturePlural},
      {"bass", 2, kClassNoun, 0},
      {"bass", 3, kClassNoun, 0},
      {"run", 4, kClassVerb, kFeaturePresent},
      {"run", 4, kClassVerb, kFeatureParticiple},  // the same entry and word: one slot
      {"ran", 4, kClassVerb, kFeaturePast},
      {"running", 4, kClassVerb, kFeatureProgressive},
      {"realize", 5, kClassVerb, 0},
      {"realise", 5, kClassVerb, 0},
      {"Polish", 6, kClassAdjective, 0},
      {"polish", 7, kClassVerb, 0},
      {"e-mail", 8, kClassNoun, 0},
      {"email", 8, kClassNoun, 0},
      {"etc.", 9, kClassAbbreviation, 0},
      {"NASA", 10, kClassNoun, 0},
      {"walk", 11, kClassVerb, kFeaturePresent},
      {"race", 12, kClassNoun, 0},
  };
  d.strings = EnglishLabels("English Dictionary");
  // Endings the term analysis cuts off (walked, walking, walks).
  d.wordHash = {"ed", "ing", "es"};
  return d;
}

ThesaurusSpec EnglishThesaurus() {
  ThesaurusSpec t;
  t.databaseId = 1102;
  t.kind = 16;
  t.rings = {
      {{"cat", kClassNoun}, {"feline", kClassNoun}, {"kitty", kClassNoun}},
      {{"run", kClassVerb}, {"dash", kClassVerb}, {"sprint", kClassVerb}, {"race", kClassVerb}},
      {{"run", kClassNoun}, {"trip", kClassNoun}, {"jaunt", kClassNoun}},
      {{"fast", kClassAdjective}, {"quick", kClassAdjective}, {"rapid", kClassAdjective}},
      {{"Polish", kClassAdjective}},
      // The headwords of the reader sample's dictionary articles.
      {{"aardvark", kClassNoun}, {"ant bear", kClassNoun}, {"earth pig", kClassNoun}},
      {{"comet", kClassNoun}, {"shooting star", kClassNoun}, {"meteor", kClassNoun}},
      {{"volcano", kClassNoun}, {"crater", kClassNoun}, {"fire mountain", kClassNoun}},
      {{"zebra", kClassNoun}, {"quagga", kClassNoun}},
  };
  t.strings = EnglishLabels("Thesaurus");
  return t;
}

DictionarySpec FrenchEnglishDictionary() {
  DictionarySpec d;
  d.databaseId = 1104;
  d.kind = 5;
  d.textMode = true;
  d.capabilityMask = 0xC1;  // option 64 folds the accents of capitals
  d.entries = {
      "<WD>\xE9t\xE9\n\xE9t\xE9<DS>n.m.<SY>summer\n\xE9t\xE9<DS>p.p.<SY>been",  // 1 ete
      "<WD>\xE9l\xE8ve\n\xE9l\xE8ve<DS>n.<SY>pupil<D1>student",                 // 2 eleve
      "<WD>ch\xE2teau\nch\xE2teau<DS>n.m.<SY>castle<D1>manor",                  // 3 chateau
      "<WD>gar\xE7on\ngar\xE7on<DS>n.m.<SY>boy<D1>waiter",                      // 4 garcon
      "<WD>d\xE9j\xE0\nd\xE9j\xE0<DS>adv.<SY>already",                          // 5 deja
      "<WD>chanter\nchanter<DS>v.<SY>to sing\n<AN>se taire",                    // 6
      "<WD>\xC9TAT\n\xC9TAT<DS>n.m.<SY>STATE",                                  // 7 ETAT
  };
  d.headwords = {
      {"\xE9t\xE9", 1, kClassNoun, 0},
      {"\xE9l\xE8ve", 2, kClassNoun, 0},
      {"ch\xE2teau", 3, kClassNoun, 0},
      {"gar\xE7on", 4, kClassNoun, 0},
      {"d\xE9j\xE0", 5, kClassAdverb, 0},
      {"chanter", 6, kClassVerb, 0},
      {"chante", 6, kClassVerb, kFeaturePresent},
      {"\xC9TAT", 7, kClassNoun, 0},
  };
  d.strings.version = 1;
  d.strings.capabilityMask = 0xC1;
  d.strings.records = {
      {0, 0,
       "Fran\xE7"
       "ais-Anglais",
       ""},
      {2, 1, "Traductions", ""},
      {2, 3, "Antonymes", ""},
  };
  // Elided articles: "l'\xE9t\xE9" is looked up as "\xE9t\xE9".
  d.wordHash = {"l'", "d'"};
  return d;
}

void WriteSampleDictionaries(const std::string& directory) {
  // A larger content set brings its own thesaurus and dictionary.
  if (const ExtraContent* extra = CurrentExtraContent()) {
    for (const char* name : {"QUIRN.DAT", "R053F540.DAT"})
      if (!extra->databases.count(name)) throw std::logic_error(std::string("the content set has no ") + name);
    for (const char* name : {"QUIRN.DAT", "R053F540.DAT"})
      WriteFileAtomically(JoinPath(directory, name), extra->databases.at(name));
    return;
  }
  Write(JoinPath(directory, "QUIRN.DAT"), ThesaurusDatabase(EnglishThesaurus()).database);
  // With the spelling tables of its headwords for the dictionary screen's spelling help.
  const DictionarySpec frenchEnglish = FrenchEnglishDictionary();
  Database french = DictionaryDatabase(frenchEnglish);
  dictionary::AddSpellingTables(french, frenchEnglish.headwords);
  Write(JoinPath(directory, "R053F540.DAT"), french);
}

}  // namespace builder::engine_db
