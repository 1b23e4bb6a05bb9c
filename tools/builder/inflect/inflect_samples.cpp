#include "inflect/inflect_samples.h"

#include <array>
#include <initializer_list>
#include <string>
#include <utility>

#include "in_api.h"
#include "in_descriptor.h"

namespace builder::inflect {

namespace {

// --------------------------------------------------------------- word forms

void AddForms(FormData& data, const std::string& base,
              std::initializer_list<std::pair<const char*, const char*>> forms) {
  for (const auto& [form, rule] : forms) data.entries.push_back({base, form, rule});
}

// ------------------------------------------------------------- French verbs

// Endings of the six persons of a tense.
using Persons = std::array<std::string, 6>;

// The same endings after a stem.
Persons operator+(const std::string& stem, const Persons& endings) {
  Persons joined;
  for (int person = 0; person < 6; ++person) joined[person] = stem + endings[person];
  return joined;
}

// Endings of the seven simple tenses (six persons each), the three
// imperative persons, the present participle and the two past participles.
struct FrenchEndings {
  Persons tenses[7];
  std::array<std::string, 3> imperative;
  std::string presentParticiple;
  std::array<std::string, 2> pastParticiple;
};

Paradigm FrenchVerb(const std::string& name, const std::string& tag, const std::string& replacement,
                    const FrenchEndings& e) {
  Paradigm p{name, tag + "vn", {{tag + "vn", "", ""}}};
  const char letters[] = "pmfcsrj";
  for (int t = 0; t < 7; ++t)
    for (int person = 0; person < 6; ++person) {
      const std::string code = tag + "v" + letters[t] + (person < 3 ? "s" : "p") + char('1' + person % 3);
      p.slots.push_back({code, e.tenses[t][person], replacement});
    }
  const char* imperativeCodes[] = {"vvs2", "vvp1", "vvp2"};
  for (int i = 0; i < 3; ++i) p.slots.push_back({tag + imperativeCodes[i], e.imperative[i], replacement});
  p.slots.push_back({tag + "vysiim", e.presentParticiple, replacement});
  p.slots.push_back({tag + "vzsiim", e.pastParticiple[0], replacement});
  p.slots.push_back({tag + "vzpiim", e.pastParticiple[1], replacement});
  return p;
}

// The endings every group shares, after the group's stems. The conditional
// is the future's stem with the imperfect's endings; the simple past and the
// imperfect subjunctive go by the vowel of the past (a or i).
const Persons kImperfect = {"ais", "ais", "ait", "ions", "iez", "aient"};
const Persons kFuture = {"ai", "as", "a", "ons", "ez", "ont"};
const Persons kSubjunctive = {"e", "es", "e", "ions", "iez", "ent"};
const Persons kPastInA = {"ai", "as", "a", "\xE2mes", "\xE2tes", "\xE8rent"};
const Persons kPastSubjunctiveInA = {"asse", "asses", "\xE2t", "assions", "assiez", "assent"};
const Persons kPastInI = {"is", "is", "it", "\xEEmes", "\xEEtes", "irent"};
const Persons kPastSubjunctiveInI = {"isse", "isses", "\xEEt", "issions", "issiez", "issent"};

const FrenchEndings kFirstGroup = {
    {{"e", "es", "e", "ons", "ez", "ent"},
     kImperfect,
     "er" + kFuture,
     "er" + kImperfect,
     kSubjunctive,
     kPastInA,
     kPastSubjunctiveInA},
    {"e", "ons", "ez"},
    "ant",
    {"\xE9", "\xE9s"},
};

const FrenchEndings kSecondGroup = {
    {{"is", "is", "it", "issons", "issez", "issent"},
     "iss" + kImperfect,
     "ir" + kFuture,
     "ir" + kImperfect,
     "iss" + kSubjunctive,
     kPastInI,
     kPastSubjunctiveInI},
    {"is", "issons", "issez"},
    "issant",
    {"i", "is"},
};

const FrenchEndings kThirdGroup = {
    {{"s", "s", "", "ons", "ez", "ent"},
     kImperfect,
     "r" + kFuture,
     "r" + kImperfect,
     kSubjunctive,
     kPastInI,
     kPastSubjunctiveInI},
    {"s", "ons", "ez"},
    "ant",
    {"u", "us"},
};

// Irregular verbs: whole forms replacing the whole infinitive.
const FrenchEndings kAller = {
    {{"vais", "vas", "va", "allons", "allez", "vont"},
     "all" + kImperfect,
     "ir" + kFuture,
     "ir" + kImperfect,
     {"aille", "ailles", "aille", "allions", "alliez", "aillent"},
     "all" + kPastInA,
     "all" + kPastSubjunctiveInA},
    {"va", "allons", "allez"},
    "allant",
    {"all\xE9", "all\xE9s"},
};

// Etre and avoir: their simple tenses are the engine's auxiliary table, from
// which it makes every verb's compound tenses; one table serves both.
FrenchEndings Auxiliary(const char* const (&tenses)[7][6], const std::array<std::string, 3>& imperative,
                        const std::string& presentParticiple, const std::array<std::string, 2>& pastParticiple) {
  FrenchEndings e;
  for (int t = 0; t < 7; ++t)
    for (int person = 0; person < 6; ++person) e.tenses[t][person] = tenses[t][person];
  e.imperative = imperative;
  e.presentParticiple = presentParticiple;
  e.pastParticiple = pastParticiple;
  return e;
}

}  // namespace

FormData SampleEnglishForms() {
  FormData data;
  data.tags = {"NN", "NNS", "VB", "VBZ", "VBD", "VBG", "VBN", "JJ", "JJR", "JJT"};
  data.rules = {{"noun", "NN", "NN"},        {"plural", "NNS", "NN"},   {"verb", "VB", "VB"},
                {"third", "VBZ", "VB"},      {"past", "VBD", "VB"},     {"gerund", "VBG", "VB"},
                {"participle", "VBN", "VB"}, {"adjective", "JJ", "JJ"}, {"comparative", "JJR", "JJ"},
                {"superlative", "JJT", "JJ"}};
  data.endings = {{"plural", "", "s"},       {"third", "s", ""},         {"plural", "ies", "y"},
                  {"plural", "sses", "ss"},  {"past", "ed", ""},         {"past", "ied", "y"},
                  {"gerund", "ing", ""},     {"plural", "y", "ies"},     {"plural", "ss", "sses"},
                  {"comparative", "er", ""}, {"superlative", "est", ""}, {"plural", "men", "man"},
                  {"plural", "man", "men"}};
  AddForms(data, "walk",
           {{"walk", "verb"}, {"walks", "third"}, {"walked", "past"}, {"walked", "participle"}, {"walking", "gerund"}});
  AddForms(data, "stop", {{"stop", "verb"}, {"stops", "third"}, {"stopped", "past"}, {"stopping", "gerund"}});
  AddForms(data, "try", {{"try", "verb"}, {"tries", "third"}, {"tried", "past"}, {"trying", "gerund"}});
  AddForms(data, "begin", {{"begin", "verb"}, {"begins", "third"}, {"beginning", "gerund"}});
  AddForms(data, "run", {{"run", "verb"}, {"runs", "third"}, {"running", "gerund"}});
  AddForms(data, "city", {{"city", "noun"}, {"cities", "plural"}});
  AddForms(data, "class", {{"class", "noun"}, {"classes", "plural"}});
  AddForms(data, "walk", {{"walks", "plural"}});
  AddForms(data, "tall", {{"tall", "adjective"}, {"taller", "comparative"}, {"tallest", "superlative"}});
  return data;
}

ConjugationData SampleFrenchConjugation() {
  const InDescriptor& french = *InFindDescriptor(InFrench);
  ConjugationData data;
  data.tableIndex = 5;
  data.paradigms = {
      FrenchVerb("first group", "VB", "er", kFirstGroup),
      FrenchVerb("second group", "VB", "ir", kSecondGroup),
      FrenchVerb("third group", "VB", "re", kThirdGroup),
      FrenchVerb("aller", "VB", "aller", kAller),
      FrenchVerb("\xEAtre", "BE", "\xEAtre",
                 Auxiliary(french.etre, {"sois", "soyons", "soyez"}, "\xE9tant", {"\xE9t\xE9", "\xE9t\xE9"})),
      FrenchVerb("avoir", "HV", "avoir", Auxiliary(french.avoir, {"aie", "ayons", "ayez"}, "ayant", {"eu", "eus"})),
      {"noun", "NNnsm", {{"NNnsm", "", ""}, {"NNnpm", "s", ""}}},
      {"feminine noun", "NNnsf", {{"NNnsf", "", ""}, {"NNnpf", "s", ""}}},
      {"noun in -al", "NNnsm", {{"NNnsm", "", ""}, {"NNnpm", "aux", "al"}}},
      {"noun of both genders", "NNnsi", {{"NNnsi", "", ""}, {"NNnpi", "s", ""}}},
      {"adjective", "JJjsm", {{"JJjsm", "", ""}, {"JJjpm", "s", ""}, {"JJjsf", "e", ""}, {"JJjpf", "es", ""}}},
      {"adjective in -eux",
       "JJjsm",
       {{"JJjsm", "", ""}, {"JJjpm", "eux", "eux"}, {"JJjsf", "euse", "eux"}, {"JJjpf", "euses", "eux"}}},
  };
  data.headwords = {
      {"aimer", "first group"},
      {"parler", "first group"},
      {"habiter", "first group"},
      {"hurler", "first group", 0x01},   // aspirate h: no elision
      {"arriver", "first group", 0x02},  // compound tenses with etre
      {"laver", "first group"},
      {"\xE9"
       "crier",
       "first group", 0x06},  // reflexive: s'ecrier
      {"finir", "second group"},
      {"choisir", "second group"},
      {"vendre", "third group"},
      {"attendre", "third group"},
      {"aller", "aller", 0x02},
      {"\xEAtre", "\xEAtre"},
      {"avoir", "avoir"},
      {"chat", "noun"},
      {"c\xF7ur", "noun"},  // coeur, with the ligature of the data code
      {"cheval", "noun in -al"},
      {"maison", "feminine noun"},
      {"\xE9l\xE8ve", "noun of both genders"},
      {"petit", "adjective"},
      {"grand", "adjective"},
      {"heureux", "adjective in -eux"},
  };
  data.wordHash = {"l'",  "j'",    "m'",  "t'",  "s'",  "n'",    "d'",    "qu'",  "-t-il",  "-t-elle", "-t-on",
                   "-il", "-elle", "-on", "-je", "-tu", "-nous", "-vous", "-ils", "-elles", "-moi",    "-toi"};
  return data;
}

ConjugationData SampleEnglishConjugation() {
  ConjugationData data;
  data.tableIndex = 16;
  const auto regular = [](const std::string& name, std::initializer_list<Slot> slots) {
    Paradigm p{name, "VB", {{"VB", "", ""}}};
    p.slots.insert(p.slots.end(), slots);
    return p;
  };
  const auto whole = [](const std::string& name, const std::string& tag, const std::string& base,
                        std::initializer_list<std::pair<const char*, const char*>> forms) {
    Paradigm p{name, tag, {{tag, "", ""}}};
    for (const auto& [suffix, form] : forms) p.slots.push_back({tag + suffix, form, base});
    return p;
  };
  data.paradigms = {
      regular("verb", {{"VBZ", "s", ""}, {"VBD", "ed", ""}, {"VBG", "ing", ""}, {"VBN", "ed", ""}}),
      regular("verb in -y", {{"VBZ", "ies", "y"}, {"VBD", "ied", "y"}, {"VBG", "ying", "y"}, {"VBN", "ied", "y"}}),
      regular("verb in -e", {{"VBZ", "s", ""}, {"VBD", "d", ""}, {"VBG", "ing", "e"}, {"VBN", "d", ""}}),
      regular("verb in -p", {{"VBZ", "s", ""}, {"VBD", "pped", "p"}, {"VBG", "pping", "p"}, {"VBN", "pped", "p"}}),
      regular("verb in -t", {{"VBZ", "s", ""}, {"VBD", "t", ""}, {"VBG", "ing", ""}, {"VBN", "t", ""}}),
      whole("go", "VB", "go", {{"Z", "goes"}, {"D", "went"}, {"G", "going"}, {"N", "gone"}}),
      whole("be", "BE", "be",
            {{"M", "am"}, {"R", "are"}, {"Z", "is"}, {"D", "were"}, {"DZ", "was"}, {"G", "being"}, {"N", "been"}}),
      whole("have", "HV", "have", {{"Z", "has"}, {"D", "had"}, {"G", "having"}, {"N", "had"}}),
      whole("do", "DO", "do", {{"Z", "does"}, {"D", "did"}, {"G", "doing"}, {"N", "done"}}),
      {"noun", "NN", {{"NN", "", ""}, {"NN$", "'s", ""}, {"NNS", "s", ""}, {"NNS$", "s'", ""}}},
      {"noun in -y", "NN", {{"NN", "", ""}, {"NN$", "'s", ""}, {"NNS", "ies", "y"}, {"NNS$", "ies'", "y"}}},
      {"noun in -s", "NN", {{"NN", "", ""}, {"NN$", "'s", ""}, {"NNS", "es", ""}, {"NNS$", "es'", ""}}},
      {"noun in -man", "NN", {{"NN", "", ""}, {"NN$", "'s", ""}, {"NNS", "men", "man"}, {"NNS$", "men's", "man"}}},
      {"adjective", "JJ", {{"JJ", "", ""}, {"JJR", "er", ""}, {"JJT", "est", ""}}},
      {"adjective in -y", "JJ", {{"JJ", "", ""}, {"JJR", "ier", "y"}, {"JJT", "iest", "y"}}},
      {"adjective in -g", "JJ", {{"JJ", "", ""}, {"JJR", "gger", "g"}, {"JJT", "ggest", "g"}}},
  };
  constexpr std::uint8_t everywhere = 0xE0;  // the default variant flags
  data.headwords = {
      {"walk", "verb", 0, everywhere},
      {"walk", "noun", 0, everywhere},
      {"try", "verb in -y", 0, everywhere},
      {"like", "verb in -e", 0, everywhere},
      {"stop", "verb in -p", 0, everywhere},
      {"dream", "verb", 0, 0x80},        // American past "dreamed"
      {"dream", "verb in -t", 0, 0x40},  // British past "dreamt"
      {"go", "go", 0, everywhere},
      {"be", "be", 0, everywhere},
      {"have", "have", 0, everywhere},
      {"do", "do", 0, everywhere},
      {"dog", "noun", 0, everywhere},
      {"city", "noun in -y", 0, everywhere},
      {"class", "noun in -s", 0, everywhere},
      {"man", "noun in -man", 0, everywhere},
      {"woman", "noun in -man", 0, everywhere},
      {"tall", "adjective", 0, everywhere},
      {"happy", "adjective in -y", 0, everywhere},
      {"big", "adjective in -g", 0, everywhere},
  };
  data.wordHash = {"'s", "'ll", "'ve", "'re", "'d", "n't"};
  return data;
}

void WriteSampleInflection(const std::string& directory) {
  WriteFormFiles(directory, SampleEnglishForms());
  WriteConjugationFiles(directory, "infrb005.ram", "infrb005.dsk", SampleFrenchConjugation());
}

}  // namespace builder::inflect
