// Console log: the numbered line format at its field-width limits, literal
// texts, the three VeskCore forms, flushing per line, and fstrSys.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "VeskFrame.h"
#include "support/Output.h"

namespace {

using vftest::StdoutOf;

struct LogGame : VeskCore {};
LogGame game;

std::string LogLine(const char* text) {
  return StdoutOf([text] { ASys.Debuglog(text); });
}

TEST(LogTest, LinesAreNumberedInAnEightCharacterField) {
  DebugMessages = 0;
  EXPECT_EQ(LogLine("text"), "       1> text\n");
  EXPECT_EQ(DebugMessages, 1);
  EXPECT_EQ(LogLine(""), "       2> \n");
  EXPECT_EQ(LogLine("     Load 5 bytes"), "       3>      Load 5 bytes\n");
  DebugMessages = 9999998;
  EXPECT_EQ(LogLine("x"), " 9999999> x\n");
  EXPECT_EQ(LogLine("y"), " 10000000> y\n");
}

TEST(LogTest, TextIsPrintedLiterally) {
  DebugMessages = 0;
  EXPECT_EQ(LogLine("Load Wave %i %s %n"), "       1> Load Wave %i %s %n\n");
  EXPECT_EQ(LogLine(nullptr), "       2> \n");
}

TEST(LogTest, PrintDebuglogAndDebugAreTheSameLine) {
  DebugMessages = 40;
  int results[3];
  const std::string captured = StdoutOf([&] {
    results[0] = game.Print("same");
    results[1] = game.Debuglog("same");
    results[2] = game.Debug("same");
  });
  EXPECT_EQ(captured, "      41> same\n      42> same\n      43> same\n");
  for (int r : results) EXPECT_EQ(r, 1);
}

// A reader at the other end of a pipe sees each line at once, before the
// program writes anything else or exits (a pipe makes standard output fully
// buffered, on Windows too). Once standard output is put back and the
// pipe's writing end closed, the reader gets what was written and the end.
TEST(LogTest, EachLineReachesAPipeImmediately) {
#ifdef __EMSCRIPTEN__
  GTEST_SKIP() << "the browser's runtime cannot put a pipe in place of standard output";
#endif
  int fds[2];
  ASSERT_TRUE(vftest::OpenPipe(fds));
  fflush(stdout);
  const int saved = dup(fileno(stdout));
  dup2(fds[1], fileno(stdout));
  DebugMessages = 0;
  ASys.Debuglog("flushed");
  dup2(saved, fileno(stdout));
  close(saved);
  close(fds[1]);
  const std::string got = vftest::ReadToEnd(fds[0]);
  close(fds[0]);
  EXPECT_EQ(got, "       1> flushed\n");
}

TEST(LogTest, FstrSysFormatsIntoItsOwnBuffer) {
  EXPECT_EQ(ASys.fstrSys("Load Wave %s to %i", "a", 3), TempstrSys);
  EXPECT_STREQ(TempstrSys, "Load Wave a to 3");
  EXPECT_STREQ(ASys.fstrSys("%s!", TempstrSys), "Load Wave a to 3!");
  std::string text(1500, 'w');
  EXPECT_EQ(ASys.fstrSys("%s", text.c_str()), text.substr(0, 1023));
  ASys.fstrSys("ok");
  for (int i = 2; i < 1023; i++) ASSERT_EQ(TempstrSys[i], 0) << i;
}

}  // namespace
