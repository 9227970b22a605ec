// Keeps docs/API.md true to the code: every public member function that
// VeskFrame.h declares for VeskCore appears in it with its exact signature,
// every signature it lists exists, and every console message that the
// framework's sources log literally is explained in it. The pages' links
// lead to pages and headings that exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/Files.h"

namespace {

using vftest::ReadFile;
using vftest::SourceDir;

// Runs of white space become one blank; blanks at both ends go.
std::string Squeeze(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string WithoutComments(const std::string& text) {
  return std::regex_replace(text, std::regex("//[^\n]*"), "");
}

// Removes every __attribute__ with its (possibly nested) parenthesised list.
std::string WithoutAttributes(std::string text) {
  const std::string keyword = "__attribute__";
  for (size_t at = text.find(keyword); at != std::string::npos; at = text.find(keyword, at)) {
    size_t end = text.find('(', at);
    for (int depth = 0; end < text.size(); end++) {
      if (text[end] == '(') depth++;
      if (text[end] == ')' && --depth == 0) break;
    }
    text.erase(at, end == std::string::npos ? std::string::npos : end + 1 - at);
  }
  return text;
}

// The member function declarations of `class name { ... };` in a header, each
// squeezed to one line without its ';' and without __attribute__((...)).
// Data members (no parenthesis) are left out.
std::vector<std::string> MemberFunctions(const std::string& header, const std::string& name) {
  std::vector<std::string> found;
  const std::string code = WithoutComments(header);
  const size_t start = code.find("class " + name + " {");
  if (start == std::string::npos) return found;
  const size_t end = code.find("\n};", start);
  std::string body = code.substr(start, end == std::string::npos ? std::string::npos : end - start);
  body = body.substr(body.find('{') + 1);
  body = std::regex_replace(body, std::regex("(public|private|protected):"), "");
  body = WithoutAttributes(body);
  std::stringstream statements(body);
  std::string statement;
  while (std::getline(statements, statement, ';')) {
    statement = Squeeze(statement);
    if (statement.find('(') != std::string::npos) found.push_back(statement);
  }
  return found;
}

// The first group of each line of a page that the pattern matches.
std::vector<std::string> LineMatches(const std::string& page, const std::regex& pattern) {
  std::vector<std::string> found;
  std::stringstream lines(page);
  std::string line;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_search(line, match, pattern)) found.push_back(match[1]);
  }
  return found;
}

// The signatures that a reference page lists: backquoted texts of the form
// "<type> <Name>(...)" at the start of a table row.
std::vector<std::string> ListedSignatures(const std::string& page) {
  const std::regex row(R"(^\| `([A-Za-z_][\w:<>\*& ]* [A-Za-z_]\w*\([^`]*\))` \|)");
  std::vector<std::string> found = LineMatches(page, row);
  std::transform(found.begin(), found.end(), found.begin(), Squeeze);
  return found;
}

