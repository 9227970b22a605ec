// Console log: the numbered line format at its field-width limits, literal
// texts, the three VeskCore forms, flushing per line, and fstrSys.
#include <fcntl.h>
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
// program writes anything else or exits.
TEST(LogTest, EachLineReachesAPipeImmediately) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  fflush(stdout);
  int saved = dup(STDOUT_FILENO);
  dup2(fds[1], STDOUT_FILENO);
  DebugMessages = 0;
  ASys.Debuglog("flushed");
  fcntl(fds[0], F_SETFL, O_NONBLOCK);
  char got[64] = {0};
  ssize_t n = read(fds[0], got, sizeof got - 1);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  close(fds[0]);
  close(fds[1]);
  EXPECT_STREQ(got, "       1> flushed\n") << "read returned " << n;
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
