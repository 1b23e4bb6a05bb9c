#include "in_descriptor.h"

#include <cstring>

#include "in_api.h"

namespace {

constexpr u8 N = InClassNoun;
constexpr u8 J = InClassAdjective;
constexpr u8 V = InClassVerb;
constexpr i8 T = InTitleLine;

// The labels of the word classes and of a verb's first three title cells in
// each language, the same whichever language the data is in.
#define FRENCH_CLASS_TITLES "Nom", "Adjectif", "Verbe"
#define FRENCH_CLASS_ROWS \
  "D\xE9"                 \
  "clinaison du nom",     \
      "D\xE9"             \
      "clinaison de l'adjectif"
#define ENGLISH_CLASS_TITLES "Noun", "Adjective", "Verb"
#define ENGLISH_CLASS_ROWS "Noun forms", "Adjective forms"
#define FRENCH_TITLE_LABELS "Infinitif: ", "Participe pr\xE9sent: ", "Participe pass\xE9: "
#define ENGLISH_TITLE_LABELS "Infinitive: ", "Present participle: ", "Past participle: "

// ---------------------------------------------------------------- French data

const InDescriptorTag kFrenchTags[] = {{"NN", N}, {"JJ", J}, {"VB", V}, {"V1", V}, {"BE", V}, {"HV", V}};

const InPlace kFrenchPlaces[] = {
    {"nsm", N, 0, 1, {0}},    {"npm", N, 0, 1, {1}},    {"nsf", N, 0, 1, {2}},    {"npf", N, 0, 1, {3}},
    {"nsi", N, 0, 2, {2, 0}}, {"npi", N, 0, 2, {3, 1}}, {"jsm", J, 0, 1, {0}},    {"jpm", J, 0, 1, {1}},
    {"jsf", J, 0, 1, {2}},    {"jpf", J, 0, 1, {3}},    {"jsi", J, 0, 2, {2, 0}}, {"jpi", J, 0, 2, {3, 1}},
    {"vvs2", V, 14, 1, {1}},  {"vvp1", V, 14, 1, {3}},  {"vvp2", V, 14, 1, {4}},  {"vn", V, T, 1, {0}},
    {"vysiim", V, T, 1, {1}}, {"vzsiim", V, T, 1, {2}}, {"vzpiim", V, T, 1, {3}},
};

#define FRENCH_TENSES                                                                                         \
  "Pr\xE9sent", "Imparfait", "Futur", "Conditionnel pr\xE9sent", "Subjonctif pr\xE9sent", "Pass\xE9 simple",  \
      "Subjonctif imparfait", "Pass\xE9 compos\xE9", "Plus-que-parfait", "Futur ant\xE9rieur",                \
      "Conditionnel pass\xE9", "Subjonctif pass\xE9", "Pass\xE9 ant\xE9rieur", "Subjonctif plus-que-parfait", \
      "Imp\xE9ratif"

const InDescriptor kFrench = {
    5,
    kFrenchTags,
    sizeof kFrenchTags / sizeof kFrenchTags[0],
    2,
    {1, 1, 15},
    {4, 4, 6},
    kFrenchPlaces,
    sizeof kFrenchPlaces / sizeof kFrenchPlaces[0],
    {"je ", "tu ", "il ", "nous ", "vous ", "ils "},
    {"j'", nullptr, nullptr, nullptr, nullptr, nullptr},
    {"me ", "te ", "se ", "nous ", "vous ", "se "},
    {"m'", "t'", "s'", nullptr, nullptr, "s'"},
    {{"ai", "as", "a", "avons", "avez", "ont"},
     {"avais", "avais", "avait", "avions", "aviez", "avaient"},
     {"aurai", "auras", "aura", "aurons", "aurez", "auront"},
     {"aurais", "aurais", "aurait", "aurions", "auriez", "auraient"},
     {"aie", "aies", "ait", "ayons", "ayez", "aient"},
     {"eus", "eus", "eut", "e\xFBmes", "e\xFBtes", "eurent"},
     {"eusse", "eusses", "e\xFBt", "eussions", "eussiez", "eussent"}},
    {{"suis", "es", "est", "sommes", "\xEAtes", "sont"},
     {"\xE9tais", "\xE9tais", "\xE9tait", "\xE9tions", "\xE9tiez", "\xE9taient"},
     {"serai", "seras", "sera", "serons", "serez", "seront"},
     {"serais", "serais", "serait", "serions", "seriez", "seraient"},
     {"sois", "sois", "soit", "soyons", "soyez", "soient"},
     {"fus", "fus", "fut", "f\xFBmes", "f\xFBtes", "furent"},
     {"fusse", "fusses", "f\xFBt", "fussions", "fussiez", "fussent"}},
    {"-toi", "-nous", "-vous"},
    nullptr,
    0,
    nullptr,
    0,
    0,
    {{"fran\xE7"
      "ais",
      {FRENCH_CLASS_TITLES},
      {"n", "adj", "v"},
      {FRENCH_CLASS_ROWS},
      {FRENCH_TENSES},
      {FRENCH_TITLE_LABELS, ""},
      {"", "", "", ""},
      {"masculin singulier: ", "masculin pluriel: ", "f\xE9minin singulier: ", "f\xE9minin pluriel: "},
      {"masculin singulier: ", "masculin pluriel: ", "f\xE9minin singulier: ", "f\xE9minin pluriel: "}},
     {"French",
      {ENGLISH_CLASS_TITLES},
      {"n", "adj", "v"},
      {ENGLISH_CLASS_ROWS},
      {FRENCH_TENSES},
      {ENGLISH_TITLE_LABELS, ""},
      {"", "", "", ""},
      {"masculine singular: ", "masculine plural: ", "feminine singular: ", "feminine plural: "},
      {"masculine singular: ", "masculine plural: ", "feminine singular: ", "feminine plural: "}}},
};

// --------------------------------------------------------------- English data

const InDescriptorTag kEnglishTags[] = {{"NN", N}, {"JJ", J}, {"VB", V}, {"V1", V}, {"BE", V}, {"HV", V}, {"DO", V}};

// Each verb stem X: X is the infinitive, imperative and present; XD the past;
// XG and XN the participles; XZ the third person singular.
#define ENGLISH_STEM(X)                                                                                             \
  {X, V, T, 2, {3, 0}}, {X, V, 0, 5, {3, 0, 4, 1, 5}}, {X "D", V, 1, 6, {0, 1, 2, 3, 4, 5}}, {X "G", V, T, 1, {1}}, \
      {X "N", V, T, 1, {2}}, {                                                                                      \
    X "Z", V, 0, 1, { 2 }                                                                                           \
  }

const InPlace kEnglishPlaces[] = {
    ENGLISH_STEM("VB"),
    ENGLISH_STEM("V1"),
    ENGLISH_STEM("HV"),
    ENGLISH_STEM("DO"),
    {"BE", V, T, 2, {3, 0}},
    {"BEM", V, 0, 1, {0}},
    {"BER", V, 0, 4, {4, 1, 5, 3}},
    {"BEZ", V, 0, 1, {2}},
    {"BED", V, 1, 4, {3, 4, 1, 5}},
    {"BEDZ", V, 1, 2, {0, 2}},
    {"BEG", V, T, 1, {1}},
    {"BEN", V, T, 1, {2}},
    {"NN", N, 0, 1, {0}},
    {"NN$", N, 0, 1, {1}},
    {"NNS", N, 0, 1, {2}},
    {"NNS$", N, 0, 1, {3}},
    {"JJ", J, 0, 1, {0}},
    {"JJR", J, 0, 1, {1}},
    {"JJT", J, 0, 1, {2}},
};

const InCompoundRow kEnglishCompounds[] = {
    {2, 2, {"have ", "have ", "has ", "have ", "have ", "have "}},
    {3, 2, {"had ", "had ", "had ", "had ", "had ", "had "}},
    {4, 1, {"am ", "are ", "is ", "are ", "are ", "are "}},
    {5, 1, {"was ", "were ", "was ", "were ", "were ", "were "}},
    {6, 3, {"will ", "will ", "will ", "will ", "will ", "will "}},
    {7, 2, {"will have ", "will have ", "will have ", "will have ", "will have ", "will have "}},
};

const InMarkerMapping kEnglishMarkers[] = {{0x80, 0}, {0x40, 1}, {0x60, 2}};

#define ENGLISH_TENSES                                                                                       \
  "Present", "Past", "Present perfect", "Past perfect", "Present progressive", "Past progressive", "Future", \
      "Future perfect"

const InDescriptor kEnglish = {
    16,
    kEnglishTags,
    sizeof kEnglishTags / sizeof kEnglishTags[0],
    0,
    {1, 1, 8},
    {4, 3, 6},
    kEnglishPlaces,
    sizeof kEnglishPlaces / sizeof kEnglishPlaces[0],
    {"I ", "you ", "he/she/it ", "we ", "you ", "they "},
    {},
    {},
    {},
    {},
    {},
    {},
    kEnglishCompounds,
    sizeof kEnglishCompounds / sizeof kEnglishCompounds[0],
    kEnglishMarkers,
    sizeof kEnglishMarkers / sizeof kEnglishMarkers[0],
    0xE0,
    {{"English",
      {ENGLISH_CLASS_TITLES},
      {"n", "adj", "v"},
      {ENGLISH_CLASS_ROWS},
      {ENGLISH_TENSES},
      {ENGLISH_TITLE_LABELS, "Imperative: "},
      {" (Am)", " (Br)", " (Br)", " (Br)"},
      {"singular: ", "singular possessive: ", "plural: ", "plural possessive: "},
      {"adjective: ", "comparative adj.: ", "superlative adj.: ", ""}},
     {"Anglais",
      {FRENCH_CLASS_TITLES},
      {"n", "adj", "v"},
      {FRENCH_CLASS_ROWS},
      {ENGLISH_TENSES},
      {FRENCH_TITLE_LABELS, "Imp\xE9ratif: "},
      {" (Am)", " (Br)", " (Br)", " (Br)"},
      {"singulier: ", "possessif singulier: ", "pluriel: ", "possessif pluriel: "},
      {"adjectif: ", "adj. comparatif: ", "adj. superlatif: ", ""}}},
};

}  // namespace

const InDescriptor* InFindDescriptor(u8 tableIndex) {
  if (tableIndex == InFrench) return &kFrench;
  if (tableIndex == InEnglish) return &kEnglish;
  return nullptr;
}

const InLabelSet& InChooseLabels(const InDescriptor& d, u8 selector) {
  const u8 other = d.tableIndex == InFrench ? InEnglish : InFrench;
  return d.labels[selector == other ? 1 : 0];
}

bool InFrenchTenseCode(const char* code, u8* line, u8* cell) {
  if (std::strlen(code) != 4 || code[0] != 'v') return false;
  const char* tenses = "pmfcsrj";
  const char* tense = std::strchr(tenses, code[1]);
  if (!tense || code[1] == '\0' || (code[2] != 's' && code[2] != 'p') || code[3] < '1' || code[3] > '3') return false;
  *line = static_cast<u8>(tense - tenses);
  *cell = static_cast<u8>((code[2] == 'p' ? 3 : 0) + (code[3] - '1'));
  return true;
}
