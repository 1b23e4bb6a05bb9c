// The reader of the calendar package's files, the timeline made from their
// events, and the question maker, on small inputs written out by hand in the
// packages' own forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "library/calendar_file.h"
#include "library/calendar_timeline.h"
#include "library/quiz_maker.h"
#include "library/wordnet.h"
#include "quiz/quiz_writer.h"

namespace {

namespace lib = builder::library;

const char kHistory[] =
    "/*\n"
    " * History\n"
    " */\n"
    "\n"
    "#ifndef _calendar_history_\n"
    "LANG=UTF-8\n"
    "01/02\tCanada and the United States agree on a plan to preserve\n"
    "\tNiagara Falls, 1929\n"
    "01/04\tQuadrantid meteor shower (look north)\n"
    "Jan  7\tFirst transatlantic telephone call, 1927\n"
    "15 Mar\tJulius Caesar assassinated, 44BC\n"
    "05/SunSecond\tMother's Day\n"
    "Easter-2\tGood Friday\n"
    "02/30\tA day that never was, 1900\n"
    "Apr\tWorld fair in Bruxelles : 45,000,000 of visitors, 1958\n"
    "a line without its tab\n"
    "\tand what carries it on\n"
    "06/10\tDeath of Alexander the Great, 323 B.C.\n"
    "10/23\tEarth created at 6:30 AM, 4004BC.\n"
    "09/01\tPersonne ne l'a vu \xC3\xA0 Z\xC3\xBCrich, 1999\n";

TEST(CalendarFile, EventsTheirContinuationsAndTheLinesLeftOut) {
  const lib::CalendarFile file = lib::ParseCalendar("calendar.history", kHistory);
  ASSERT_EQ(file.events.size(), 7u);
  EXPECT_EQ(file.events[0].text, "Canada and the United States agree on a plan to preserve Niagara Falls, 1929");
  EXPECT_EQ(file.events[0].month, 1);
  EXPECT_EQ(file.events[0].day, 2);
  EXPECT_EQ(file.events[0].line, 7u);
  EXPECT_EQ(file.events[0].file, "calendar.history");
  EXPECT_EQ(file.events[1].text, "Quadrantid meteor shower (look north)");
  // Month first with the month's name, day first with it.
  EXPECT_EQ(file.events[2].month, 1);
  EXPECT_EQ(file.events[2].day, 7);
  EXPECT_EQ(file.events[3].month, 3);
  EXPECT_EQ(file.events[3].day, 15);
  EXPECT_EQ(file.events[6].text, "Personne ne l'a vu \xE0 Z\xFCrich, 1999");  // UTF-8 becomes Windows-1252

  std::map<std::string, std::vector<unsigned>> unread;
  for (const lib::CalendarLine& line : file.unread) unread[line.reason].push_back(line.line);
  EXPECT_EQ(unread["a date that moves from year to year"], (std::vector<unsigned>{12, 13}));
  EXPECT_EQ(unread["no such day of its month"], (std::vector<unsigned>{14}));
  EXPECT_EQ(unread["a month without a day"], (std::vector<unsigned>{15}));
  EXPECT_EQ(unread["no tab between the date and the text"], (std::vector<unsigned>{16}));
  EXPECT_EQ(file.unread.size(), 5u);
  // The continuation of a line left out goes with it, not with an event.
  const auto noTab =
      std::find_if(file.unread.begin(), file.unread.end(), [](const lib::CalendarLine& l) { return l.line == 16; });
  EXPECT_EQ(noTab->text, "a line without its tab and what carries it on");

  const lib::CalendarFile orphan = lib::ParseCalendar("x", "\tcarried on from nothing\n01/01\tNew year, 2000\n");
  ASSERT_EQ(orphan.unread.size(), 1u);
  EXPECT_EQ(orphan.unread[0].reason, "a continuation line with no event above it");
  EXPECT_EQ(orphan.events.size(), 1u);
}

TEST(CalendarFile, TheYearOfAnEventAndWhereItStands) {
  const auto year = [](const std::string& text) {
    const auto found = lib::FindEventYear(text);
    return found ? found->year : 0;
  };
  EXPECT_EQ(year("First transatlantic telephone call, 1927"), 1927);
  EXPECT_EQ(year("Julius Caesar assassinated, 44BC"), -44);
  EXPECT_EQ(year("Death of Alexander the Great, 323 B.C."), -323);
  EXPECT_EQ(year("Buddha born, 563 BC"), -563);
  EXPECT_EQ(year("Alexander the Great dies (323BC)"), -323);
  EXPECT_EQ(year("Alexander Hamilton born in Nevis, British West Indies, 1757?"), 1757);
  EXPECT_EQ(year("\"Star Trek\" debuts on NBC (1966)"), 1966);
  EXPECT_EQ(year("First Star Trek episode (The Man Trap) aired 1966"), 1966);
  EXPECT_EQ(year("The Roman Emperor Nero commits suicide, 68"), 68);
  EXPECT_EQ(year("World fair in Bruxelles : 45,000,000 of visitors, 1958"), 1958);
  EXPECT_EQ(year("First Rose Bowl; Michigan 49 - Stanford 0, 1902"), 1902);
  EXPECT_EQ(year("Justice Dept. begins IBM anti-trust suit, 1969 (drops it, January 8, 1982)"), 1969);
  EXPECT_EQ(year("Wilhelm Beer born, 1797, first astronomer to map Mars"), 1797);
  EXPECT_EQ(year("Claude Debussy dies in Paris, France, 1918 to the sound of World War I"), 1918);
  // A number after a comma is a count when a year ends the text.
  EXPECT_EQ(year("Fire in the mine 'Le bois du Casier', 263 deaths, 1956"), 1956);
  // A year inside a sentence, or none: no year.
  EXPECT_EQ(year("Anniversary of the 1956 revolution in Hungary"), 0);
  EXPECT_EQ(year("Quadrantid meteor shower (look north)"), 0);
  EXPECT_EQ(year("Tandy acquires 9 stores, 3 of them"), 0);

  const std::string text = "The Epoch (Time 0 for UNIX systems, Midnight GMT, 1970)";
  const auto found = lib::FindEventYear(text);
  ASSERT_TRUE(found);
  EXPECT_EQ(text.substr(found->begin, found->end - found->begin), ", 1970");
}

lib::CalendarFile File(const std::string& name, const std::string& text) { return lib::ParseCalendar(name, text); }

TEST(CalendarTimeline, CategoriesPeriodsFirstsIssuesAndTitles) {
  std::string music;
  for (int day = 1; day <= 14; ++day)
    music += "07/" + std::to_string(day) + "\tA record of day " + std::to_string(day) + ", 1969\n";
  music += "04/28\tPierre Simon de Laplace born, 1749\n03/23\tPierre Simon de Laplace born, 1749\n";
  const lib::CalendarTimeline t = lib::MakeCalendarTimeline({
      {File("calendar.history", kHistory), "History"},
      {File("calendar.music", music + "01/07\tFirst transatlantic telephone call, 1927\n"), "Music"},
  });
  EXPECT_EQ(t.categories, (std::vector<std::string>{"History", "Music"}));
  EXPECT_EQ(t.read, 7u + 5u + 17u);
  EXPECT_EQ(t.leftOut.at("no year").size(), 1u);               // the meteor shower
  EXPECT_EQ(t.leftOut.at("the same event again").size(), 1u);  // the call, in the second file
  EXPECT_EQ(t.leftOut.at("a date that moves from year to year").size(), 2u);
  // In time order, the earliest first, years before the common era negative.
  ASSERT_EQ(t.events.size(), 22u);
  EXPECT_EQ(t.events[0].year, -4004);
  EXPECT_EQ(t.events[0].title, "4004 BC: Earth created at 6:30 AM.");
  EXPECT_EQ(t.events[1].title, "323 BC: Death of Alexander the Great");
  EXPECT_EQ(t.events[2].title, "44 BC: Julius Caesar assassinated");
  for (std::size_t i = 1; i < t.events.size(); ++i) EXPECT_LE(t.events[i - 1].year, t.events[i].year);
  // Only the periods that hold events; each event in its own.
  std::vector<std::string> periods;
  for (const lib::TimelinePeriod& p : t.periods) periods.push_back(p.name);
  EXPECT_EQ(periods, (std::vector<std::string>{"Before the Common Era", "18th Century", "20th Century to 1945",
                                               "20th Century after 1945"}));
  EXPECT_EQ(t.periods[t.events[0].period].name, "Before the Common Era");
  // A first says so; a year of eight events is an issue, and its events are in it.
  const auto byTitle = [&](const std::string& start) {
    return *std::find_if(t.events.begin(), t.events.end(),
                         [&](const lib::DatedEvent& e) { return e.title.rfind(start, 0) == 0; });
  };
  EXPECT_TRUE(byTitle("1927: First transatlantic").first);
  EXPECT_FALSE(byTitle("1929: Canada").first);
  EXPECT_EQ(t.issues, (std::vector<int>{1969}));
  EXPECT_EQ(byTitle("1969: A record of day 3").issue, 0);
  EXPECT_EQ(byTitle("1969: A record of day 3").category, 1u);
  EXPECT_EQ(byTitle("1927: First").issue, -1);
  // One birth given on two days: the titles tell them apart.
  EXPECT_EQ(byTitle("1749: Pierre Simon de Laplace born (March").title,
            "1749: Pierre Simon de Laplace born (March 23)");
  EXPECT_TRUE(t.notes.empty());
}

// What Timeline.bin cannot number is left out and said: a 129th category (a
// 7-bit index), a 257th issue (a byte), a 65,536th event (a 16-bit count).
TEST(CalendarTimeline, TheFormatsLimitsAreHeldAndSaid) {
  std::vector<std::pair<lib::CalendarFile, std::string>> files;
  for (int f = 0; f < 129; ++f)
    files.emplace_back(File("calendar.f" + std::to_string(f), "02/03\tEvent of file " + std::to_string(f) + ", 1500\n"),
                       "Category " + std::to_string(f));
  const lib::CalendarTimeline categories = lib::MakeCalendarTimeline(files);
  EXPECT_EQ(categories.categories.size(), 128u);
  EXPECT_EQ(categories.events.size(), 128u);
  ASSERT_EQ(categories.leftOut.at("past the 128 categories the timeline holds").size(), 1u);
  EXPECT_EQ(categories.leftOut.at("past the 128 categories the timeline holds")[0].file, "calendar.f128");
  ASSERT_EQ(categories.notes.size(), 1u);
  EXPECT_NE(categories.notes[0].find("calendar.f128"), std::string::npos) << categories.notes[0];

  std::string crowded;  // 257 years of 14 events, the last year's of 15
  for (int year = 1000; year < 1257; ++year)
    for (int n = 0; n < (year == 1256 ? 15 : 14); ++n)
      crowded += "03/04\tEvent " + std::to_string(n) + ", " + std::to_string(year) + "\n";
  const lib::CalendarTimeline issues = lib::MakeCalendarTimeline({{File("calendar.c", crowded), "C"}});
  ASSERT_EQ(issues.issues.size(), 256u);
  EXPECT_EQ(issues.issues.back(), 1256);  // the most crowded year is kept
  EXPECT_EQ(issues.notes,
            (std::vector<std::string>{"year-in-review issues held at 256: 1 crowded years left without one"}));

  std::string many;
  for (int n = 0; n < 0x10000; ++n) many += "05/06\tEvent " + std::to_string(n) + ", 1900\n";
  const lib::CalendarTimeline events = lib::MakeCalendarTimeline({{File("calendar.m", many), "M"}});
  EXPECT_EQ(events.events.size(), 0xFFFFu);
  EXPECT_EQ(events.leftOut.at("past the 65,535 events the timeline holds").size(), 1u);
  EXPECT_EQ(events.notes.size(), 1u);
}

TEST(CalendarTimeline, AnEventLeadsToTheEntriesItsWordsName) {
  const std::map<std::string, std::uint32_t> articles = {
      {"Niagara Falls", 40}, {"Niagara", 43}, {"IBM", 41}, {"call", 42}};
  const std::map<std::string, std::uint32_t> words = {{"niagara", 50}, {"telephone", 51}, {"transatlantic", 52},
                                                      {"call", 53},    {"first", 54},     {"preserve", 55}};
  const lib::EntryLookup lookup{
      [&](const std::string& name, bool) { return articles.count(name) ? articles.at(name) : 0u; },
      [&](const std::string& name, bool anyCase) {
        std::string key = name;
        if (anyCase)
          for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return words.count(key) ? words.at(key) : 0u;
      }};
  const std::string call = "First transatlantic telephone call, 1927";
  std::vector<std::string> linked;
  for (const lib::EventLink& link : lib::FindEventLinks(call, false, lookup))
    linked.push_back(call.substr(link.begin, link.end - link.begin) + "=" + std::to_string(link.entry));
  // "call" has four letters and "First" is too common to lead anywhere.
  EXPECT_EQ(linked, (std::vector<std::string>{"transatlantic=52", "telephone=51"}));

  const std::string falls = "Canada and the United States agree to preserve Niagara Falls, 1929";
  const std::vector<lib::EventLink> links = lib::FindEventLinks(falls, false, lookup);
  ASSERT_EQ(links.size(), 2u);  // the name of two words, not its first word alone
  EXPECT_EQ(falls.substr(links[1].begin, links[1].end - links[1].begin), "Niagara Falls");
  EXPECT_EQ(links[1].entry, 40u);
  EXPECT_EQ(falls.substr(links[0].begin, links[0].end - links[0].begin), "preserve");

  // The article: title, date, the linked text, its place in the timeline.
  const lib::CalendarTimeline t =
      lib::MakeCalendarTimeline({{File("calendar.history", "01/07\t" + call + "\n"), "History"}});
  const std::string text = lib::EventArticleText(t.events[0], t, lib::FindEventLinks(call, false, lookup));
  EXPECT_EQ(
      text,
      "1927: First transatlantic telephone call\n<I>January 7, 1927</I>\n\nFirst <XR>transatlantic<HID>52</HID></XR> "
      "<XR>telephone<HID>51</HID></XR> call, 1927\n\nCategory: History. Period: 20th Century to 1945. A first.\n"
      "<I>From calendar.history of Debian's calendar package.</I>");
}

// ---- questions ----------------------------------------------------------------------------

TEST(QuizMaker, ADefinitionLosesItsTermOrIsNotAsked) {
  EXPECT_EQ(lib::DefinitionWithoutTerm("A small fast memory holding recently accessed data. A cache speeds up the "
                                       "next access to the same data.",
                                       {"cache"}),
            "A small fast memory holding recently accessed data. A ... speeds up the next access to the same data.");
  // The term named in its own definition is taken out in any case.
  EXPECT_EQ(lib::DefinitionWithoutTerm("Mosaic, the first popular graphical browser of the World-Wide Web.",
                                       {"Mosaic", "NCSA Mosaic"}),
            "..., the first popular graphical browser of the World-Wide Web.");
  // A word alike to the term gives it away: not asked.
  EXPECT_FALSE(
      lib::DefinitionWithoutTerm("The act of caching data in a small fast memory near the processor.", {"cache"}));
  EXPECT_FALSE(
      lib::DefinitionWithoutTerm("A cache hit happens when the cache holds the data asked for.", {"cache hit"}));
  // Initials that spell an acronym out.
  EXPECT_FALSE(
      lib::DefinitionWithoutTerm("International Business Machines, a maker of computers and software.", {"IBM"}));
  EXPECT_FALSE(lib::DefinitionWithoutTerm("(QIC) a type of magnetic tape and tape drive for backups of disks.",
                                          {"Quarter Inch Cartridge"}));
  // Too short, or only a pointer elsewhere.
  EXPECT_FALSE(lib::DefinitionWithoutTerm("A kind of fish.", {"Bass"}));
  EXPECT_FALSE(
      lib::DefinitionWithoutTerm("See Transmission Control Protocol, a protocol of the Internet suite.", {"TCP"}));

  EXPECT_TRUE(lib::Alike("e-mail", "Email"));
  EXPECT_TRUE(lib::Alike("cache", "caches"));
  EXPECT_TRUE(lib::Alike("programming language", "programming tool"));
  EXPECT_TRUE(lib::Alike("caf\xE9", "CAFE"));
  EXPECT_FALSE(lib::Alike("compiler", "complex"));
  EXPECT_FALSE(lib::Alike("cat", "dog"));
}

std::vector<lib::QuizItem> Items() {
  std::vector<lib::QuizItem> items;
  const char* terms[] = {"cache", "caches", "compiler", "debugger", "linker", "loader", "parser", "editor"};
  std::uint32_t clue = 100;
  for (const char* term : terms)
    items.push_back({"c:tools", std::string("What is the ") + term + "-like thing here?", term, {}, ++clue});
  items.push_back({"c:tools", "Which tool finds faults? A debugging aid.", "bug finder", {"debugger"}, 200});
  items.push_back({"c:lonely", "A category of two.", "one", {}, 300});
  items.push_back({"c:lonely", "A category of two, again.", "two", {}, 301});
  return items;
}

TEST(QuizMaker, FourAnswersOfOneCategoryNoneAlikeNoneInTheText) {
  const std::vector<lib::QuizItem> items = Items();
  const builder::quiz::Quiz quiz =
      lib::MakeQuiz(items, {"c:tools", "c:lonely"}, {{"c:tools", "Tools"}, {"c:lonely", "Lonely"}}, 100);
  // A category of fewer than four terms has no question.
  ASSERT_EQ(quiz.categories.size(), 1u);
  EXPECT_EQ(quiz.categories[0].name, "Tools");
  ASSERT_GE(quiz.questions.size(), 5u);
  EXPECT_EQ(quiz.plainCount, quiz.questions.size());
  std::vector<std::string> rights;
  for (std::size_t q = 0; q < quiz.questions.size(); ++q) {
    const builder::quiz::Question& question = quiz.questions[q];
    EXPECT_EQ(quiz.categories[0].questions[q], q + 1);
    ASSERT_EQ(question.answers.size(), 4u);
    const std::string& right = question.answers[question.rightAnswer - 1u];
    rights.push_back(right);
    const auto item =
        std::find_if(items.begin(), items.end(), [&](const lib::QuizItem& i) { return i.answer == right; });
    ASSERT_NE(item, items.end());
    EXPECT_EQ(question.text, item->text);
    EXPECT_EQ(question.clues[0], item->clue);
    for (std::size_t a = 0; a < 4; ++a) {
      for (std::size_t b = a + 1; b < 4; ++b)
        EXPECT_FALSE(lib::Alike(question.answers[a], question.answers[b]))
            << question.answers[a] << " / " << question.answers[b];
      if (question.answers[a] == right) continue;
      // A wrong answer is neither in the question nor another name of the right one.
      EXPECT_EQ(question.text.find(question.answers[a]), std::string::npos) << question.text;
      for (const std::string& also : item->alsoRight) EXPECT_FALSE(lib::Alike(also, question.answers[a]));
    }
  }
  std::sort(rights.begin(), rights.end());
  EXPECT_EQ(std::adjacent_find(rights.begin(), rights.end()), rights.end());
  // The same items make the same file.
  EXPECT_EQ(builder::quiz::QuizFile(quiz),
            builder::quiz::QuizFile(
                lib::MakeQuiz(items, {"c:tools", "c:lonely"}, {{"c:tools", "Tools"}, {"c:lonely", "Lonely"}}, 100)));
  // At most as many questions a category as asked for.
  EXPECT_EQ(lib::MakeQuiz(items, {"c:tools"}, {{"c:tools", "Tools"}}, 2).questions.size(), 2u);
}

lib::Translation Word(const std::string& french, const std::string& part, std::uint8_t wordClass,
                      std::vector<std::vector<std::string>> senses) {
  lib::Translation t;
  t.headword = french;
  t.partOfSpeech = part;
  t.wordClass = wordClass;
  t.senses = std::move(senses);
  return t;
}

TEST(QuizMaker, FrenchWordsAskTheirTranslationAmongWordsOfTheirKind) {
  const std::vector<lib::Translation> words = {
      Word("chat", "n.m.", lib::kWordNoun, {{"cat"}}),
      Word("chien", "n.m.", lib::kWordNoun, {{"dog", "hound"}}),
      Word("maison", "n.f.", lib::kWordNoun, {{"house"}, {"home"}}),
      Word("arbre", "n.m.", lib::kWordNoun, {{"tree"}}),
      Word("table", "n.f.", lib::kWordNoun, {{"table"}}),  // its own answer: not asked
      Word("foyer", "n.m.", lib::kWordNoun, {{"home"}}),
      Word("manger", "v.", lib::kWordVerb, {{"to eat"}}),
  };
  std::vector<std::string> looked;
  lib::QuizFigures figures;
  const builder::quiz::Quiz quiz = lib::MakeFrenchQuiz(
      words,
      [&](const std::string& word) {
        looked.push_back(word);
        return word == "cat" ? 7u : 0u;
      },
      &figures);
  ASSERT_EQ(quiz.categories.size(), 1u);  // the one verb has no wrong answers of its kind
  EXPECT_EQ(quiz.categories[0].name, "Noms");
  EXPECT_EQ(figures.perCategory.at("Noms"), quiz.questions.size());
  EXPECT_NE(std::find(looked.begin(), looked.end(), "eat"), looked.end());  // a verb's word, without "to"
  bool askedCat = false;
  for (const builder::quiz::Question& q : quiz.questions) {
    EXPECT_EQ(q.text.find("table"), std::string::npos) << q.text;
    if (q.text ==
        "Que veut dire \xAB\xA0"
        "chat\xA0\xBB (nom masculin) en anglais\xA0?") {
      askedCat = true;
      EXPECT_EQ(q.answers[q.rightAnswer - 1u], "cat");
      EXPECT_EQ(q.clues[0], 7u);
    }
    // "home" translates both "maison" and "foyer": never the wrong answer of either.
    if (q.text.find("maison") != std::string::npos || q.text.find("foyer") != std::string::npos)
      for (std::size_t a = 0; a < q.answers.size(); ++a)
        if (a + 1 != q.rightAnswer) {
          EXPECT_NE(q.answers[a], "home") << q.text;
        }
  }
  EXPECT_TRUE(askedCat);
}

}  // namespace
