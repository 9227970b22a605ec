// What the framework prints while a call runs: the standard output (its
// numbered log), the standard error, and the log's texts line by line.
#ifndef VESKFRAME_TESTS_SUPPORT_OUTPUT_H
#define VESKFRAME_TESTS_SUPPORT_OUTPUT_H

#include <functional>
#include <string>
#include <vector>

namespace vftest {

std::string StdoutOf(const std::function<void()>& call);
std::string StderrOf(const std::function<void()>& call);
// Texts of the numbered log lines printed while running the call, the
// "% 8i> " prefix removed; a line of another form is kept as
// "(not a log line) <line>".
std::vector<std::string> LogOf(const std::function<void()>& call);
// Number of lines of text that contain needle.
int CountLines(const std::string& text, const std::string& needle);
// A pipe whose reading end gives lines as "\n" on every system (Windows's C
// runtime writes text streams with "\r\n"); false when none can be made.
bool OpenPipe(int fds[2]);
// Everything readable from the descriptor until its end.
std::string ReadToEnd(int fd);

}  // namespace vftest

#endif  // VESKFRAME_TESTS_SUPPORT_OUTPUT_H