// Texts that framework code logs as they stand: a string literal given to
// Debuglog directly or as the format of fstr/fstrSys, or printed with printf.
std::vector<std::string> LoggedMessages(const std::string& source) {
  std::vector<std::string> found;
  const std::regex call(
      R"rx((?:Debuglog\(\s*(?:ASys\.)?(?:fstrSys|fstr)?\(?|(?:std::)?\bprintf\()\s*"((?:[^"\\]|\\.)*)")rx");
  const std::string code = WithoutComments(source);
  for (auto it = std::sregex_iterator(code.begin(), code.end(), call); it != std::sregex_iterator();
       ++it) {
    found.push_back((*it)[1]);
  }
  return found;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += "\n  " + item;
  return out;
}

// ---- The extraction helpers themselves ----

TEST(ReferenceScanner, FindsFunctionsAcrossLinesAndDropsAttributesAndDataMembers) {
  const std::string header =
      "class Game {\n"
      " public:\n"
      "  int Score;  // points (never negative)\n"
      "  void Move(float dx,\n"
      "            float dy);\n"
      "  const char* Say(const char* format, ...) __attribute__((format(printf, 2, 3)));\n"
      "  // int Hidden();\n"
      "};\n";
  const std::vector<std::string> expected = {"void Move(float dx, float dy)",
                                             "const char* Say(const char* format, ...)"};
  EXPECT_EQ(MemberFunctions(header, "Game"), expected);
}

TEST(ReferenceScanner, ListsTableRowsThatStartWithASignature) {
  const std::string page =
      "| Signature | What it does |\n"
      "|---|---|\n"
      "| `void Rect(float x, float y, float s)` | A square. |\n"
      "| `const char* Hex(int value)` | Hexadecimal. |\n"
      "| `GameBreak` | a member, not a function |\n"
      "Text mentioning `void NotARow()` outside a table.\n";
  EXPECT_EQ(ListedSignatures(page),
            (std::vector<std::string>{"void Rect(float x, float y, float s)",
                                      "const char* Hex(int value)"}));
}

TEST(ReferenceScanner, FindsLoggedLiteralsInAllThreeForms) {
  const std::string source =
      "  Debuglog(\"Opened Window\");\n"
      "  Debuglog(fstrSys(\"     Load %i bytes\", size));\n"
      "  Debuglog(ASys.fstrSys(\"Buffer Error %i\", error));\n"
      "  std::printf(\"Image number out of bounds\");\n"
      "  Debuglog(text);  // Debuglog(\"in a comment\")\n";
  const std::vector<std::string> expected = {"Opened Window", "     Load %i bytes",
                                             "Buffer Error %i", "Image number out of bounds"};
  EXPECT_EQ(LoggedMessages(source), expected);
}

// ---- docs/API.md against the code ----

class ApiReference : public ::testing::Test {
 protected:
  void SetUp() override {
    header_ = ReadFile(SourceDir() + "/include/VeskFrame.h");
    page_ = ReadFile(SourceDir() + "/docs/API.md");
    ASSERT_FALSE(header_.empty());
    ASSERT_FALSE(page_.empty());
  }
  std::string header_;
  std::string page_;
};

TEST_F(ApiReference, ListsEveryVeskCoreFunctionWithItsSignature) {
  const std::vector<std::string> declared = MemberFunctions(header_, "VeskCore");
  // Guards the scan itself: a header the scanner cannot read would pass below.
  ASSERT_NE(std::find(declared.begin(), declared.end(), "void Begin(int num, const char* title)"),
            declared.end());
  const std::vector<std::string> listed = ListedSignatures(page_);
  const std::set<std::string> listedSet(listed.begin(), listed.end());
  std::vector<std::string> missing;
  for (const std::string& signature : declared) {
    if (listedSet.count(signature) == 0) missing.push_back(signature);
  }
  EXPECT_TRUE(missing.empty()) << "docs/API.md lacks these VeskCore functions:" << Joined(missing);
}

TEST_F(ApiReference, ListsNoSignatureThatTheHeaderLacks) {
  const std::vector<std::string> declared = MemberFunctions(header_, "VeskCore");
  const std::set<std::string> declaredSet(declared.begin(), declared.end());
  std::vector<std::string> stale;
  for (const std::string& signature : ListedSignatures(page_)) {
    if (declaredSet.count(signature) == 0) stale.push_back(signature);
  }
  EXPECT_TRUE(stale.empty()) << "docs/API.md lists functions VeskCore does not declare:"
                             << Joined(stale);
}

TEST_F(ApiReference, ExplainsEveryMessageTheFrameworkLogs) {
  std::vector<std::string> missing;
  size_t messages = 0;
  for (const char* folder : {"frame", "graphics", "audio", "input", "util"}) {
    for (const auto& entry : std::filesystem::directory_iterator(SourceDir() + "/" + folder)) {
      if (entry.path().extension() != ".cpp") continue;
      for (std::string message : LoggedMessages(ReadFile(entry.path().string()))) {
        if (message.size() >= 2 && message.compare(message.size() - 2, 2, "\\n") == 0) {
          message.resize(message.size() - 2);
        }
        // Formats of the log line itself, and texts that start with a line break.
        if (message.empty() || message[0] == '%' || message[0] == '\\') continue;
        messages++;
        if (page_.find("`" + message + "`") == std::string::npos &&
            page_.find("\"" + message + "\"") == std::string::npos) {
          missing.push_back(entry.path().filename().string() + ": \"" + message + "\"");
        }
      }
    }
  }
  EXPECT_GT(messages, 0u) << "no logged message found in the framework's sources";
  EXPECT_TRUE(missing.empty()) << "docs/API.md does not explain these messages:" << Joined(missing);
}

// ---- Links between the pages ----

// The anchor a heading gets: lower case, blanks as hyphens, punctuation
// dropped (letters beyond ASCII are kept as they are).
std::string Anchor(const std::string& heading) {
  std::string out;
  for (unsigned char c : heading) {
    if (std::isalnum(c) || c >= 0x80 || c == '-' || c == '_') {
      out += static_cast<char>(std::tolower(c));
    } else if (c == ' ') {
      out += '-';
    }
  }
  return out;
}

std::set<std::string> Anchors(const std::string& page) {
  std::set<std::string> found;
  for (const std::string& heading : LineMatches(page, std::regex(R"(^#+ +(.*)$)"))) {
    found.insert(Anchor(heading));
  }
  return found;
}

TEST(DocumentLinks, LeadToPagesAndHeadingsThatExist) {
  const std::filesystem::path root = SourceDir();
  std::vector<std::string> broken;
  size_t links = 0;
  for (const char* name : {"README.md", "ARCHITECTURE.md", "docs/API.md"}) {
    const std::filesystem::path page = root / name;
    const std::string text = ReadFile(page.string());
    ASSERT_FALSE(text.empty()) << name;
    // Markdown links to a page of the repository and/or a heading in it.
    const std::regex link(R"(\]\(([^)#\s]*)(?:#([^)\s]*))?\))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link);
         it != std::sregex_iterator(); ++it) {
      const std::string target = (*it)[1];
      const std::string anchor = (*it)[2];
      if (target.find("://") != std::string::npos) continue;
      links++;
      const std::filesystem::path file = target.empty() ? page : page.parent_path() / target;
      if (!std::filesystem::exists(file)) {
        broken.push_back(std::string(name) + ": " + target);
      } else if (!anchor.empty() && file.extension() == ".md" &&
                 Anchors(ReadFile(file.string())).count(anchor) == 0) {
        broken.push_back(std::string(name) + ": " + target + "#" + anchor);
      }
    }
    // Pages named in code quotes, as "see `docs/x.md`".
    const std::regex named(R"(`([\w./-]+\.md)`)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), named);
         it != std::sregex_iterator(); ++it) {
      links++;
      if (!std::filesystem::exists(root / (*it)[1].str())) {
        broken.push_back(std::string(name) + ": `" + (*it)[1].str() + "`");
      }
    }
  }
  EXPECT_GT(links, 0u) << "no link found in the pages";
  EXPECT_TRUE(broken.empty()) << "links to pages or headings that do not exist:" << Joined(broken);
}

}  // namespace
