#include "entry_text/markup_language.h"

#include <cctype>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace builder::entry_text {

namespace {

constexpr std::uint32_t kFinal = 0x2000;
constexpr std::uint32_t kLineEnd = 4096;
constexpr std::uint32_t kFirstTagCode = 4097;
constexpr std::uint32_t kLastTagCode = 7167;
constexpr std::uint32_t kPlainChar = 0x1C00;     // 7168 + c
constexpr std::uint32_t kExtendedChar = 0x1D00;  // 7424 + c, flagged as an extended character
constexpr std::uint16_t kEndOfEntry = 65534;
constexpr std::uint16_t kTextState = 1;
constexpr std::uint16_t kElementState = 16384;
constexpr std::uint16_t kListEnd = 0xFFFF;

std::uint32_t LiteralFinal(std::uint32_t kind) { return kFinal | kind << 8; }

bool IsEscapePlain(char c) { return c == '<' || c == '>' || c == '{' || c == '}'; }

std::string Trim(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::uint32_t Number(const std::string& word, std::uint32_t limit, const std::string& statement) {
  std::size_t used = 0;
  unsigned long value = 0;
  try {
    value = std::stoul(word, &used, 0);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != word.size() || value > limit) throw std::invalid_argument("bad number in markup program: " + statement);
  return static_cast<std::uint32_t>(value);
}

// --- Table 80 --------------------------------------------------------------

struct Target {
  bool final = false;
  std::uint32_t value = 0;  // a row id, or the final code
};

struct Row {
  std::vector<std::pair<std::string, Target>> entries;
  Target otherwise;
};

Target ToRow(std::uint32_t row) { return Target{false, row}; }
Target Final(std::uint32_t code) { return Target{true, code}; }

struct TrieNode {
  std::map<char, std::unique_ptr<TrieNode>> children;
  std::uint32_t row = 0;
  bool terminal = false;
  std::uint32_t code = 0;
};

class AutomatonBuilder {
 public:
  std::uint32_t NewRow() {
    rows_.emplace_back();
    return static_cast<std::uint32_t>(rows_.size() - 1);
  }
  Row& row(std::uint32_t id) { return rows_[id]; }

  engine_db::Table Table() const {
    std::vector<std::uint32_t> first(rows_.size());
    std::uint32_t index = 0;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      first[r] = index;
      index += static_cast<std::uint32_t>(rows_[r].entries.size() + 1);
    }
    if (index >= kFinal) throw std::invalid_argument("character automaton too large");
    Bytes names = {0};  // offset 0: the empty set of the defaults
    std::map<std::string, std::uint16_t> offsets;
    auto setOffset = [&](const std::string& set) -> std::uint16_t {
      const auto found = offsets.find(set);
      if (found != offsets.end()) return found->second;
      if (names.size() + set.size() + 1 > 0xFFFF) throw std::invalid_argument("automaton name area too large");
      const auto offset = static_cast<std::uint16_t>(names.size());
      names.insert(names.end(), set.begin(), set.end());
      names.push_back(0);
      offsets[set] = offset;
      return offset;
    };
    auto state = [&](const Target& target) -> std::uint16_t {
      return static_cast<std::uint16_t>(target.final ? kFinal | target.value : first[target.value]);
    };
    std::vector<std::pair<std::uint16_t, std::uint16_t>> entries;
    for (const Row& row : rows_) {
      for (const auto& [set, target] : row.entries) entries.emplace_back(setOffset(set), state(target));
      entries.emplace_back(0, state(row.otherwise));
    }
    return engine_db::AutomatonTable(entries, names);
  }

 private:
  std::vector<Row> rows_;
};

void Insert(TrieNode* root, const std::string& text, std::uint32_t code) {
  TrieNode* node = root;
  for (char c : text) {
    auto& child = node->children[c];
    if (!child) child = std::make_unique<TrieNode>();
    node = child.get();
  }
  if (node->terminal) throw std::invalid_argument("two tags with one name");
  node->terminal = true;
  node->code = code;
}

void MakeRows(AutomatonBuilder& builder, TrieNode* node, std::uint32_t bad) {
  for (auto& [c, child] : node->children) {
    child->row = builder.NewRow();
    MakeRows(builder, child.get(), bad);
  }
  Row& row = builder.row(node->row);
  if (node->terminal) {
    row.otherwise = Final(node->code);  // the character after the '>' closes the tag
    return;
  }
  for (auto& [c, child] : node->children) row.entries.emplace_back(std::string(1, c), ToRow(child->row));
  row.otherwise = ToRow(bad);
}

// --- Table 90 --------------------------------------------------------------

class MarkupBuilder {
 public:
  MarkupBuilder() {
    spec_.sequences.push_back(kListEnd);  // index 0: the empty sequence
    spec_.programs.push_back(0);          // offset 0 means "no program"
  }
  std::uint16_t List(const std::vector<std::uint16_t>& codes) {
    auto found = lists_.find(codes);
    if (found != lists_.end()) return found->second;
    const auto at = static_cast<std::uint16_t>(spec_.codeLists.size());
    spec_.codeLists.insert(spec_.codeLists.end(), codes.begin(), codes.end());
    spec_.codeLists.push_back(kListEnd);
    lists_[codes] = at;
    return at;
  }
  std::uint16_t Sequence(const std::vector<std::uint16_t>& states) {
    if (states.empty()) return 0;
    const auto at = static_cast<std::uint16_t>(spec_.sequences.size());
    spec_.sequences.insert(spec_.sequences.end(), states.begin(), states.end());
    spec_.sequences.push_back(kListEnd);
    return at;
  }
  std::uint16_t Program(const std::string& source) {
    const Bytes code = Assemble(source);
    if (code.size() == 1) return 0;  // only the end byte: no program
    const auto at = static_cast<std::uint32_t>(spec_.programs.size());
    if (at > 16384) throw std::invalid_argument("markup programs too large");
    spec_.programs.insert(spec_.programs.end(), code.begin(), code.end());
    return static_cast<std::uint16_t>(at);
  }
  struct Transition {
    std::uint16_t list;
    std::uint16_t sequence;
  };
  void Element(const std::vector<Transition>& transitions, std::uint16_t open, std::uint16_t close) {
    spec_.elements.push_back(static_cast<std::uint16_t>(transitions.size()));
    spec_.elements.push_back(static_cast<std::uint16_t>(spec_.transitions.size() / 2));
    spec_.elements.push_back(open);
    spec_.elements.push_back(close);
    for (const Transition& t : transitions) {
      spec_.transitions.push_back(t.list);
      spec_.transitions.push_back(t.sequence);
    }
  }
  engine_db::Table Table() const { return engine_db::MarkupTable(spec_); }

