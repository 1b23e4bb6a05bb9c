#include "library/quiz_maker.h"

#include <algorithm>
#include <set>

#include "library/gcide_characters.h"
#include "library/linked_text.h"
#include "library/text_encoding.h"
#include "library/wordnet.h"

namespace builder::library {

namespace {

constexpr std::size_t kAnswers = 4;
constexpr std::size_t kLongestDefinition = 400;

// FNV-1a: the same order on every build and every compiler.
std::uint32_t Hash(const std::string& text) {
  std::uint32_t hash = 2166136261u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

// A Windows-1252 letter without its accent, lower case; 0 for what is no
// letter or digit.
std::string Folded(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return std::string(1, static_cast<char>(c + 32));
  if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return std::string(1, static_cast<char>(c));
  if (c == 0x8C || c == 0x9C) return "oe";
  if (c == 0xC6 || c == 0xE6) return "ae";
  if (c == 0xDF) return "ss";
  if (c >= 0xC0) {
    static const char kBase[] = "aaaaaaaceeeeiiiidnooooo/ouuuuyts";  // 0xC0-0xDF, and 0xE0-0xFF alike
    const char base = kBase[(c - 0xC0) & 0x1F];
    if (base != '/' && base != 'd' && base != 't' && base != 's') return std::string(1, base);
  }
  return "";
}

std::string Normalised(const std::string& text) {
  std::string out;
  for (char c : text) out += Folded(static_cast<unsigned char>(c));
  return out;
}

// The words of a text, each normalised.
std::vector<std::string> NormalisedWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + " ") {
    const std::string folded = Folded(static_cast<unsigned char>(c));
    if (!folded.empty()) {
      word += folded;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

bool IsLittleWord(const std::string& word) {
  static const std::set<std::string> little = {"a",   "an", "the", "of", "and",  "or", "in", "on",
                                               "for", "to", "at",  "by", "with", "is", "as", "de"};
  return little.count(word) > 0;
}

std::size_t CommonStart(const std::string& a, const std::string& b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

// Whether two normalised words share their stem: five letters or more at
// their start, or the whole of the shorter one (of at least `shortest`
// letters), or all of it but a last letter ("cache", "caching").
bool SameStem(const std::string& a, const std::string& b, std::size_t shortest) {
  const std::size_t common = CommonStart(a, b), shorter = std::min(a.size(), b.size());
  return common >= 5 || (common == shorter && common >= shortest) || (common >= 4 && common + 1 == shorter);
}

// Whether a word of a text gives away a word of an answer: the same word; a
// word that starts with an answer word of three letters ("catenate", "cat");
// for words of four letters or more, one of the same stem.
bool GivesAway(const std::string& word, const std::string& answerWord) {
  if (word == answerWord) return true;
  if (answerWord.size() == 3 && word.rfind(answerWord, 0) == 0) return true;
  if (answerWord.size() < 4 || word.size() < 4) return false;
  return SameStem(word, answerWord, 4);
}

// Whether the text names the answer, a word of it or of its stem, or spells
// it out in initials.
bool TextGivesAway(const std::string& text, const std::string& answer) {
  const std::vector<std::string> words = NormalisedWords(text);
  std::string joined, initials;
  for (const std::string& word : words) {
    joined += word;
    initials += word[0];
  }
  const std::string spelled = Normalised(answer);
  if (spelled.size() >= 4 && joined.find(spelled) != std::string::npos) return true;
  for (const std::string& answerWord : NormalisedWords(answer)) {
    if (IsLittleWord(answerWord)) continue;
    for (const std::string& word : words)
      if (GivesAway(word, answerWord)) return true;
  }
  // "(QIC)" is the initials of "Quarter Inch Cartridge".
  const std::vector<std::string> answerWords = NormalisedWords(answer);
  if (answerWords.size() >= 3) {
    std::string answerInitials;
    for (const std::string& word : answerWords) answerInitials += word[0];
    if (std::find(words.begin(), words.end(), answerInitials) != words.end()) return true;
  }
  // "International Business Machines" spells "IBM" out.
  const bool acronym = spelled.size() >= 3 && std::all_of(answer.begin(), answer.end(), [](char c) {
                         return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '-' || c == '&';
                       });
  return acronym && initials.find(spelled) != std::string::npos;
}

// An answer a person can read as one and would be glad to see: it starts
// and ends with a letter or a digit ("ex-" is no word) and is no oath.
bool Readable(const std::string& answer) {
  static const std::set<std::string> coarse = {"arse", "ass",  "asshole", "bastard", "bitch", "bollocks", "cock",
                                               "cunt", "dick", "fuck",    "fucking", "piss",  "prick",    "shit",
                                               "slut", "tits", "twat",    "wank",    "whore"};
  if (answer.empty() || Folded(static_cast<unsigned char>(answer.front())).empty() ||
      Folded(static_cast<unsigned char>(answer.back())).empty())
    return false;
  for (const std::string& word : NormalisedWords(answer))
    if (coarse.count(word)) return false;
  return true;
}

// The text without the pronunciation FOLDOC starts some articles with ("/kwik/").
std::string WithoutPronunciation(const std::string& text) {
  if (text.empty() || text[0] != '/') return text;
  const std::size_t end = text.find("/ ", 1);
  return end == std::string::npos || end > 40 ? text : text.substr(end + 2);
}

// The text without a quotation's source at its end (" --Gray.").
std::string WithoutSource(const std::string& text) {
  const std::size_t dashes = text.rfind(" --");
  if (dashes == std::string::npos || dashes < text.size() / 2 || text.size() - dashes > 40) return text;
  return text.substr(0, dashes);
}

bool StartsWithAny(const std::string& text, std::initializer_list<const char*> starts) {
  for (const char* start : starts)
    if (text.rfind(start, 0) == 0) return true;
  return false;
}

// The first sentences of the text, up to about 80 bytes and at most 400.
std::string FirstSentences(const std::string& text) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size() && out.size() < 80) {
    std::size_t end = at;
    for (;;) {
      end = text.find(". ", end);
      if (end == std::string::npos) {
        end = text.size();
        break;
      }
      const char next = end + 2 < text.size() ? text[end + 2] : 'A';
      if (next >= 'A' && next <= 'Z') {
        ++end;  // the full stop
        break;
      }
      end += 2;
    }
    const std::string sentence = Trim(text.substr(at, end - at));
    if (!out.empty() && out.size() + 1 + sentence.size() > kLongestDefinition) break;
    out += (out.empty() ? "" : " ") + sentence;
    at = end;
  }
  // A sentence cut at a semicolon ends without it.
  while (!out.empty() && (out.back() == ';' || out.back() == ',' || out.back() == ':')) out.pop_back();
  if (out.size() > kLongestDefinition) {
    std::size_t cut = out.rfind(' ', kLongestDefinition - 3);
    if (cut == std::string::npos) cut = kLongestDefinition - 3;
    out = out.substr(0, cut) + "...";
  }
  return out;
}

// Every whole-word occurrence of the name, in any case, replaced by "...".
std::string TakeOut(const std::string& text, const std::string& name) {
  if (name.empty()) return text;
  std::string lowerText = text, lowerName = name;
  for (char& c : lowerText) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : lowerName) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto isWord = [](char c) { return !Folded(static_cast<unsigned char>(c)).empty(); };
  std::string out;
  std::size_t at = 0;
  for (std::size_t found = lowerText.find(lowerName); found != std::string::npos;
       found = lowerText.find(lowerName, found + 1)) {
    if (found < at) continue;
    const std::size_t end = found + name.size();
    const bool whole = (found == 0 || !isWord(text[found - 1]) || !isWord(name.front())) &&
                       (end == text.size() || !isWord(text[end]) || !isWord(name.back()));
    if (!whole) continue;
    out += text.substr(at, found - at) + "...";
    at = end;
  }
  return out + text.substr(at);
}

// Plain text of a definition with references: the references' words.
std::string Plain(const std::string& text) {
  std::string out;
  for (const TextPiece& piece : ParseBraces(text)) out += piece.text;
  return CollapseBlanks(out);
}

std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

// GCIDE's field marks and the categories they make.
const std::vector<std::pair<std::string, std::string>>& GcideFields() {
  static const std::vector<std::pair<std::string, std::string>> fields = {
      {"(Zool.)", "Zoology"},      {"(Zo\xF6l.)", "Zoology"}, {"(Bot.)", "Botany"},       {"(Med.)", "Medicine"},
      {"(Anat.)", "Anatomy"},      {"(Chem.)", "Chemistry"},  {"(Naut.)", "Seafaring"},   {"(Mus.)", "Music"},
      {"(Arch.)", "Architecture"}, {"(Mil.)", "Warfare"},     {"(Math.)", "Mathematics"}, {"(Astron.)", "Astronomy"},
      {"(Geol.)", "Geology"},      {"(Law)", "Law"},          {"(Physics)", "Physics"},   {"(Her.)", "Heraldry"},
      {"(Gram.)", "Grammar"},      {"(Min.)", "Minerals"},    {"(Eccl.)", "The Church"},  {"(Mech.)", "Mechanics"},
      {"(Print.)", "Printing"},
  };
  return fields;
}

// The categories of a quiz in the order of their sizes (ties by name), at
// most `most`, passing over a name already taken.
void Largest(const std::map<std::string, std::size_t>& sizes, std::size_t most,
             const std::function<std::string(const std::string&)>& shown, std::vector<std::string>* order,
             std::map<std::string, std::string>* names) {
  std::vector<std::pair<std::string, std::size_t>> ranked(sizes.begin(), sizes.end());
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  std::set<std::string> taken;
  for (const auto& [category, name] : *names) taken.insert(Normalised(name));
  std::size_t added = 0;
  for (const auto& [category, size] : ranked) {
    if (added == most || size < kAnswers) break;
    const std::string name = shown(category);
    if (!taken.insert(Normalised(name)).second) continue;
    order->push_back(category);
    (*names)[category] = name;
    ++added;
  }
}

void Count(const quiz::Quiz& quiz, QuizFigures* figures) {
  *figures = {};
  for (const quiz::Category& category : quiz.categories)
    figures->perCategory[category.name] = category.questions.size();
  figures->questions = quiz.questions.size();
}

}  // namespace

bool Alike(const std::string& a, const std::string& b) {
  const std::string x = Normalised(a), y = Normalised(b);
  if (x.empty() || y.empty()) return x == y;
  return x == y || SameStem(x, y, 3);
}

std::optional<std::string> DefinitionWithoutTerm(const std::string& definition, const std::vector<std::string>& names) {
  const std::string whole = CollapseBlanks(definition);
  if (StartsWithAny(whole, {"See ", "see ", "Same as", "same as", "Alt. of", "Var. of", "Abbreviation",
                            "An abbreviation", "pl. ", "Pl. ", "imp. ", "p. p.", "Plural of", "Obs.", "= "}))
    return std::nullopt;
  std::vector<std::string> longestFirst = names;
  std::stable_sort(longestFirst.begin(), longestFirst.end(),
                   [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  std::string text = FirstSentences(whole);
  for (const std::string& name : longestFirst) text = TakeOut(text, name);
  if (NormalisedWords(text).size() < 6) return std::nullopt;
  for (const std::string& name : names)
    if (TextGivesAway(text, name)) return std::nullopt;
  return text;
}

quiz::Quiz MakeQuiz(const std::vector<QuizItem>& items, const std::vector<std::string>& order,
                    const std::map<std::string, std::string>& names, std::size_t perCategory) {
  std::map<std::string, std::vector<const QuizItem*>> byCategory;
  for (const QuizItem& item : items) byCategory[item.category].push_back(&item);
  quiz::Quiz quiz;
  std::set<std::string> asked;  // the right answers so far, normalised
  for (const std::string& category : order) {
    std::vector<const QuizItem*> members = byCategory[category];
    const auto byHash = [](const std::string& key) {
      return [key](const QuizItem* a, const QuizItem* b) {
        const std::uint32_t ha = Hash(key + a->answer), hb = Hash(key + b->answer);
        return ha != hb ? ha < hb : a->answer < b->answer;
      };
    };
    std::stable_sort(members.begin(), members.end(), byHash(""));
    quiz::Category shown{names.at(category), {}};
    for (const QuizItem* item : members) {
      if (shown.questions.size() == perCategory) break;
      if (!Readable(item->answer) || asked.count(Normalised(item->answer))) continue;
      const std::string text = Normalised(item->text);
      std::vector<const QuizItem*> others = members;
      std::stable_sort(others.begin(), others.end(), byHash(item->answer + "|"));
      std::vector<std::string> answers = {item->answer};
      for (const QuizItem* other : others) {
        if (answers.size() == kAnswers) break;
        const std::string& wrong = other->answer;
        const bool alike =
            std::any_of(answers.begin(), answers.end(), [&](const std::string& a) { return Alike(a, wrong); }) ||
            std::any_of(item->alsoRight.begin(), item->alsoRight.end(),
                        [&](const std::string& a) { return Alike(a, wrong); });
        const std::string spelled = Normalised(wrong);
        if (alike || !Readable(wrong) || text.find(spelled) != std::string::npos) continue;
        answers.push_back(wrong);
      }
      if (answers.size() < kAnswers) continue;
      // The right answer takes the place its hash gives it.
      const std::size_t right = Hash(item->answer) % kAnswers;
      std::swap(answers[0], answers[right]);
      quiz::Question question;
      question.text = item->text;
      question.answers = answers;
      question.rightAnswer = static_cast<std::uint8_t>(right + 1);
      question.clues[0] = item->clue;
      std::size_t block = question.text.size() + 1;
      for (const std::string& answer : answers) block += answer.size() + 1;
      if (block > 2048) continue;
      asked.insert(Normalised(item->answer));
      quiz.questions.push_back(std::move(question));
      shown.questions.push_back(static_cast<std::uint16_t>(quiz.questions.size()));
    }
    if (!shown.questions.empty()) quiz.categories.push_back(std::move(shown));
  }
  quiz.plainCount = static_cast<std::uint16_t>(quiz.questions.size());
  return quiz;
}

quiz::Quiz MakeEnglishQuiz(const std::vector<FoldocArticle>& foldoc, const std::vector<std::uint32_t>& foldocEntries,
                           const std::vector<GcideEntry>& gcide, const std::vector<std::uint32_t>& gcideEntries,
                           QuizFigures* figures) {
  std::vector<QuizItem> items;
  std::map<std::string, std::size_t> subjects, fields;
  for (std::size_t i = 0; i < foldoc.size(); ++i) {
    const FoldocArticle& article = foldoc[i];
    if (article.subjects.empty() || article.blocks.empty() || article.blocks[0].indented) continue;
    const auto definition = DefinitionWithoutTerm(WithoutPronunciation(Plain(article.blocks[0].text)), article.names);
    if (!definition) continue;
    const std::string category = "foldoc:" + article.subjects[0];
    items.push_back({category, "Which term does this describe? \"" + *definition + "\"", article.title, article.names,
                     foldocEntries[i]});
    ++subjects[category];
  }
  for (std::size_t i = 0; i < gcide.size(); ++i) {
    const GcideEntry& entry = gcide[i];
    for (const GcideEntry::Part& part : entry.parts) {
      using Kind = GcideEntry::Kind;
      if (part.kind != Kind::Sense && part.kind != Kind::SubSense && part.kind != Kind::Plain) continue;
      const std::string text = WithoutSource(GcideToWindows1252(Plain(part.text)));
      const auto field = std::find_if(GcideFields().begin(), GcideFields().end(),
                                      [&](const auto& f) { return text.rfind(f.first + " ", 0) == 0; });
      if (field == GcideFields().end()) continue;
      const auto definition = DefinitionWithoutTerm(text.substr(field->first.size() + 1), {entry.headword});
      if (definition) {
        const std::string category = "gcide:" + field->second;
        items.push_back({category,
                         "Which word does this describe? \"" + *definition + "\"",
                         entry.headword,
                         {entry.headword},
                         gcideEntries[i]});
        ++fields[category];
      }
      break;  // the entry's first marked sense only
    }
  }
  std::vector<std::string> order;
  std::map<std::string, std::string> names;
  Largest(
      subjects, 12, [](const std::string& c) { return Capitalised(c.substr(7)); }, &order, &names);
  Largest(
      fields, 10, [](const std::string& c) { return c.substr(6); }, &order, &names);
  quiz::Quiz quiz = MakeQuiz(items, order, names, 20);
  Count(quiz, figures);
  return quiz;
}

quiz::Quiz MakeFrenchQuiz(const std::vector<Translation>& translations,
                          const std::function<std::uint32_t(const std::string& word)>& englishEntry,
                          QuizFigures* figures) {
  struct Class {
    std::uint8_t wordClass;
    const char* category;
  };
  static const Class kClasses[] = {
      {kWordNoun, "Noms"}, {kWordVerb, "Verbes"}, {kWordAdjective, "Adjectifs"}, {kWordAdverb, "Adverbes"}};
  static const std::map<std::string, std::string> kPartNames = {
      {"n.m.", "nom masculin"},    {"n.f.", "nom f\xE9minin"},    {"n.", "nom"},        {"v.", "verbe"},
      {"v.t.", "verbe transitif"}, {"v.i.", "verbe intransitif"}, {"adj.", "adjectif"}, {"adv.", "adverbe"}};
  std::vector<QuizItem> items;
  for (const Translation& t : translations) {
    const auto cls = std::find_if(std::begin(kClasses), std::end(kClasses),
                                  [&](const Class& c) { return c.wordClass == t.wordClass && c.wordClass != 0; });
    if (cls == std::end(kClasses) || t.senses.empty() || t.senses[0].empty()) continue;
    const std::string& answer = t.senses[0][0];
    // An English verb is given as "to eat": its word is the verb's.
    const std::string word = answer.rfind("to ", 0) == 0 ? answer.substr(3) : answer;
    // Names ("Joir River") are no words to learn, and a word that is its
    // own translation, or shares a word or a stem with it, gives it away.
    const bool name = std::any_of(answer.begin(), answer.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    if (answer.size() > 40 || name || Alike(t.headword, word) || TextGivesAway(t.headword, word)) continue;
    std::vector<std::string> alsoRight;
    for (const std::vector<std::string>& sense : t.senses)
      for (const std::string& other : sense) alsoRight.push_back(other);
    alsoRight.push_back(t.headword);  // a wrong answer that looks like the word would give the right one away
    const auto part = kPartNames.find(t.partOfSpeech);
    const std::string named = part == kPartNames.end() ? "" : " (" + part->second + ")";
    items.push_back({cls->category, "Que veut dire \xAB\xA0" + t.headword + "\xA0\xBB" + named + " en anglais\xA0?",
                     answer, alsoRight, englishEntry(word)});
  }
  std::vector<std::string> order;
  std::map<std::string, std::string> names;
  for (const Class& c : kClasses) {
    order.push_back(c.category);
    names[c.category] = c.category;
  }
  quiz::Quiz quiz = MakeQuiz(items, order, names, 80);
  Count(quiz, figures);
  return quiz;
}

}  // namespace builder::library
