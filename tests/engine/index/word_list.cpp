#include "word_list.h"

#include <set>

namespace {

const char* const kBase[] = {
    "about", "above", "accept", "account", "across", "act", "action", "add", "address", "admit", "adult",
    "affect", "after", "again", "against", "age", "agent", "agree", "air", "all", "allow", "almost", "alone",
    "along", "already", "also", "always", "amount", "analysis", "animal", "answer", "any", "appear", "apply",
    "approach", "area", "argue", "arm", "army", "around", "arrive", "art", "article", "artist", "ask", "attack",
    "author", "avoid", "away", "baby", "back", "bad", "bag", "ball", "bank", "bar", "base", "beat", "beautiful",
    "because", "become", "bed", "before", "begin", "behind", "believe", "benefit", "best", "better", "between",
    "beyond", "big", "bill", "bird", "black", "blood", "blue", "board", "body", "book", "born", "both", "box",
    "boy", "break", "bring", "brother", "budget", "build", "building", "business", "buy", "call", "camera",
    "campaign", "cancer", "candidate", "capital", "car", "card", "care", "career", "carry", "case", "catch",
    "cause", "cell", "center", "central", "century", "certain", "chair", "chance", "change", "character",
    "charge", "check", "child", "choice", "choose", "church", "citizen", "city", "civil", "claim", "class",
    "clear", "clearly", "close", "coach", "cold", "collection", "college", "color", "come", "commercial",
    "common", "community", "company", "compare", "computer", "concern", "condition", "conference", "consider",
    "consumer", "contain", "continue", "control", "cost", "could", "country", "couple", "course", "court",
    "cover", "create", "crime", "cultural", "culture", "cup", "current", "customer", "cut", "dark", "data",
    "daughter", "dead", "deal", "death", "debate", "decade", "decide", "decision", "deep", "defense", "degree",
    "democrat", "describe", "design", "despite", "detail", "determine", "develop", "difference", "different",
    "difficult", "dinner", "direction", "director", "discover", "discuss", "disease", "doctor", "dog", "door",
    "down", "draw", "dream", "drive", "drop", "drug", "during", "each", "early", "east", "easy", "eat",
    "economic", "economy", "edge", "education", "effect", "effort", "eight", "either", "election", "else",
    "employee", "end", "energy", "enjoy", "enough", "enter", "entire", "environment", "especially",
    "establish", "evening", "event", "ever", "every", "evidence", "exactly", "example", "executive", "exist",
    "expect", "experience", "expert", "explain", "eye", "face", "fact", "factor", "fail", "fall", "family",
    "far", "fast", "father", "fear", "federal", "feel", "feeling", "few", "field", "fight", "figure", "fill",
    "film", "final", "finally", "financial", "find", "fine", "finger", "finish", "fire", "firm", "first",
    "fish", "five", "floor", "fly", "focus", "follow", "food", "foot", "force", "foreign", "forget", "form",
    "former", "forward", "four", "free", "friend", "front", "full", "fund", "future", "game", "garden", "gas",
    "general", "generation", "girl", "give", "glass", "goal", "good", "government", "great", "green", "ground",
    "group", "grow", "growth", "guess", "gun", "guy", "hair", "half", "hand", "hang", "happen", "happy", "hard",
    "head", "health", "hear", "heart", "heat", "heavy", "help", "here", "herself", "high", "himself", "history",
    "hit", "hold", "home", "hope", "hospital", "hot", "hotel", "hour", "house", "however", "huge", "human",
    "hundred", "husband", "idea", "identify", "image", "imagine", "impact", "important", "improve", "include",
    "including", "increase", "indeed", "indicate", "individual", "industry", "information", "inside", "instead",
    "institution", "interest", "interesting", "international", "interview", "into", "investment", "involve",
    "issue", "item", "itself", "job", "join", "just", "keep", "key", "kid", "kill", "kind", "kitchen", "know",
    "knowledge", "land", "language", "large", "last", "late", "later", "laugh", "law", "lawyer", "lay", "lead",
    "leader", "learn", "least", "leave", "left", "leg", "legal", "less", "letter", "level", "lie", "life",
    "light", "like", "likely", "line", "list", "listen", "little", "live", "local", "long", "look", "lose",
    "loss", "lot", "love", "low", "machine", "magazine", "main", "maintain", "major", "majority", "make", "man",
    "manage", "management", "manager", "market", "marriage", "material", "matter", "maybe", "mean", "measure",
    "media", "medical", "meet", "meeting", "member", "memory", "mention", "message", "method", "middle",
    "might", "military", "million", "mind", "minute", "miss", "mission", "model", "modern", "moment", "money",
    "month", "more", "morning", "most", "mother", "mouth", "move", "movement", "movie", "music", "must",
    "myself", "name", "nation", "national", "natural", "nature", "near", "nearly", "necessary", "need",
    "network", "never", "news", "newspaper", "next", "nice", "night", "none", "nor", "north", "note", "nothing",
    "notice", "number", "occur", "offer", "office", "officer", "official", "often", "oil", "old", "once", "one",
    "only", "onto", "open", "operation", "opportunity", "option", "order", "organization", "others", "our",
    "out", "outside", "over", "own", "owner", "page", "pain", "painting", "paper", "parent", "part",
    "participant", "particular", "particularly", "partner", "party", "pass", "past", "patient", "pattern",
    "pay", "peace", "people", "perform", "performance", "perhaps", "period", "person", "personal", "phone",
    "physical", "pick", "picture", "piece", "place", "plan", "plant", "play", "player", "point", "police",
    "policy", "political", "politics", "poor", "popular", "population", "position", "positive", "possible",
    "power", "practice", "prepare", "present", "president", "pressure", "pretty", "prevent", "price",
    "private", "probably", "problem", "process", "produce", "product", "production", "professional",
    "professor", "program", "project", "property", "protect", "prove", "provide", "public", "pull", "purpose",
    "push", "put", "quality", "question", "quickly", "quite", "race", "radio", "raise", "range", "rate",
    "rather", "reach", "read", "ready", "real", "reality", "realize", "really", "reason", "receive", "recent",
    "recently", "recognize", "record", "red", "reduce", "reflect", "region", "relate", "relationship",
    "religious", "remain", "remember", "remove", "report", "represent", "republican", "require", "research",
    "resource", "respond", "response", "responsibility", "rest", "result", "return", "reveal", "rich",
    "right", "rise", "risk", "road", "rock", "role", "room", "rule", "run", "safe", "same", "save", "scene",
    "school", "science", "scientist", "score", "sea", "season", "seat", "second", "section", "security",
    "seek", "seem", "sell", "send", "senior", "sense", "separate", "series", "serious", "serve", "service",
    "set", "seven", "several", "shake", "share", "shoot", "short", "shot", "should", "shoulder", "show", "side",
    "sign", "significant", "similar", "simple", "simply", "since", "sing", "single", "sister", "sit", "site",
    "situation", "six", "size", "skill", "skin", "small", "smile", "social", "society", "soldier", "some",
    "somebody", "someone", "something", "sometimes", "son", "song", "soon", "sort", "sound", "source", "south",
    "southern", "space", "speak", "special", "specific", "speech", "spend", "sport", "spring", "staff",
    "stage", "stand", "standard", "star", "start", "statement", "station", "stay", "step", "still", "stock",
    "stop", "store", "story", "strategy", "street", "strong", "structure", "student", "study", "stuff",
    "style", "subject", "success", "successful", "such", "suddenly", "suffer", "suggest", "summer", "support",
    "sure", "surface", "system", "table", "take", "talk", "task", "tax", "teach", "teacher", "team",
    "technology", "television", "ten", "tend", "term", "test", "thank", "their", "them", "themselves",
    "theory", "therefore", "thing", "think", "third", "those", "though", "thought", "thousand", "threat",
    "three", "through", "throughout", "throw", "thus", "today", "together", "tonight", "too", "top", "total",
    "tough", "toward", "town", "trade", "traditional", "training", "travel", "treat", "treatment", "tree",
    "trial", "trip", "trouble", "true", "truth", "try", "two", "type", "under", "understand", "unit", "until",
    "upon", "usually", "value", "various", "very", "victim", "view", "violence", "visit", "voice", "vote",
    "wait", "walk", "wall", "want", "war", "watch", "water", "way", "weapon", "wear", "week", "weight",
    "west", "western", "whatever", "wheel", "whether", "which", "while", "white", "whole", "whom", "whose",
    "wide", "wife", "will", "win", "wind", "window", "wish", "within", "without", "woman", "wonder", "word",
    "work", "worker", "world", "worry", "would", "write", "writer", "wrong", "yard", "yeah", "year", "yes",
    "yet", "young", "yourself", "listen", "silent", "enlist", "tinsel", "inlets", "stone", "notes", "onset",
    "tones", "seton", "angel", "glean", "angle", "elbow", "below", "night", "thing", "heart", "earth", "hater",
    "phone", "photograph", "philosophy", "knight", "knowledge", "wrist", "psychology", "queen", "quick",
    "receipt", "believe", "achieve", "ceiling", "neighbor", "weird", "friend", "station", "nation",
    "enough", "rough", "laugh", "cough", "accommodate", "definitely", "embarrass", "occurrence", "rhythm",
    // Latin-1 letters: the engine's words are single bytes.
    "caf\xe9", "na\xefve", "r\xe9sum\xe9", "\xe9l\xe8ve", "fianc\xe9" "e", "clich\xe9", "d\xe9j\xe0", "fa\xe7" "ade",
    "pi\xf1" "ata", "\xfc" "ber",
};

const char* const kCapitalised[] = {
    "Paris", "London", "Berlin", "Rome", "Madrid", "Vienna", "Prague", "Warsaw", "Athens", "Lisbon",
    "McDonald", "MacArthur", "O'Neil", "O'Brien", "DeGaulle", "LaGuardia", "iPhone", "eBay", "USA", "NATO",
    "UNESCO", "NASA", "FBI", "BBC", "Polish", "Turkey", "China", "Japan", "Mercury", "Venus", "Mars",
    "Jupiter", "Saturn", "Neptune", "Pluto", "Amazon", "Nile", "Danube", "Rhine", "Thames", "Seine", "Alps",
    "Andes", "Everest", "Atlantic", "Pacific", "Indian", "Arctic", "January", "February", "March", "April",
    "May", "June", "July", "August", "September", "October", "November", "December", "Monday", "Friday",
    "Christmas", "Easter", "Einstein", "Newton", "Darwin", "Galileo", "Shakespeare", "Mozart", "Beethoven",
    "Napoleon", "Caesar", "Cleopatra", "Washington", "Lincoln", "Jefferson", "Franklin", "Edison", "Tesla",
    "'Tis", "'TIS", "A-Level", "X-ray", "UFOs", "PhD", "McDONALD",
};

bool Ends(const std::string& w, const char* tail) {
  const std::string t = tail;
  return w.size() > t.size() && w.compare(w.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

const std::vector<std::string>& BaseWords() {
  static const std::vector<std::string> words(std::begin(kBase), std::end(kBase));
  return words;
}

std::vector<std::string> TestWordList() {
  std::set<std::string> words;
  for (const std::string& w : BaseWords()) {
    words.insert(w);
    const bool e = Ends(w, "e");
    const std::string stem = e ? w.substr(0, w.size() - 1) : w;
    words.insert(Ends(w, "s") || Ends(w, "x") || Ends(w, "ch") ? w + "es" : w + "s");
    words.insert(stem + "ed");
    words.insert(stem + "ing");
    words.insert(stem + "er");
    words.insert(w + "ly");
    words.insert(w + "ness");
    if (w.size() > 4) words.insert("re" + w);
  }
  for (const char* w : kCapitalised) words.insert(w);
  // Case variants of the same letters stand next to each other in the index.
  words.insert("polish");
  words.insert("turkey");
  words.insert("china");
  words.insert("mercury");
  return {words.begin(), words.end()};
}