 private:
  engine_db::MarkupSpec spec_;
  std::map<std::vector<std::uint16_t>, std::uint16_t> lists_;
};

std::uint16_t CheckedCode(std::size_t index, bool close) {
  const std::size_t code = kFirstTagCode + 2 * index + (close ? 1 : 0);
  if (code > kLastTagCode) throw std::invalid_argument("too many tags");
  return static_cast<std::uint16_t>(code);
}

std::size_t TagIndex(const MarkupLanguage& language, const std::string& name) {
  for (std::size_t i = 0; i < language.tags.size(); ++i)
    if (language.tags[i].name == name) return i;
  throw std::invalid_argument("unknown tag " + name);
}

}  // namespace

MarkupLanguage DefaultLanguage() {
  MarkupLanguage language;
  const std::string body = "type " + std::to_string(kBodyTextType);
  language.entryProgram = "lines on; " + body;
  auto container = [&](const std::string& name, const std::string& open, const std::string& close) {
    language.tags.push_back(TagDef{name, true, open, close});
  };
  auto marker = [&](const std::string& name, const std::string& program) {
    language.tags.push_back(TagDef{name, false, program, ""});
  };
  container("B", "style+ 0x01", "style- 0x01");
  container("I", "style+ 0x02", "style- 0x02");
  container("XR", "style+ 0x04; group", "style- 0x04; ungroup");
  container("H", "break; style+ 0x08; type 3", "style- 0x08; " + body);
  container("UP", "style+ 0x10", "style- 0x10");
  container("LO", "style+ 0x20", "style- 0x20");
  container("PL", "style+ 0x40", "style- 0x40");
  container("HID", "style+ 0x80", "style- 0x80");
  container("MB", "type 10", body);
  const std::string resetSenses = "; set 0 0; set 1 0; set 2 0";
  marker("DS", "type 2" + resetSenses);
  marker("WD", "type 2" + resetSenses);
  marker("IWD", "type 2" + resetSenses);
  marker("P", body);
  marker("PS", "type 4");
  marker("BR", "break");
  marker("SN", "add 0 1; type 1; dec 0; join; \".\"; " + body);
  marker("SR", "add 1 1; type 1; roman 1; join; \")\"; " + body);
  marker("SL", "add 2 1; type 1; alpha 2; join; \")\"; " + body);
  return language;
}

std::uint16_t OpenCode(const MarkupLanguage& language, const std::string& name) {
  return CheckedCode(TagIndex(language, name), false);
}

std::uint16_t CloseCode(const MarkupLanguage& language, const std::string& name) {
  const std::size_t index = TagIndex(language, name);
  if (!language.tags[index].container) throw std::invalid_argument(name + " has no end tag");
  return CheckedCode(index, true);
}

Bytes Assemble(const std::string& source) {
  // Split into statements at ';' and line ends outside quotes.
  std::vector<std::string> statements;
  std::string current;
  bool quoted = false;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char c = source[i];
    if (quoted && c == '\\' && i + 1 < source.size()) {
      current += c;
      current += source[++i];
      continue;
    }
    if (c == '"') quoted = !quoted;
    if (!quoted && (c == ';' || c == '\n')) {
      statements.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (quoted) throw std::invalid_argument("unterminated text in markup program");
  statements.push_back(current);

  Bytes out;
  for (const std::string& raw : statements) {
    const std::string statement = Trim(raw);
    if (statement.empty()) continue;
    if (statement.front() == '"') {
      if (statement.size() < 2 || statement.back() != '"') throw std::invalid_argument("bad text: " + statement);
      std::string text;
      for (std::size_t i = 1; i + 1 < statement.size(); ++i) {
        if (statement[i] == '\\' && i + 2 < statement.size()) ++i;
        text += statement[i];
      }
      for (std::size_t at = 0; at < text.size(); at += 63) {
        const std::size_t length = std::min<std::size_t>(63, text.size() - at);
        out.push_back(static_cast<std::uint8_t>(0xC0 | length));
        out.insert(out.end(), text.begin() + at, text.begin() + at + length);
      }
      continue;
    }
    std::vector<std::string> words;
    for (std::size_t at = 0; at < statement.size();) {
      while (at < statement.size() && std::isspace(static_cast<unsigned char>(statement[at]))) ++at;
      std::size_t end = at;
      while (end < statement.size() && !std::isspace(static_cast<unsigned char>(statement[end]))) ++end;
      if (end > at) words.push_back(statement.substr(at, end - at));
      at = end;
    }
    const std::string& op = words[0];
    auto expect = [&](std::size_t count) {
      if (words.size() != count + 1) throw std::invalid_argument("wrong operands: " + statement);
    };
    static const std::map<std::string, std::uint8_t> kPlain = {{"nop", 0x01},  {"group", 0x06}, {"ungroup", 0x07},
                                                               {"join", 0x08}, {"skip", 0x09},  {"break", 0x0A}};
    static const std::map<std::string, std::uint8_t> kStyle = {{"style=", 0x03}, {"style-", 0x04}, {"style+", 0x05}};
    static const std::map<std::string, std::uint8_t> kPrint = {
        {"dec", 0x20}, {"ROMAN", 0x30}, {"roman", 0x40}, {"ALPHA", 0x50}, {"alpha", 0x60}};
    static const std::map<std::string, std::uint8_t> kCounter = {{"set", 0x80}, {"add", 0x90}, {"sub", 0xA0}};
    if (kPlain.count(op)) {
      expect(0);
      out.push_back(kPlain.at(op));
    } else if (op == "lines") {
      expect(1);
      if (words[1] != "on" && words[1] != "off") throw std::invalid_argument("lines on or off: " + statement);
      out.push_back(words[1] == "on" ? 0x0B : 0x0C);
    } else if (kStyle.count(op)) {
      expect(1);
      out.push_back(kStyle.at(op));
      out.push_back(static_cast<std::uint8_t>(Number(words[1], 255, statement)));
    } else if (op == "type") {
      expect(1);
      const std::uint32_t type = Number(words[1], 255, statement);
      if (type < 16) {
        out.push_back(static_cast<std::uint8_t>(0x10 | type));
      } else {
        out.push_back(0x0F);
        out.push_back(static_cast<std::uint8_t>(type));
      }
    } else if (kPrint.count(op)) {
      expect(1);
      out.push_back(static_cast<std::uint8_t>(kPrint.at(op) | Number(words[1], 15, statement)));
    } else if (kCounter.count(op)) {
      expect(2);
      out.push_back(static_cast<std::uint8_t>(kCounter.at(op) | Number(words[1], 15, statement)));
      out.push_back(0);  // the operation's unused middle byte
      out.push_back(static_cast<std::uint8_t>(Number(words[2], 255, statement)));
    } else {
      throw std::invalid_argument("unknown markup statement: " + statement);
    }
  }
  out.push_back(0x00);
  return out;
}

engine_db::Table AutomatonTableOf(const MarkupLanguage& language) {
  AutomatonBuilder b;
  const std::uint32_t start = b.NewRow(), word = b.NewRow(), space = b.NewRow(), punct = b.NewRow();
  const std::uint32_t lineEnd = b.NewRow(), bad = b.NewRow(), badEnd = b.NewRow();
  TrieNode tags;
  tags.row = b.NewRow();
  for (std::size_t i = 0; i < language.tags.size(); ++i) {
    const TagDef& tag = language.tags[i];
    // The loader shows the automaton tag names in upper case.
    for (char c : tag.name)
      if (!(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9')) throw std::invalid_argument("bad tag name " + tag.name);
    if (tag.name.empty()) throw std::invalid_argument("empty tag name");
    Insert(&tags, tag.name + ">", CheckedCode(i, false));
    if (tag.container) Insert(&tags, "/" + tag.name + ">", CheckedCode(i, true));
  }
  for (int c = 33; c < 127; ++c) {
    const std::uint32_t code = (IsEscapePlain(static_cast<char>(c)) ? kPlainChar : kExtendedChar) | c;
    Insert(&tags, std::string("{") + static_cast<char>(c) + "}>", code);
  }
  MakeRows(b, &tags, bad);

  const std::string blanks = " \t";
  b.row(start).entries = {{"<", ToRow(tags.row)}, {"\n", ToRow(lineEnd)}, {blanks, ToRow(space)}};
  if (!language.punctuation.empty()) b.row(start).entries.push_back({language.punctuation, ToRow(punct)});
  b.row(start).otherwise = ToRow(word);
  b.row(word).entries = {{blanks + "\n<" + language.punctuation, Final(LiteralFinal(2))}};
  b.row(word).otherwise = ToRow(word);
  b.row(space).entries = {{blanks, ToRow(space)}};
  b.row(space).otherwise = Final(LiteralFinal(1));
  b.row(punct).otherwise = Final(LiteralFinal(3));
  b.row(lineEnd).otherwise = Final(kLineEnd);
  b.row(bad).entries = {{">", ToRow(badEnd)}};
  b.row(bad).otherwise = ToRow(bad);
  b.row(badEnd).otherwise = Final(LiteralFinal(14));  // an unknown tag becomes a skipped record
  return b.Table();
}

engine_db::Table MarkupTableOf(const MarkupLanguage& language) {
  MarkupBuilder b;
  const std::size_t tagCount = language.tags.size();
  // Element numbers: 0 the entry, 1 its content, then per tag its element
  // and, for containers, its content.
  std::vector<std::uint16_t> element(tagCount), content(tagCount);
  std::uint32_t next = 2;
  for (std::size_t i = 0; i < tagCount; ++i) {
    element[i] = static_cast<std::uint16_t>(next++);
    if (language.tags[i].container) content[i] = static_cast<std::uint16_t>(next++);
  }
  if (next >= 16384) throw std::invalid_argument("too many tags");
  auto state = [](std::uint32_t e) { return static_cast<std::uint16_t>(kElementState + e); };

  std::vector<std::uint16_t> starts = {kTextState};
  for (std::size_t i = 0; i < tagCount; ++i) starts.push_back(CheckedCode(i, false));
  starts.push_back(kEndOfEntry);

  // The transitions of a content element: text, any tag, and its own end.
  auto contentTransitions = [&](std::uint16_t self, std::uint16_t end) {
    std::vector<MarkupBuilder::Transition> t;
    t.push_back({b.List({kTextState}), b.Sequence({kTextState, state(self)})});
    for (std::size_t i = 0; i < tagCount; ++i)
      t.push_back({b.List({CheckedCode(i, false)}), b.Sequence({state(element[i]), state(self)})});
    t.push_back({b.List({end}), 0});
    return t;
  };

  std::vector<std::vector<MarkupBuilder::Transition>> transitions(next);
  std::vector<std::uint16_t> open(next, 0), close(next, 0);
  transitions[0] = {{b.List(starts), b.Sequence({state(1)})}};
  open[0] = b.Program(language.entryProgram);
  transitions[1] = contentTransitions(1, kEndOfEntry);
  for (std::size_t i = 0; i < tagCount; ++i) {
    const TagDef& tag = language.tags[i];
    const std::uint16_t code = CheckedCode(i, false);
    open[element[i]] = b.Program(tag.open);
    close[element[i]] = b.Program(tag.close);
    if (tag.container) {
      const std::uint16_t end = CheckedCode(i, true);
      transitions[element[i]] = {{b.List({code}), b.Sequence({code, state(content[i]), end})}};
      transitions[content[i]] = contentTransitions(content[i], end);
    } else {
      transitions[element[i]] = {{b.List({code}), b.Sequence({code})}};
    }
  }
  for (std::uint32_t e = 0; e < next; ++e) b.Element(transitions[e], open[e], close[e]);
  return b.Table();
}

void CheckEntry(const MarkupLanguage& language, const std::string& entry) {
  std::vector<std::string> open;
  auto fail = [&](const std::string& why) { throw std::invalid_argument(why + " in entry: " + entry.substr(0, 60)); };
  for (std::size_t i = 0; i < entry.size(); ++i) {
    if (entry[i] != '<') continue;
    if (i + 1 < entry.size() && entry[i + 1] == '{') {
      // The escape "<{c}>" of one printable character.
      const auto c = i + 2 < entry.size() ? static_cast<unsigned char>(entry[i + 2]) : 0;
      if (c < 33 || c > 126 || i + 5 > entry.size() || entry.compare(i + 3, 2, "}>") != 0) fail("a bad escape");
      i += 4;
      continue;
    }
    const std::size_t close = entry.find_first_of(">\n<", i + 1);
    if (close == std::string::npos || entry[close] != '>') fail("a '<' that begins no tag");
    const std::string tag = entry.substr(i + 1, close - i - 1);
    const bool ending = !tag.empty() && tag[0] == '/';
    const std::string body = ending ? tag.substr(1) : tag;
    std::string name = body.substr(0, body.find(' '));
    if (name.empty()) fail("an empty tag name");
    for (char& c : name) {
      if (!std::isalnum(static_cast<unsigned char>(c))) fail("a bad tag name");
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (const TagDef& def : language.tags) {
      if (def.name != name || !def.container) continue;
      if (!ending) {
        open.push_back(name);
      } else {
        if (open.empty() || open.back() != name) fail("</" + name + "> closes no open <" + name + ">");
        open.pop_back();
      }
    }
    i = close;
  }
  if (!open.empty()) fail("<" + open.back() + "> is not closed");
}

}  // namespace builder::entry_text
